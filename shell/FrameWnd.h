#pragma once
// The main frame: its window (the backend's IFrameHost, with the menu bar and
// accelerators of the frame's resource id), its one view, the caption
// "document - title", dropped files, and the command route
// view → document → frame → application.

#include <memory>
#include <string>
#include <vector>

#include "platform/Wnd.h"
#include "shell/AppBackend.h"

namespace qov {

class CDocument;
class CSingleDocTemplate;

class CFrameWnd : public CWnd {
 public:
  CFrameWnd();
  ~CFrameWnd() override;
  CFrameWnd(const CFrameWnd&) = delete;
  CFrameWnd& operator=(const CFrameWnd&) = delete;

  // Creation hooks. Base PreCreateWindow: true. Base OnCreate: 0 (the window
  // has been made by the backend); −1 fails the creation.
  virtual bool PreCreateWindow() { return true; }
  virtual int OnCreate() { return 0; }
  // Makes the window for resource `id` (menu, accelerators, icon); false
  // when a creation hook refused.
  bool LoadFrame(UINT id, const CSingleDocTemplate* tmpl);
  // The one view, shown in the window and attached to `doc`.
  void CreateView(std::unique_ptr<CView> view, CDocument* doc);
  // The view's initial update and the caption.
  void InitialUpdateFrame(CDocument* doc);

  UINT GetResourceId() const { return m_nIDResource; }
  IFrameHost* GetHost() const { return m_pHost.get(); }
  CView* GetActiveView() const { return m_pView.get(); }
  CDocument* GetActiveDocument() const;

  // Sets the caption: the document's title (or "無題"), " - ", the window
  // title of the template string.
  virtual void OnUpdateFrameTitle();
  std::string GetWindowText() const;

  void ShowWindow();
  void UpdateWindow();
  void DragAcceptFiles(bool accept = true);

  bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
  // What the view's last command came to (the frame's own commands report
  // in their own message boxes).
  CCommandResult TakeCommandResult() override;

  // A command from the menu or an accelerator, through the command
  // boundary; a failure's message is shown. True when the command was done.
  bool RunCommand(UINT nID);
  // Files dropped on the window: opened one after another, or, while a
  // command or modal dialog runs, once it has ended.
  void OnDropFiles(std::vector<std::string> paths);
  // The window's close button and Exit: asks to save, then ends the loop.
  // False when the user cancelled.
  virtual bool OnClose();
  // True while a command, a drop or a close is being handled.
  bool IsBusy() const { return m_nBusy > 0; }

  // Print, direct print and print preview of the active view.
  PrintResult PrintActiveView(bool direct, bool preview, const std::string& printerName = {});

  void OnFilePrint();
  void OnFilePrintDirect();
  void OnFilePrintPreview();
  virtual void OnFileSave();
  virtual void OnFileSaveAs();
  void OnUpdateNextPane(CCmdUI* pCmdUI);

 protected:
  // The frame's own message map; derived frames extend it.
  virtual bool OnFrameCmdMsg(UINT nID, CCmdUI* pCmdUI);

 private:
  // Runs `action` as one unit of work: nothing it lets escape goes past
  // here, and dropped files that arrived meanwhile are opened after it.
  template <class F>
  bool RunBusy(F&& action);
  void OpenPendingDrops();

  UINT m_nIDResource = 0;
  const CSingleDocTemplate* m_pTemplate = nullptr;
  std::unique_ptr<IFrameHost> m_pHost;
  std::unique_ptr<CView> m_pView;
  // Declared last: the view's window goes before the view and the frame's.
  std::unique_ptr<IViewHost> m_pViewHost;
  int m_nBusy = 0;
  std::vector<std::string> m_pendingDrops;
};

}  // namespace qov
