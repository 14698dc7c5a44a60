#pragma once
// The view's window: a scroll area whose scroll bars follow the scroll
// view's sizes and position, painting through OnPrepareDC and OnDraw on a
// QPainter, and handing the mouse to the view.

#include <QAbstractScrollArea>
#include <functional>

#include "platform/View.h"

namespace qov {

class CScrollView;

class QtViewWidget : public QAbstractScrollArea, public IViewHost {
  Q_OBJECT

 public:
  QtViewWidget(CView& view, QWidget* parent);
  ~QtViewWidget() override;

  CRect GetClientRect() const override;
  void Invalidate(bool erase) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override { return m_bCapture; }
  void ScrollStateChanged() override;

  // Ends whatever capture a view holds (before a modal window opens).
  static void ReleaseAnyCapture();

  // Paints the view as it stands into `painter` (the viewport's area).
  void PaintView(QPainter& painter, const QRect& area);

  // Called after every paint that reached the screen (benchmarks, start-up).
  void SetPaintedCallback(std::function<void()> callback) { m_painted = std::move(callback); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  CScrollView* ScrollView() const;
  void UpdateScrollBars();

  CView& m_view;
  bool m_bCapture = false;
  bool m_bUpdatingBars = false;
  std::function<void()> m_painted;
  static QtViewWidget* s_pCapture;
};

}  // namespace qov
