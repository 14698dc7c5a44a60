#pragma once
// Movable global memory blocks, the container of every picture and of the
// clipboard's bitmaps. Locking is cheap (a counter) because the pixel
// operations lock and unlock once per pixel.

#include <cstddef>
#include <cstdint>

namespace qov {

inline constexpr unsigned GMEM_MOVEABLE = 0x0002;
inline constexpr unsigned GMEM_ZEROINIT = 0x0040;
inline constexpr unsigned GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

struct GlobalBlock {
  std::byte* data = nullptr;
  std::size_t size = 0;
  std::uint32_t lockCount = 0;
  std::uint32_t extraOwners = 0;  // owners beyond the first (GlobalShare)
};
using HGLOBAL = GlobalBlock*;

// Frees the block; returns null on success, as the framework's call did. A
// null handle is accepted and ignored. A shared block only loses one owner.
HGLOBAL GlobalFree(HGLOBAL h);

// While one lives on a thread, the last block that thread frees is kept back
// and handed to its next allocation of the same size instead of
// going back to the system and coming again as fresh pages the system has
// to clear and map one by one. An undo copy that replaces the one before it
// is such a pair. The kept block is freed with the scope, or before any
// allocation it does not serve, so no more memory is held than without it.
class CGlobalReuseScope {
 public:
  CGlobalReuseScope();
  ~CGlobalReuseScope();
  CGlobalReuseScope(const CGlobalReuseScope&) = delete;
  CGlobalReuseScope& operator=(const CGlobalReuseScope&) = delete;
};

inline bool GlobalIsShared(HGLOBAL h) {
  return h && h->extraOwners != 0;
}

// The allocated size; 0 for a null handle.
inline std::size_t GlobalSize(HGLOBAL h) {
  return h ? h->size : 0;
}

// The block's bytes until the matching GlobalUnlock; null for a null handle.
inline void* GlobalLock(HGLOBAL h) {
  if (!h)
    return nullptr;
  ++h->lockCount;
  return h->data;
}

// Returns true while the block is still locked by another caller.
inline bool GlobalUnlock(HGLOBAL h) {
  if (!h || h->lockCount == 0)
    return false;
  return --h->lockCount != 0;
}

// Holds one lock on a block for its lifetime.
class CGlobalLock {
 public:
  explicit CGlobalLock(HGLOBAL h) : m_h(h), m_p(static_cast<std::byte*>(GlobalLock(h))) {}
  ~CGlobalLock() { GlobalUnlock(m_h); }
  CGlobalLock(const CGlobalLock&) = delete;
  CGlobalLock& operator=(const CGlobalLock&) = delete;

  std::byte* get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  std::size_t size() const { return GlobalSize(m_h); }

 private:
  HGLOBAL m_h;
  std::byte* m_p;
};

// One hold on a block: what a function returns when it hands a block over,
// and what one takes (as CGlobalOwner&&) when it takes the block. A bare
// HGLOBAL is borrowed. Frees its hold unless released.
class CGlobalOwner {
 public:
  CGlobalOwner() = default;
  CGlobalOwner(std::nullptr_t) {}
  explicit CGlobalOwner(HGLOBAL h) : m_h(h) {}
  ~CGlobalOwner() { GlobalFree(m_h); }
  CGlobalOwner(const CGlobalOwner&) = delete;
  CGlobalOwner& operator=(const CGlobalOwner&) = delete;
  CGlobalOwner(CGlobalOwner&& o) noexcept : m_h(o.release()) {}
  CGlobalOwner& operator=(CGlobalOwner&& o) noexcept {
    if (this != &o) {
      GlobalFree(m_h);
      m_h = o.release();
    }
    return *this;
  }

  HGLOBAL get() const { return m_h; }
  HGLOBAL release() {
    HGLOBAL h = m_h;
    m_h = nullptr;
    return h;
  }
  explicit operator bool() const { return m_h != nullptr; }

 private:
  HGLOBAL m_h = nullptr;
};

// A block of at least `bytes` bytes, all zero, with one exception: a block
// taken again within a reuse scope (above) without GMEM_ZEROINIT keeps the
// bytes of this program's own block that was freed there, for a caller that
// overwrites them all. Null when the memory cannot be had, never an
// exception.
CGlobalOwner GlobalAllocOwned(unsigned flags, std::size_t bytes);

// Another owner of the same block: the block lives until every owner has
// freed it. One picture can so be the clipboard's undo copy and a command's
// restore copy at once without being copied twice. Owners only read a
// shared block; whoever means to write into one first takes a copy of its
// own.
CGlobalOwner GlobalShare(HGLOBAL h);

}  // namespace qov
