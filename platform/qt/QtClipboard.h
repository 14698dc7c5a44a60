#pragma once
// The system clipboard as the system's code uses it: CF_DIB blocks. A copy
// holds the block itself and offers it, converted when asked, as the exact
// bytes under a private type (so that they come back byte for byte) and as a
// standard image that other programs can paste; a paste takes our own block
// as it is, else those bytes when they are there, else any image another
// program offers, as a 24-bit block.

#include "platform/GlobalMemory.h"
#include "platform/Types.h"

class QMimeData;

namespace qov {

class QtClipboard {
 public:
  static constexpr const char* kDibMimeType = "application/x-qov-dib";

  QtClipboard() = default;
  ~QtClipboard();
  QtClipboard(const QtClipboard&) = delete;
  QtClipboard& operator=(const QtClipboard&) = delete;

  bool Open();
  bool Close();
  bool Empty();
  // Valid until the clipboard is closed.
  HGLOBAL Get(UINT format);
  // Takes `block` on success.
  bool Set(UINT format, CGlobalOwner&& block);
  bool IsAvailable(UINT format) const;

 private:
  void DropReadBlock();

  bool m_bOpen = false;
  CGlobalOwner m_read;
};

// The bitmap that `mime` offers as a new 24-bit block (or, from the private
// type, the exact bytes); null when it offers none.
CGlobalOwner DibFromMimeData(const QMimeData& mime);

}  // namespace qov
