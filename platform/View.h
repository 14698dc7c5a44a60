#pragma once
// Views: a window that shows a document, and the scrolling view with its
// scroll sizes and position. The window itself (client area, repaint,
// capture, scroll bars) is the backend's IViewHost.

#include <cstdint>
#include <limits>
#include <utility>

#include "platform/DC.h"
#include "platform/Types.h"
#include "platform/Wnd.h"

namespace qov {

class CDocument;

// The backend's side of a view window.
class IViewHost {
 public:
  virtual ~IViewHost() = default;
  virtual CRect GetClientRect() const = 0;
  virtual void Invalidate(bool erase) = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  // The scroll sizes or position changed: the scroll bars follow.
  virtual void ScrollStateChanged() = 0;
};

struct CPrintInfo {
  bool m_bPreview = false;
  bool m_bDirect = false;
  // Set by the backend before each page: the printable area in device
  // units, and the device's pixels per inch across and down.
  CRect m_rectDraw;
  CSize m_sizeLogPixels;
};

class CView : public CWnd {
 public:
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  // Attaches the view to `doc` (and the document to the view).
  void SetDocument(CDocument* doc);
  void SetHost(IViewHost* host) { m_pHost = host; }
  IViewHost* GetHost() const { return m_pHost; }

  virtual void OnDraw(CDC* pDC) = 0;
  // Base: OnUpdate, which invalidates the whole view.
  virtual void OnInitialUpdate();
  // Base: invalidates the whole view with erasing.
  virtual void OnUpdate(CView* sender);
  // Base: nothing (the scroll view shifts the origin by the scroll position).
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

  virtual bool OnPreparePrinting(CPrintInfo* /*pInfo*/) { return true; }
  virtual void OnBeginPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
  virtual void OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
  // One page. Base: OnDraw, as on the screen.
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);

  virtual void OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {}
  virtual void OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {}
  virtual void OnMouseMove(UINT /*flags*/, CPoint /*point*/) {}
  virtual void OnRButtonDown(UINT /*flags*/, CPoint /*point*/) {}

  // The client area (0, 0, width, height); empty without a host.
  CRect GetClientRect() const;
  void Invalidate(bool erase = true);
  void SetCapture();
  void ReleaseCapture();
  bool HasCapture() const;

  // The view's own map, then its document.
  bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
  // A command's way to report: what it came to, for the command boundary.
  void SetCommandResult(CCommandResult result) { m_commandResult = std::move(result); }
  CCommandResult TakeCommandResult() override { return std::exchange(m_commandResult, {}); }

 protected:
  // The view's own message map; base: none.
  virtual bool OnViewCmdMsg(UINT /*nID*/, CCmdUI* /*pCmdUI*/) { return false; }

 private:
  CDocument* m_pDocument = nullptr;
  IViewHost* m_pHost = nullptr;
  CCommandResult m_commandResult;
};

inline constexpr int MM_TEXT = 1;

class CScrollView : public CView {
 public:
  // Asks for the framework's default page or line size.
  static constexpr CSize sizeDefault{0, 0};
  // The largest total size a toolkit's scroll bar can hold; larger sizes
  // are limited to it.
  static constexpr std::int64_t kMaxScrollExtent = std::numeric_limits<std::int32_t>::max();

  // Sets the scroll range. The position is limited to the new range.
  void SetScrollSizes(int mapMode, CSize total, CSize page = sizeDefault, CSize line = sizeDefault);
  CSize GetTotalSize() const { return m_totalSize; }
  // The page and line sizes in force (defaults resolved: a page is a tenth of
  // the total size, a line a tenth of a page, each at least 1).
  CSize GetPageSize() const { return m_pageSize; }
  CSize GetLineSize() const { return m_lineSize; }
  int GetMapMode() const { return m_nMapMode; }

  CPoint GetScrollPosition() const { return m_scrollPos; }
  // Moves to `pos`, limited on each axis to 0 .. total − client (0 where the
  // client is larger than the total size).
  void ScrollToPosition(CPoint pos);

  // Shifts the device origin by the scroll position (not when printing).
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

 private:
  int m_nMapMode = MM_TEXT;
  CSize m_totalSize;
  CSize m_pageSize;
  CSize m_lineSize;
  CPoint m_scrollPos;
};

}  // namespace qov
