// Global memory blocks over the C heap.

#include "platform/GlobalMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qov {

namespace {

// A picture's block is touched page by page as it is filled; with 4 KiB
// pages that is a fault every 4 KiB, which costs as much as the filling.
// Large pages, where the system gives them on request, take one fault per
// 2 MiB. Only the advice changes: the memory and its contents are the same.
void AdviseLargePages(std::byte* data, std::size_t bytes) {
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
  if (last > first)
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

struct ReuseState {
  int depth = 0;
  GlobalBlock* kept = nullptr;
};
thread_local ReuseState t_reuse;

void FreeBlock(GlobalBlock* h) {
  std::free(h->data);
  delete h;
}

void DropKeptBlock() {
  if (t_reuse.kept)
    FreeBlock(t_reuse.kept);
  t_reuse.kept = nullptr;
}

GlobalBlock* TakeKeptBlock(unsigned flags, std::size_t bytes) {
  GlobalBlock* block = t_reuse.kept;
  if (!block || block->size != bytes) {
    DropKeptBlock();
    return nullptr;
  }
  t_reuse.kept = nullptr;
  if ((flags & GMEM_ZEROINIT) != 0)
    std::memset(block->data, 0, bytes);
  return block;
}

}  // namespace

CGlobalReuseScope::CGlobalReuseScope() {
  ++t_reuse.depth;
}

CGlobalReuseScope::~CGlobalReuseScope() {
  if (--t_reuse.depth == 0)
    DropKeptBlock();
}

CGlobalOwner GlobalAllocOwned(unsigned flags, std::size_t bytes) {
  if (GlobalBlock* reused = TakeKeptBlock(flags, bytes))
    return CGlobalOwner(reused);
  auto* block = new (std::nothrow) GlobalBlock;
  if (!block)
    return nullptr;
  // calloc hands out fresh pages that are already zero, so a large picture
  // costs no clearing pass. A zero-byte block still gets a distinct address.
  void* data = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (!data) {
    delete block;
    return nullptr;
  }
  block->data = static_cast<std::byte*>(data);
  block->size = bytes;
  AdviseLargePages(block->data, bytes);
  return CGlobalOwner(block);
}

HGLOBAL GlobalFree(HGLOBAL h) {
  if (h && h->extraOwners != 0) {
    --h->extraOwners;
  } else if (h && t_reuse.depth > 0) {
    DropKeptBlock();
    h->lockCount = 0;
    t_reuse.kept = h;
  } else if (h) {
    FreeBlock(h);
  }
  return nullptr;
}

CGlobalOwner GlobalShare(HGLOBAL h) {
  if (h)
    ++h->extraOwners;
  return CGlobalOwner(h);
}

}  // namespace qov
