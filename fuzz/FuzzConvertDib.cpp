// Feeds arbitrary bytes to ConvertDibTo24 as a clipboard bitmap: the result
// is a refusal with a reason or a well-formed 24-bit block.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qov::PictureReadResult read =
      qov::ConvertDibTo24(reinterpret_cast<const std::byte*>(data), size);
  qov::fuzz::RequireConsistent(read);
  if (read)
    qov::fuzz::RequireDocumentBlock(read.block.get());
  return 0;
}
