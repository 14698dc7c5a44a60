// The reduced picture kept between repaints.

#include "view/ReducedCache.h"

#include <algorithm>

#include "image/DibBlock.h"
#include "view/ReducedDib.h"

namespace qov {
namespace {

bool Covers(const CRect& outer, const CRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return (a + b - 1) / b;
}

}  // namespace

int CReducedCache::Paint(CDC* dc, const CQOV_V2Doc& doc, CSize picture, const CRect& visible,
                         int factor, std::int64_t allowance) {
  const bool current = m_hReduced && m_nFactor == factor && m_nVersion == doc.GetPixelsVersion();
  if (!current || !Covers(m_rectHeld, visible)) {
    const CRect whole{0, 0, CeilDiv(picture.cx, factor), CeilDiv(picture.cy, factor)};
    Make(doc, picture, whole.Width() * whole.Height() <= allowance ? whole : visible, factor);
  }
  if (!m_hReduced)
    return 0;
  const CRect src{visible.left - m_rectHeld.left, visible.top - m_rectHeld.top,
                  visible.right - m_rectHeld.left, visible.bottom - m_rectHeld.top};
  return PaintDib(dc, visible, m_hReduced.get(), src);
}

void CReducedCache::Drop() {
  m_hReduced = CGlobalOwner();
}

// The old pixels go before the new ones are made, so that the two are
// never held at once.
void CReducedCache::Make(const CQOV_V2Doc& doc, CSize picture, const CRect& rect, int factor) {
  Drop();
  const std::int64_t d = factor;
  const CRect src{rect.left * d, rect.top * d, std::min(rect.right * d, picture.cx),
                  std::min(rect.bottom * d, picture.cy)};
  m_hReduced = ReduceDib(doc.m_hDib, src, factor);
  m_rectHeld = rect;
  m_nFactor = factor;
  m_nVersion = doc.GetPixelsVersion();
}

}  // namespace qov
