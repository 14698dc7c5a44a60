#include "shell/DocTemplate.h"

#include <stdexcept>
#include <vector>

#include "platform/Document.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"
#include "platform/Progress.h"
#include "platform/ScopeExit.h"
#include "platform/View.h"
#include "platform/WaitCursor.h"
#include "res/Strings.h"
#include "shell/DocManager.h"
#include "shell/FrameWnd.h"
#include "shell/PageDlg.h"
#include "shell/WinApp.h"

namespace qov {

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocFactory newDoc, FrameFactory newFrame,
                                       ViewFactory newView)
    : m_nIDResource(resourceId),
      m_newDoc(std::move(newDoc)),
      m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

std::string CSingleDocTemplate::GetDocString(DocStringIndex index) const {
  const std::string& all = LoadString(m_nIDResource);
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = all.find('\n', start);
    if (start == std::string::npos)
      return {};
    ++start;
  }
  const std::size_t end = all.find('\n', start);
  return all.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::unique_ptr<CDocument> CSingleDocTemplate::CreateNewDocument() const {
  return m_newDoc();
}

void CSingleDocTemplate::SetDefaultTitle(CDocument& doc) const {
  const std::string name = GetDocString(docName);
  doc.SetTitle(name.empty() ? text::kUntitled : name);
}

void CSingleDocTemplate::CreateFrameAndView() {
  auto frame = m_newFrame();
  if (!frame || !frame->LoadFrame(m_nIDResource, this)) {
    throw std::runtime_error("the main frame could not be created");
  }
  frame->CreateView(m_newView(), m_pOnlyDoc.get());
  m_pFrame = std::move(frame);
  if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd)
    app->m_pMainWnd = m_pFrame.get();
}

void CSingleDocTemplate::SetPageHandlers(PageLister listPages, PageSetter setPage) {
  m_listPages = std::move(listPages);
  m_setPage = std::move(setPage);
}

std::optional<int> CSingleDocTemplate::AskPage(const std::string& path) const {
  std::vector<CSize> pages = m_listPages ? m_listPages(path) : std::vector<CSize>{};
  if (pages.size() < 2)
    return 0;
  CPageDlg dlg(std::move(pages));
  if (dlg.DoModal() != IDOK)
    return std::nullopt;
  return dlg.m_nPage;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::optional<std::string>& path, int page) {
  m_bOpenFailed = false;
  if (path && page == 0) {
    const std::optional<int> chosen = AskPage(*path);
    if (!chosen)
      return nullptr;
    page = *chosen;
  }
  if (m_pOnlyDoc) {
    if (!SaveModified(*m_pOnlyDoc))
      return nullptr;
  } else {
    m_pOnlyDoc = m_newDoc();
  }
  if (!m_pFrame)
    CreateFrameAndView();

  CDocument& doc = *m_pOnlyDoc;
  if (!path) {
    if (!doc.OnNewDocument())
      return nullptr;
    // After the document's own reset, which clears the title too.
    SetDefaultTitle(doc);
  } else if (!OpenInto(doc, *path, page)) {
    return nullptr;
  }
  m_pFrame->InitialUpdateFrame(&doc);
  return &doc;
}

bool CSingleDocTemplate::OpenInto(CDocument& doc, const std::string& path, int page) {
  const bool wasModified = doc.IsModified();
  if (m_setPage)
    m_setPage(doc, page);
  bool opened = false;
  {
    const CCommandProgress progress;
    CWaitCursor wait;
    doc.SetModifiedFlag(false);
    // An open the user stops keeps the picture, and so its modified state.
    const ScopeExit keepState([&] {
      if (!opened)
        doc.SetModifiedFlag(wasModified);
    });
    opened = doc.OnOpenDocument(path);
  }
  if (!opened) {
    m_bOpenFailed = true;
    ReportOpenFailure(doc, path);
    return false;
  }
  doc.SetPathName(path);
  if (CWinApp* app = AfxGetApp())
    app->AddToRecentFileList(path, page);
  if (!doc.GetOpenWarningMessage().empty())
    AfxMessageBox(doc.GetOpenWarningMessage(), MB_ICONEXCLAMATION);
  return true;
}

}  // namespace qov
