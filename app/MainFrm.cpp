#include "app/MainFrm.h"

#include "image/QOV_V2Doc.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"

namespace qov {

bool CMainFrame::PreCreateWindow() {
  return CFrameWnd::PreCreateWindow();
}

int CMainFrame::OnCreate() {
  if (CFrameWnd::OnCreate() == -1)
    return -1;
  return 0;
}

bool CMainFrame::HasPicture() const {
  const auto* doc = dynamic_cast<const CQOV_V2Doc*>(GetActiveDocument());
  if (doc && doc->m_hDib)
    return true;
  AfxMessageBox(text::kNothingToSave, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void CMainFrame::OnFileSave() {
  if (HasPicture())
    CFrameWnd::OnFileSave();
}

void CMainFrame::OnFileSaveAs() {
  if (HasPicture())
    CFrameWnd::OnFileSaveAs();
}

}  // namespace qov
