// Feeds arbitrary bytes to ConvertDibTo24 as a clipboard bitmap: the result
// is a refusal with a reason or a well-formed 24-bit block.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qov::DibReadError error = qov::DibReadError::None;
  const qov::CGlobalOwner block(
      qov::ConvertDibTo24(reinterpret_cast<const std::byte*>(data), size, &error));
  qov::fuzz::RequireConsistent(block.get(), error);
  if (block)
    qov::fuzz::RequireDocumentBlock(block.get());
  return 0;
}
