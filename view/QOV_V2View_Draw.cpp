// The view: drawing the visible part of the picture at the display scale,
// and the whole picture on a printed page.

#include <algorithm>
#include <cstdint>

#include "image/DibBlock.h"
#include "image/DibResolution.h"
#include "view/PrintLayout.h"
#include "view/QOV_V2View.h"
#include "view/ReducedDib.h"

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

CSize PictureSize(HGLOBAL h) {
  const CGlobalLock dib(h);
  return {DibWidth(dib.get()), DibHeight(dib.get())};
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return (a + b - 1) / b;
}

}  // namespace

void CQOV_V2View::OnDraw(CDC* pDC) {
  const CQOV_V2Doc* doc = GetDocument();
  if (!doc->m_hDib)
    return;
  const CSize size = PictureSize(doc->m_hDib);
  if (m_nReduction > 1) {
    DrawReduced(pDC, size);
    DrawVectorPreview(pDC, size);
    return;
  }
  const CPoint pos = GetScrollPosition();
  const CRect client = GetClientRect();
  const std::int64_t s = m_nScale;

  // The device origin is already shifted by the scroll position, so the
  // destination is in the coordinates of the whole enlarged picture.
  CRect src{0, 0, size.cx, size.cy};
  CRect dst{0, 0, size.cx * s, size.cy * s};
  ClipToVisible(pos.x, client.Width(), s, src.left, src.right, dst.left, dst.right);
  ClipToVisible(pos.y, client.Height(), s, src.top, src.bottom, dst.top, dst.bottom);
  PaintDib(pDC, dst, doc->m_hDib, src);
  DrawVectorPreview(pDC, size);
}

// Each device pixel stands for a whole block of picture pixels. The cache
// keeps the whole reduced picture when it is no larger than the window
// (always so when fitted), else the visible part: never more than one
// repaint makes anyway.
void CQOV_V2View::DrawReduced(CDC* pDC, CSize size) {
  const CPoint pos = GetScrollPosition();
  const CRect client = GetClientRect();
  const CRect dst{pos.x, pos.y, std::min(pos.x + client.Width(), DeviceExtent(size.cx)),
                  std::min(pos.y + client.Height(), DeviceExtent(size.cy))};
  if (dst.Width() <= 0 || dst.Height() <= 0)
    return;
  m_reducedCache.Paint(pDC, *GetDocument(), size, dst, m_nReduction,
                       client.Width() * client.Height());
}

// The whole picture, at its true size or fitted to the page, whatever the
// window shows. A picture printed smaller than its pixels is reduced first,
// as on the screen, so that its thin lines reach the paper.
void CQOV_V2View::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  const CQOV_V2Doc* doc = GetDocument();
  if (!doc->m_hDib)
    return;
  const CSize size = PictureSize(doc->m_hDib);
  const CRect dst = PicturePageRect(pInfo->m_rectDraw, pInfo->m_sizeLogPixels, size,
                                    GetDibResolution(doc->m_hDib));
  if (dst.Width() <= 0 || dst.Height() <= 0)
    return;
  const CRect src{0, 0, size.cx, size.cy};
  const std::int64_t factor =
      std::max(CeilDiv(size.cx, dst.Width()), CeilDiv(size.cy, dst.Height()));
  if (factor > 1)
    PaintDibReduced(pDC, dst, doc->m_hDib, src, static_cast<int>(factor));
  else
    PaintDib(pDC, dst, doc->m_hDib, src);
}

}  // namespace qov
