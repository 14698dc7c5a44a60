#include "shell/OleTemplateServer.h"

#include "platform/Document.h"
#include "shell/DocTemplate.h"

namespace qov {

void COleTemplateServer::ConnectTemplate(const CLSID& clsid, CSingleDocTemplate& tmpl,
                                         bool multiInstance) {
  SetClassID(clsid, multiInstance);
  m_pDocTemplate = &tmpl;
}

bool COleTemplateServer::UpdateRegistry(OLE_APPTYPE /*appType*/, std::string* reason) {
  return UpdateRegistry(reason);
}

std::unique_ptr<CCmdTarget> COleTemplateServer::OnCreateObject() {
  if (!m_pDocTemplate)
    return nullptr;
  std::unique_ptr<CDocument> doc = m_pDocTemplate->CreateNewDocument();
  if (!doc || !doc->OnNewDocument())
    return nullptr;
  m_pDocTemplate->SetDefaultTitle(*doc);
  return doc;
}

}  // namespace qov
