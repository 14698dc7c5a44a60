#include "platform/qt/QtViewWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <limits>

#include "platform/ScopeExit.h"
#include "platform/qt/QtDC.h"

namespace qov {

QtViewWidget* QtViewWidget::s_pCapture = nullptr;

namespace {

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, 0, std::numeric_limits<int>::max()));
}

UINT KeyState(const QMouseEvent* event) {
  UINT flags = 0;
  if (event->buttons() & Qt::LeftButton)
    flags |= MK_LBUTTON;
  if (event->buttons() & Qt::RightButton)
    flags |= MK_RBUTTON;
  return flags;
}

CPoint ClientPoint(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

}  // namespace

QtViewWidget::QtViewWidget(CView& view, QWidget* parent)
    : QAbstractScrollArea(parent), m_view(view) {
  setObjectName(QStringLiteral("view"));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QtViewWidget::~QtViewWidget() {
  if (s_pCapture == this)
    s_pCapture = nullptr;
}

CScrollView* QtViewWidget::ScrollView() const {
  return dynamic_cast<CScrollView*>(&m_view);
}

CRect QtViewWidget::GetClientRect() const {
  const QSize size = viewport()->size();
  return {0, 0, size.width(), size.height()};
}

void QtViewWidget::Invalidate(bool /*erase*/) {
  viewport()->update();
}

void QtViewWidget::SetCapture() {
  if (s_pCapture && s_pCapture != this)
    s_pCapture->ReleaseCapture();
  m_bCapture = true;
  s_pCapture = this;
}

void QtViewWidget::ReleaseCapture() {
  m_bCapture = false;
  if (s_pCapture == this)
    s_pCapture = nullptr;
}

void QtViewWidget::ReleaseAnyCapture() {
  if (s_pCapture)
    s_pCapture->m_view.ReleaseCapture();
}

void QtViewWidget::ScrollStateChanged() {
  UpdateScrollBars();
  viewport()->update();
}

// The ranges are what the position may take: total − client, 0 when the
// client is larger, as the scroll view limits it.
void QtViewWidget::UpdateScrollBars() {
  CScrollView* view = ScrollView();
  if (!view || m_bUpdatingBars)
    return;
  const auto updating = SetForScope(m_bUpdatingBars);
  const CSize total = view->GetTotalSize();
  const CSize page = view->GetPageSize();
  const CSize line = view->GetLineSize();
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, ClampToInt(total.cx - client.width()));
  verticalScrollBar()->setRange(0, ClampToInt(total.cy - client.height()));
  horizontalScrollBar()->setPageStep(std::max(1, std::min(ClampToInt(page.cx), client.width())));
  verticalScrollBar()->setPageStep(std::max(1, std::min(ClampToInt(page.cy), client.height())));
  horizontalScrollBar()->setSingleStep(std::max(1, ClampToInt(line.cx)));
  verticalScrollBar()->setSingleStep(std::max(1, ClampToInt(line.cy)));
  const CPoint pos = view->GetScrollPosition();
  horizontalScrollBar()->setValue(ClampToInt(pos.x));
  verticalScrollBar()->setValue(ClampToInt(pos.y));
}

void QtViewWidget::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (m_bUpdatingBars)
    return;
  if (CScrollView* view = ScrollView()) {
    view->ScrollToPosition({horizontalScrollBar()->value(), verticalScrollBar()->value()});
  }
  viewport()->update();
}

void QtViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (CScrollView* view = ScrollView()) {
    // A larger window may leave the old position out of range.
    const auto updating = SetForScope(m_bUpdatingBars);
    view->ScrollToPosition(view->GetScrollPosition());
  }
  UpdateScrollBars();
}

void QtViewWidget::PaintView(QPainter& painter, const QRect& area) {
  painter.fillRect(area, palette().color(QPalette::Base));
  painter.setClipRect(area);
  QtDC dc(painter, false);
  m_view.OnPrepareDC(&dc);
  m_view.OnDraw(&dc);
}

void QtViewWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  try {
    PaintView(painter, event->rect());
  } catch (...) {
    // A picture that cannot be drawn leaves the background; the paint
    // event must not unwind into the toolkit.
  }
  if (m_painted)
    m_painted();
}

void QtViewWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    m_view.OnLButtonDown(KeyState(event), ClientPoint(event));
  if (event->button() == Qt::RightButton)
    m_view.OnRButtonDown(KeyState(event), ClientPoint(event));
}

void QtViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    m_view.OnLButtonUp(KeyState(event), ClientPoint(event));
}

void QtViewWidget::mouseMoveEvent(QMouseEvent* event) {
  m_view.OnMouseMove(KeyState(event), ClientPoint(event));
}

void QtViewWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  if (m_bCapture)
    m_view.ReleaseCapture();
}

void QtViewWidget::hideEvent(QHideEvent* event) {
  QAbstractScrollArea::hideEvent(event);
  if (m_bCapture)
    m_view.ReleaseCapture();
}

}  // namespace qov
