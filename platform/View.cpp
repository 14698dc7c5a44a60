// The view and the scrolling view.

#include "platform/View.h"

#include <algorithm>
#include <utility>

#include "platform/Document.h"

namespace qov {

CView::~CView() {
  if (m_pDocument)
    m_pDocument->RemoveView(this);
}

void CView::SetDocument(CDocument* doc) {
  if (doc == m_pDocument)
    return;
  CDocument* previous = std::exchange(m_pDocument, doc);
  if (previous)
    previous->RemoveView(this);
  if (doc)
    doc->AddView(this);
}

void CView::OnInitialUpdate() {
  OnUpdate(nullptr);
}

void CView::OnUpdate(CView* /*sender*/) {
  Invalidate(true);
}

void CView::OnPrepareDC(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}

void CView::OnPrint(CDC* pDC, CPrintInfo* /*pInfo*/) {
  OnDraw(pDC);
}

CRect CView::GetClientRect() const {
  return m_pHost ? m_pHost->GetClientRect() : CRect{};
}

void CView::Invalidate(bool erase) {
  if (m_pHost)
    m_pHost->Invalidate(erase);
}

void CView::SetCapture() {
  if (m_pHost)
    m_pHost->SetCapture();
}

void CView::ReleaseCapture() {
  if (m_pHost)
    m_pHost->ReleaseCapture();
}

bool CView::HasCapture() const {
  return m_pHost && m_pHost->HasCapture();
}

bool CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  if (OnViewCmdMsg(nID, pCmdUI))
    return true;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, pCmdUI);
}

namespace {

std::int64_t LimitExtent(std::int64_t extent) {
  return std::clamp<std::int64_t>(extent, 0, CScrollView::kMaxScrollExtent);
}

// A size asked for on one axis, or a tenth of `whole` when none was asked.
std::int64_t ResolveStep(std::int64_t asked, std::int64_t whole) {
  const std::int64_t step = asked > 0 ? asked : whole / 10;
  return std::clamp<std::int64_t>(step, 1, CScrollView::kMaxScrollExtent);
}

// `pos` moved into 0 .. total − client on each axis.
CPoint LimitPosition(CPoint pos, CSize total, CRect client) {
  const auto limit = [](std::int64_t p, std::int64_t extent, std::int64_t shown) {
    return std::clamp<std::int64_t>(p, 0, std::max<std::int64_t>(extent - shown, 0));
  };
  return {limit(pos.x, total.cx, client.Width()), limit(pos.y, total.cy, client.Height())};
}

}  // namespace

void CScrollView::SetScrollSizes(int mapMode, CSize total, CSize page, CSize line) {
  m_nMapMode = mapMode;
  m_totalSize = {LimitExtent(total.cx), LimitExtent(total.cy)};
  m_pageSize = {ResolveStep(page.cx, m_totalSize.cx), ResolveStep(page.cy, m_totalSize.cy)};
  m_lineSize = {ResolveStep(line.cx, m_pageSize.cx), ResolveStep(line.cy, m_pageSize.cy)};
  m_scrollPos = LimitPosition(m_scrollPos, m_totalSize, GetClientRect());
  if (IViewHost* host = GetHost())
    host->ScrollStateChanged();
}

void CScrollView::ScrollToPosition(CPoint pos) {
  const CPoint limited = LimitPosition(pos, m_totalSize, GetClientRect());
  if (limited == m_scrollPos)
    return;
  m_scrollPos = limited;
  if (IViewHost* host = GetHost())
    host->ScrollStateChanged();
}

// A printed page shows the picture unscrolled.
void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CView::OnPrepareDC(pDC, pInfo);
  if (!pDC->IsPrinting())
    pDC->SetViewportOrg({-m_scrollPos.x, -m_scrollPos.y});
}

}  // namespace qov
