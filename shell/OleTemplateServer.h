#pragma once
// The class factory that makes the documents of a document template for
// automation clients.

#include <memory>
#include <string>

#include "shell/OleObjectFactory.h"

namespace qov {

class CSingleDocTemplate;

// The kinds of server an application registers as; this one is an
// automation (dispatch) object and nothing else.
enum OLE_APPTYPE { OAT_DISPATCH_OBJECT };

class COleTemplateServer : public COleObjectFactory {
 public:
  COleTemplateServer() = default;

  // Clients asking for `clsid` get documents of `tmpl`. With
  // `multiInstance`, one object per program: after its first object the
  // factory is revoked, so that the next client starts a program of its own.
  void ConnectTemplate(const CLSID& clsid, CSingleDocTemplate& tmpl, bool multiInstance);

  using COleObjectFactory::UpdateRegistry;
  // The registry entries of the template's documents as objects of kind
  // `appType`: the record that starts the program for a client's request.
  bool UpdateRegistry(OLE_APPTYPE appType, std::string* reason = nullptr);

 protected:
  // A new document, as File New makes one. It has no frame and no view:
  // nobody can see it or give it commands.
  std::unique_ptr<CCmdTarget> OnCreateObject() override;

 private:
  CSingleDocTemplate* m_pDocTemplate = nullptr;
};

}  // namespace qov
