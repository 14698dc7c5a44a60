#pragma once
// The clipboard with packed device-independent bitmaps (CF_DIB).

#include "platform/GlobalMemory.h"
#include "platform/Wnd.h"

namespace qov {

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_DIB = 8;

// False when another owner holds it open.
bool OpenClipboard(CWnd* owner);
bool CloseClipboard();
// Discards the content and makes the opener the owner.
bool EmptyClipboard();
// The clipboard's own block for `format` (valid until the clipboard is
// closed), or null when it holds no such data.
HGLOBAL GetClipboardData(UINT format);
// Hands `block` to the clipboard, which owns it from then on; false on
// failure, when `block` is left as it was.
bool SetClipboardData(UINT format, CGlobalOwner&& block);
bool IsClipboardFormatAvailable(UINT format);

// Holds the clipboard open for its lifetime.
class CClipboardScope {
 public:
  explicit CClipboardScope(CWnd* owner) : m_bOpen(OpenClipboard(owner)) {}
  ~CClipboardScope() { Close(); }
  CClipboardScope(const CClipboardScope&) = delete;
  CClipboardScope& operator=(const CClipboardScope&) = delete;

  bool IsOpen() const { return m_bOpen; }
  void Close() {
    if (m_bOpen)
      CloseClipboard();
    m_bOpen = false;
  }

 private:
  bool m_bOpen;
};

}  // namespace qov
