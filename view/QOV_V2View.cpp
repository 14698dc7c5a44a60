// The view: construction, message map, display scale and mouse.

#include "view/QOV_V2View.h"

#include <array>
#include <span>

#include "image/DibBlock.h"
#include "res/Resource.h"

namespace qov {
namespace {

using Entry = MessageMapEntry<CQOV_V2View>;
using View = CQOV_V2View;

// Every command of the tools and scale menus, and the Edit commands.
constexpr std::array kMessageMap{
    // Edit.
    OnCommand<View>(ID_EDIT_COPY, &View::OnEditCopy),
    OnUpdateCommandUI<View>(ID_EDIT_COPY, &View::OnUpdateEditCopy),
    OnCommand<View>(ID_EDIT_PASTE, &View::OnEditPaste),
    OnCommand<View>(ID_EDIT_UNDO, &View::OnEditUndo),
    // Tools.
    OnCommand<View>(ID_BINARIZE, &View::OnBinarize),
    OnCommand<View>(ID_BINARIZE_HIDDEN, &View::OnBinarize),
    OnCommand<View>(ID_DITHER1, &View::OnDither1),
    OnCommand<View>(ID_DITHER2, &View::OnDither2),
    OnCommand<View>(ID_ERROR_DIFFUSION, &View::OnErrorDiffusion),
    OnCommand<View>(ID_OUTLINE, &View::OnOutline),
    OnUpdateCommandUI<View>(ID_OUTLINE, &View::OnUpdateToolCommands),
    OnCommand<View>(ID_DOTS_TO_CROSSES, &View::OnDotsToCrosses),
    OnUpdateCommandUI<View>(ID_DOTS_TO_CROSSES, &View::OnUpdateToolCommands),
    OnCommand<View>(ID_DOTS_TO_LINES, &View::OnDotsToLines),
    OnUpdateCommandUI<View>(ID_DOTS_TO_LINES, &View::OnUpdateToolCommands),
    OnCommand<View>(ID_AUTO_TRACE, &View::OnAutoTrace),
    OnCommand<View>(ID_SAVE_VECTORSCRIPT, &View::OnSaveVectorScript),
    OnCommand<View>(ID_VECTORIZE, &View::OnVectorize),
    // Scale.
    OnCommand<View>(ID_SCALE_1, &View::OnScale1),
    OnUpdateCommandUI<View>(ID_SCALE_1, &View::OnUpdateScale1),
    OnCommand<View>(ID_SCALE_2, &View::OnScale2),
    OnUpdateCommandUI<View>(ID_SCALE_2, &View::OnUpdateScale2),
    OnCommand<View>(ID_SCALE_4, &View::OnScale4),
    OnUpdateCommandUI<View>(ID_SCALE_4, &View::OnUpdateScale4),
    OnCommand<View>(ID_SCALE_8, &View::OnScale8),
    OnUpdateCommandUI<View>(ID_SCALE_8, &View::OnUpdateScale8),
};

}  // namespace

CQOV_V2Doc* CQOV_V2View::GetDocument() const {
  return static_cast<CQOV_V2Doc*>(CScrollView::GetDocument());
}

bool CQOV_V2View::OnViewCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  return DispatchMessageMap<View>(*this, std::span<const Entry>(kMessageMap), nID, pCmdUI);
}

void CQOV_V2View::OnInitialUpdate() {
  CScrollView::OnInitialUpdate();
  const CQOV_V2Doc* doc = GetDocument();
  if (!doc->m_hDib)
    return;
  const CGlobalLock dib(doc->m_hDib);
  SetScrollSizesForImage(DibWidth(dib.get()), DibHeight(dib.get()));
}

// In 64 bits, so that a large picture at ×8 does not wrap; the scroll view
// limits the range to what a scroll bar can hold.
void CQOV_V2View::SetScrollSizesForImage(std::int64_t width, std::int64_t height) {
  SetScrollSizes(MM_TEXT, {width * m_nScale, height * m_nScale});
}

// The standard preparation; the print dialog is the backend's part of
// printing.
bool CQOV_V2View::OnPreparePrinting(CPrintInfo* pInfo) {
  return CScrollView::OnPreparePrinting(pInfo);
}

void CQOV_V2View::SetScale(int n) {
  const CPoint pos = GetScrollPosition();
  // Multiplying first keeps the same picture point at the top-left corner.
  const CPoint newPos{pos.x * n / m_nScale, pos.y * n / m_nScale};
  m_nScale = n;
  // Limited to the range still in force, the old scale's; OnInitialUpdate
  // then sets the new range.
  ScrollToPosition(newPos);
  OnInitialUpdate();
}

void CQOV_V2View::OnScale1() {
  SetScale(1);
}
void CQOV_V2View::OnScale2() {
  SetScale(2);
}
void CQOV_V2View::OnScale4() {
  SetScale(4);
}
void CQOV_V2View::OnScale8() {
  SetScale(8);
}

void CQOV_V2View::OnUpdateScale1(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_nScale == 1 ? 1 : 0);
}
void CQOV_V2View::OnUpdateScale2(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_nScale == 2 ? 1 : 0);
}
void CQOV_V2View::OnUpdateScale4(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_nScale == 4 ? 1 : 0);
}
void CQOV_V2View::OnUpdateScale8(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_nScale == 8 ? 1 : 0);
}

void CQOV_V2View::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
  SetCapture();
}

void CQOV_V2View::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
  ReleaseCapture();
}

void CQOV_V2View::OnMouseMove(UINT /*flags*/, CPoint /*point*/) {}

// Loads the pixel under the pointer into the document's working colour.
// The pointer on the top picture row gives y = 0, which loads nothing.
void CQOV_V2View::OnRButtonDown(UINT /*flags*/, CPoint point) {
  const CPoint pos = GetScrollPosition();
  GetDocument()->LoadPixel((point.x + pos.x) / m_nScale, (point.y + pos.y) / m_nScale);
}

}  // namespace qov
