// A view window in memory.

#include "platform/headless/HeadlessView.h"

namespace qov {

HeadlessViewHost::HeadlessViewHost(CView& view, CSize clientSize)
    : m_view(view), m_clientSize(clientSize) {
  m_view.SetHost(this);
}

HeadlessViewHost::~HeadlessViewHost() {
  if (m_view.GetHost() == this)
    m_view.SetHost(nullptr);
}

void HeadlessViewHost::Invalidate(bool erase) {
  ++m_nInvalidates;
  m_bLastErase = erase;
}

void HeadlessViewHost::Paint(CDC& dc) {
  m_view.OnPrepareDC(&dc);
  m_view.OnDraw(&dc);
}

}  // namespace qov
