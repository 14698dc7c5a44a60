// The view: drawing the visible part of the picture at the display scale.

#include <cstdint>

#include "image/DibBlock.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// Narrows one axis of the source (picture pixels) and destination (logical
// units, s per pixel) to the whole picture pixels that touch the visible
// stretch [pos, pos + extent). A partly visible enlarged pixel is drawn
// whole, so the edges of the window never show a cut square.
void ClipToVisible(std::int64_t pos, std::int64_t extent, std::int64_t s, std::int64_t& srcLow,
                   std::int64_t& srcHigh, std::int64_t& dstLow, std::int64_t& dstHigh) {
  if (pos > dstLow) {
    srcLow = pos / s;
    dstLow = srcLow * s;
  }
  if (dstHigh > pos + extent) {
    srcHigh = (s + extent + pos - 1) / s;
    dstHigh = srcHigh * s;
  }
}

}  // namespace

void CQOV_V2View::OnDraw(CDC* pDC) {
  const CQOV_V2Doc* doc = GetDocument();
  if (!doc->m_hDib)
    return;
  std::int64_t w = 0;
  std::int64_t h = 0;
  {
    const CGlobalLock dib(doc->m_hDib);
    w = DibWidth(dib.get());
    h = DibHeight(dib.get());
  }
  const CPoint pos = GetScrollPosition();
  const CRect client = GetClientRect();
  const std::int64_t s = m_nScale;

  // The device origin is already shifted by the scroll position, so the
  // destination is in the coordinates of the whole enlarged picture.
  CRect src{0, 0, w, h};
  CRect dst{0, 0, w * s, h * s};
  ClipToVisible(pos.x, client.Width(), s, src.left, src.right, dst.left, dst.right);
  ClipToVisible(pos.y, client.Height(), s, src.top, src.bottom, dst.top, dst.bottom);
  PaintDib(pDC, dst, doc->m_hDib, src);
}

}  // namespace qov
