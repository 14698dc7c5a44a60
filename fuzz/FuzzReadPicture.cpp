// Feeds arbitrary bytes to ReadPictureFile, the entry point the window and
// qov-convert open pictures through, as the content of a file. One binary
// per format, each started from that format's seeds: the result is a refusal
// with a reason or a well-formed 24-bit block.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInputFile.h"
#include "image/PictureFile.h"

namespace {

// Large enough for every seed, small enough that a declared size cannot
// take the fuzzer's memory.
constexpr double kFuzzMegapixels = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qov::CFile file(qov::fuzz::WriteInputFile(data, size), qov::CFile::modeRead);
  // The second page too, when the input has one.
  for (int page = 1; page <= 2; ++page) {
    const qov::PictureReadResult read = qov::ReadPictureFile(file, {page, kFuzzMegapixels});
    qov::fuzz::RequireConsistent(read);
    if (read)
      qov::fuzz::RequireDocumentBlock(read.block.get());
    file.Seek(0, qov::CFile::begin);
  }
  return 0;
}
