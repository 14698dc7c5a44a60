// Global memory blocks over the C heap.

#include "platform/GlobalMemory.h"

#include <cstdlib>
#include <new>

namespace qov {

HGLOBAL GlobalAlloc(unsigned /*flags*/, std::size_t bytes) {
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
  return block;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  if (h && h->extraOwners != 0) {
    --h->extraOwners;
  } else if (h) {
    std::free(h->data);
    delete h;
  }
  return nullptr;
}

HGLOBAL GlobalShare(HGLOBAL h) {
  if (h)
    ++h->extraOwners;
  return h;
}

}  // namespace qov
