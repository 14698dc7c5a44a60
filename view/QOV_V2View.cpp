// The view: construction, message map, scroll sizes and mouse.

#include "view/QOV_V2View.h"

#include <array>
#include <span>

#include "image/DibBlock.h"
#include "res/Resource.h"

namespace qov {
namespace {

using Entry = MessageMapEntry<CQOV_V2View>;
using View = CQOV_V2View;

// Every command of the tools and scale menus, the Edit commands and the
// scrolling keys.
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
    OnCommand<View>(ID_SCALE_FIT, &View::OnScaleFit),
    OnCommand<View>(ID_SCALE_HALF, &View::OnScaleHalf),
    OnUpdateCommandUI<View>(ID_SCALE_HALF, &View::OnUpdateScaleHalf),
    OnCommand<View>(ID_SCALE_QUARTER, &View::OnScaleQuarter),
    OnUpdateCommandUI<View>(ID_SCALE_QUARTER, &View::OnUpdateScaleQuarter),
    OnCommand<View>(ID_SCALE_EIGHTH, &View::OnScaleEighth),
    OnUpdateCommandUI<View>(ID_SCALE_EIGHTH, &View::OnUpdateScaleEighth),
    OnCommand<View>(ID_ZOOM_IN, &View::OnZoomIn),
    OnCommand<View>(ID_ZOOM_OUT, &View::OnZoomOut),
    // Scrolling keys.
    OnCommand<View>(ID_SCROLL_HOME, &View::OnScrollHome),
    OnCommand<View>(ID_SCROLL_END, &View::OnScrollEnd),
    OnCommand<View>(ID_SCROLL_TOP_LEFT, &View::OnScrollTopLeft),
    OnCommand<View>(ID_SCROLL_BOTTOM_RIGHT, &View::OnScrollBottomRight),
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
  SetScrollSizes(MM_TEXT, {DeviceExtent(width), DeviceExtent(height)});
}

// Below ×1 a last, partial block of pixels still takes a device pixel.
std::int64_t CQOV_V2View::DeviceExtent(std::int64_t pixels) const {
  if (m_nReduction > 1)
    return (pixels + m_nReduction - 1) / m_nReduction;
  return pixels * m_nScale;
}

// The standard preparation; the print dialog is the backend's part of
// printing.
bool CQOV_V2View::OnPreparePrinting(CPrintInfo* pInfo) {
  return CScrollView::OnPreparePrinting(pInfo);
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
// Below ×1 it is the first pixel of the block under the pointer.
void CQOV_V2View::OnRButtonDown(UINT /*flags*/, CPoint point) {
  const CPoint pos = GetScrollPosition();
  GetDocument()->LoadPixel((point.x + pos.x) * m_nReduction / m_nScale,
                           (point.y + pos.y) * m_nReduction / m_nScale);
}

}  // namespace qov
