// The document base.

#include "platform/Document.h"

#include <algorithm>

#include "platform/File.h"
#include "platform/FrameworkStrings.h"
#include "platform/View.h"

namespace qov {

// Kept absolute: the path outlives the current folder (the recent files).
void CDocument::SetPathName(const std::string& path) {
  m_strPathName = AbsolutePath(path);
  const std::size_t slash = m_strPathName.find_last_of('/');
  SetTitle(slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1));
}

void CDocument::SetTitle(const std::string& title) {
  m_strTitle = title;
}

void CDocument::AddView(CView* view) {
  if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
    m_views.push_back(view);
  }
}

void CDocument::RemoveView(CView* view) {
  std::erase(m_views, view);
}

void CDocument::UpdateAllViews(CView* sender) {
  // A copy: a view may attach or detach itself while it updates.
  const std::vector<CView*> views = m_views;
  for (CView* view : views) {
    if (view != sender)
      view->OnUpdate(sender);
  }
}

bool CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(false);
  m_strPathName.clear();
  m_strTitle.clear();
  ClearFailure();
  return true;
}

void CDocument::SetFailure(std::string message, std::string reason) {
  m_strFailureMessage = std::move(message);
  m_strFailureReason = std::move(reason);
}

void CDocument::SetFailure(const CFileException& e) {
  SetFailure(FileErrorMessage(e), FileErrorReason(e));
}

bool CDocument::OnOpenDocument(const std::string& path) {
  try {
    CFile file(path, CFile::modeRead);
  } catch (const CFileException& e) {
    SetFailure(e);
    return false;
  }
  ClearFailure();
  return true;
}

bool CDocument::OnSaveDocument(const std::string& /*path*/) {
  SetFailure(text::kNothingToSave, "this document has nothing to save");
  return false;
}

}  // namespace qov
