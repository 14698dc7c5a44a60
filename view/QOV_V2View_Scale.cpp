// The view: the display scale, from ×8 down to a whole-number reduction, and
// the scrolling keys.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "image/DibBlock.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

constexpr int kMaxScale = 8;
// Zooming out stops here; fitting a larger picture may reduce it further.
constexpr int kMaxZoomReduction = 64;

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return (a + b - 1) / b;
}

}  // namespace

void CQOV_V2View::SetScale(int n) {
  SetDisplayScale(n, 1);
}

// Device units change by (scale / reduction) / (m_nScale / m_nReduction),
// multiplying first. The new range is set before the view scrolls, so the
// position is limited to it.
void CQOV_V2View::SetDisplayScale(int scale, int reduction) {
  const CPoint pos = GetScrollPosition();
  const CRect client = GetClientRect();
  const CSize half{client.Width() / 2, client.Height() / 2};
  const std::int64_t num = std::int64_t{scale} * m_nReduction;
  const std::int64_t den = std::int64_t{m_nScale} * reduction;
  const CPoint centre{(pos.x + half.cx) * num / den, (pos.y + half.cy) * num / den};
  if (reduction != m_nReduction)
    m_reducedCache.Drop();
  m_nScale = scale;
  m_nReduction = reduction;
  OnInitialUpdate();
  ScrollToPosition({centre.x - half.cx, centre.y - half.cy});
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
void CQOV_V2View::OnScaleHalf() {
  SetDisplayScale(1, 2);
}
void CQOV_V2View::OnScaleQuarter() {
  SetDisplayScale(1, 4);
}
void CQOV_V2View::OnScaleEighth() {
  SetDisplayScale(1, 8);
}

void CQOV_V2View::CheckScale(CCmdUI* pCmdUI, int scale, int reduction) const {
  pCmdUI->SetCheck(m_nScale == scale && m_nReduction == reduction ? 1 : 0);
}
void CQOV_V2View::OnUpdateScale1(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 1, 1);
}
void CQOV_V2View::OnUpdateScale2(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 2, 1);
}
void CQOV_V2View::OnUpdateScale4(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 4, 1);
}
void CQOV_V2View::OnUpdateScale8(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 8, 1);
}
void CQOV_V2View::OnUpdateScaleHalf(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 1, 2);
}
void CQOV_V2View::OnUpdateScaleQuarter(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 1, 4);
}
void CQOV_V2View::OnUpdateScaleEighth(CCmdUI* pCmdUI) {
  CheckScale(pCmdUI, 1, 8);
}

void CQOV_V2View::OnScaleFit() {
  const CQOV_V2Doc* doc = GetDocument();
  const CRect client = GetClientRect();
  if (!doc->m_hDib || client.Width() <= 0 || client.Height() <= 0)
    return;
  std::int64_t w = 0;
  std::int64_t h = 0;
  {
    const CGlobalLock dib(doc->m_hDib);
    w = DibWidth(dib.get());
    h = DibHeight(dib.get());
  }
  const std::int64_t reduction = std::max(CeilDiv(w, client.Width()), CeilDiv(h, client.Height()));
  if (reduction > 1) {
    SetDisplayScale(
        1, static_cast<int>(std::min<std::int64_t>(reduction, std::numeric_limits<int>::max())));
    return;
  }
  int scale = kMaxScale;
  while (scale > 1 && (w * scale > client.Width() || h * scale > client.Height()))
    scale /= 2;
  SetScale(scale);
}

void CQOV_V2View::OnZoomIn() {
  if (m_nReduction > 1) {
    const auto below = std::bit_floor(static_cast<unsigned>(m_nReduction - 1));
    SetDisplayScale(1, static_cast<int>(below));
  } else if (m_nScale < kMaxScale) {
    SetScale(m_nScale * 2);
  }
}

void CQOV_V2View::OnZoomOut() {
  if (m_nScale > 1) {
    SetScale(m_nScale / 2);
  } else if (m_nReduction < kMaxZoomReduction) {
    const auto above = std::bit_ceil(static_cast<unsigned>(m_nReduction + 1));
    SetDisplayScale(1, static_cast<int>(above));
  }
}

void CQOV_V2View::OnScrollHome() {
  ScrollToPosition({0, GetScrollPosition().y});
}
void CQOV_V2View::OnScrollEnd() {
  ScrollToPosition({GetTotalSize().cx, GetScrollPosition().y});
}
void CQOV_V2View::OnScrollTopLeft() {
  ScrollToPosition({0, 0});
}
void CQOV_V2View::OnScrollBottomRight() {
  const CSize total = GetTotalSize();
  ScrollToPosition({total.cx, total.cy});
}

}  // namespace qov
