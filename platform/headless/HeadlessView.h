#pragma once
// A view window without a window: a client size set by the caller,
// repaint requests counted, the capture flag, and painting into memory.

#include <cstdint>
#include <vector>

#include "platform/View.h"

namespace qov {

class HeadlessViewHost : public IViewHost {
 public:
  explicit HeadlessViewHost(CView& view, CSize clientSize = {640, 480});
  ~HeadlessViewHost() override;

  void SetClientSize(CSize size) { m_clientSize = size; }
  int InvalidateCount() const { return m_nInvalidates; }
  bool LastInvalidateErased() const { return m_bLastErase; }
  int ScrollStateChanges() const { return m_nScrollChanges; }
  // Paints the view into `dc` as a repaint of the window would: the view
  // prepares the device context, then draws.
  void Paint(CDC& dc);

  CRect GetClientRect() const override { return {0, 0, m_clientSize.cx, m_clientSize.cy}; }
  void Invalidate(bool erase) override;
  void SetCapture() override { m_bCapture = true; }
  void ReleaseCapture() override { m_bCapture = false; }
  bool HasCapture() const override { return m_bCapture; }
  void ScrollStateChanged() override { ++m_nScrollChanges; }

 private:
  CView& m_view;
  CSize m_clientSize;
  int m_nInvalidates = 0;
  bool m_bLastErase = false;
  int m_nScrollChanges = 0;
  bool m_bCapture = false;
};

}  // namespace qov
