#include "shell/FrameWnd.h"

#include <array>
#include <new>
#include <stdexcept>

#include "platform/Document.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"
#include "platform/ScopeExit.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "shell/DocManager.h"
#include "shell/DocTemplate.h"
#include "shell/WinApp.h"

namespace qov {

namespace {

const std::array<MessageMapEntry<CFrameWnd>, 7> kMessageMap{{
    OnCommand(ID_FILE_PRINT, &CFrameWnd::OnFilePrint),
    OnCommand(ID_FILE_PRINT_DIRECT, &CFrameWnd::OnFilePrintDirect),
    OnCommand(ID_FILE_PRINT_PREVIEW, &CFrameWnd::OnFilePrintPreview),
    OnCommand(ID_FILE_SAVE, &CFrameWnd::OnFileSave),
    OnCommand(ID_FILE_SAVE_AS, &CFrameWnd::OnFileSaveAs),
    OnUpdateCommandUI(ID_NEXT_PANE, &CFrameWnd::OnUpdateNextPane),
    OnUpdateCommandUI(ID_PREV_PANE, &CFrameWnd::OnUpdateNextPane),
}};

}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
  if (m_pView)
    m_pView->SetHost(nullptr);
  m_pViewHost.reset();
}

bool CFrameWnd::LoadFrame(UINT id, const CSingleDocTemplate* tmpl) {
  m_nIDResource = id;
  m_pTemplate = tmpl;
  if (!PreCreateWindow())
    return false;
  m_pHost = AppBackend().CreateFrameHost(*this);
  if (OnCreate() == -1) {
    m_pHost.reset();
    return false;
  }
  return true;
}

void CFrameWnd::CreateView(std::unique_ptr<CView> view, CDocument* doc) {
  if (!m_pHost)
    throw std::logic_error("the frame has no window");
  m_pView = std::move(view);
  m_pView->SetDocument(doc);
  m_pViewHost = AppBackend().CreateViewHost(*m_pView, *m_pHost);
  m_pView->SetHost(m_pViewHost.get());
}

void CFrameWnd::InitialUpdateFrame(CDocument* /*doc*/) {
  if (m_pView)
    m_pView->OnInitialUpdate();
  OnUpdateFrameTitle();
}

CDocument* CFrameWnd::GetActiveDocument() const {
  return m_pView ? m_pView->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle() {
  if (!m_pHost)
    return;
  std::string title = m_pTemplate ? m_pTemplate->GetDocString(CSingleDocTemplate::windowTitle)
                                  : std::string(text::kAppName);
  if (const CDocument* doc = GetActiveDocument()) {
    const std::string& docTitle = doc->GetTitle();
    title = (docTitle.empty() ? std::string(text::kUntitled) : docTitle) + " - " + title;
  }
  if (m_pHost->GetWindowText() != title)
    m_pHost->SetWindowText(title);
}

std::string CFrameWnd::GetWindowText() const {
  return m_pHost ? m_pHost->GetWindowText() : "";
}

void CFrameWnd::ShowWindow() {
  if (m_pHost)
    m_pHost->ShowWindow();
}

void CFrameWnd::UpdateWindow() {
  if (m_pHost)
    m_pHost->UpdateWindow();
}

void CFrameWnd::DragAcceptFiles(bool accept) {
  if (m_pHost)
    m_pHost->DragAcceptFiles(accept);
}

bool CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  if (m_pView && m_pView->OnCmdMsg(nID, pCmdUI))
    return true;
  if (OnFrameCmdMsg(nID, pCmdUI))
    return true;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, pCmdUI);
}

CCommandResult CFrameWnd::TakeCommandResult() {
  return m_pView ? m_pView->TakeCommandResult() : CCommandResult();
}

bool CFrameWnd::OnFrameCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  return DispatchMessageMap<CFrameWnd>(*this, kMessageMap, nID, pCmdUI);
}

template <class F>
bool CFrameWnd::RunBusy(F&& action) {
  bool done = false;
  {
    ++m_nBusy;
    const ScopeExit busy([this] { --m_nBusy; });
    done = action();
  }
  OnUpdateFrameTitle();
  if (!IsBusy())
    OpenPendingDrops();
  return done;
}

bool CFrameWnd::RunCommand(UINT nID) {
  return RunBusy([&] { return ShowCommandResult(ExecuteCommand(*this, nID)); });
}

void CFrameWnd::OnDropFiles(std::vector<std::string> paths) {
  m_pendingDrops.insert(m_pendingDrops.end(), paths.begin(), paths.end());
  if (!IsBusy())
    OpenPendingDrops();
}

void CFrameWnd::OpenPendingDrops() {
  while (!m_pendingDrops.empty()) {
    const std::string path = m_pendingDrops.front();
    m_pendingDrops.erase(m_pendingDrops.begin());
    RunBusy([&] {
      // Opening is not a command, but it is guarded like one: nothing it
      // lets escape may unwind into the toolkit's event loop.
      try {
        CWinApp* app = AfxGetApp();
        return app && app->OpenDocumentFile(path) != nullptr;
      } catch (const std::bad_alloc&) {
        AfxMessageBox(text::kOutOfMemory, MB_OK | MB_ICONEXCLAMATION);
      } catch (...) {
        AfxMessageBox(text::kCommandFailed, MB_OK | MB_ICONEXCLAMATION);
      }
      return false;
    });
  }
}

bool CFrameWnd::OnClose() {
  return RunBusy([&] {
    try {
      if (CDocument* doc = GetActiveDocument(); doc && !SaveModified(*doc))
        return false;
    } catch (...) {
      AfxMessageBox(text::kCommandFailed, MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    m_pendingDrops.clear();
    AppBackend().Quit(0);
    return true;
  });
}

PrintResult CFrameWnd::PrintActiveView(bool direct, bool preview, const std::string& printerName) {
  if (!m_pView)
    return PrintResult::Failed;
  CPrintInfo info;
  info.m_bDirect = direct;
  info.m_bPreview = preview;
  if (!m_pView->OnPreparePrinting(&info))
    return PrintResult::Cancelled;
  std::string reason;
  const PrintResult result = AppBackend().PrintView(*m_pView, info, printerName, &reason);
  if (result == PrintResult::Failed) {
    AfxMessageBox(FormatString(text::kFailedToPrint, reason), MB_OK | MB_ICONEXCLAMATION);
  }
  return result;
}

void CFrameWnd::OnFilePrint() {
  PrintActiveView(false, false);
}
void CFrameWnd::OnFilePrintDirect() {
  PrintActiveView(true, false);
}
void CFrameWnd::OnFilePrintPreview() {
  PrintActiveView(false, true);
}

void CFrameWnd::OnFileSave() {
  if (CDocument* doc = GetActiveDocument())
    DoFileSave(*doc);
}

void CFrameWnd::OnFileSaveAs() {
  if (CDocument* doc = GetActiveDocument())
    DoSave(*doc, nullptr);
}

// There are no panes to move between: one view fills the frame.
void CFrameWnd::OnUpdateNextPane(CCmdUI* pCmdUI) {
  pCmdUI->Enable(false);
}

}  // namespace qov
