#pragma once
// The application object: start-up, the document template that binds the
// document, the main frame and the view, and the About command.

#include "shell/OleTemplateServer.h"
#include "shell/WinApp.h"

namespace qov {

class CQOV_V2App : public CWinApp {
 public:
  CQOV_V2App();

  bool InitInstance() override;
  void OnAppAbout();

  bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

  // Connects the document template to the automation class factory.
  COleTemplateServer m_server;
};

}  // namespace qov
