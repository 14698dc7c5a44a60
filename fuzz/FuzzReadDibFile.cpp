// Feeds arbitrary bytes to ReadDibFile as the content of a file: the result
// is a refusal with a reason or a well-formed 24-bit block that saves again.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInputFile.h"
#include "platform/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qov::CFile file(qov::fuzz::WriteInputFile(data, size), qov::CFile::modeRead);
  const qov::PictureReadResult read = qov::ReadDibFile(file);
  qov::fuzz::RequireConsistent(read);
  if (!read)
    return 0;
  qov::fuzz::RequireDocumentBlock(read.block.get());
  qov::CFile sink("/dev/null", qov::CFile::modeWrite);
  qov::fuzz::Require(qov::WriteDibFile(read.block.get(), sink));
  return 0;
}
