// Feeds arbitrary bytes to ReadDibFile as the content of a file: the result
// is a refusal with a reason or a well-formed 24-bit block that saves again.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInputFile.h"
#include "platform/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qov::CFile file(qov::fuzz::WriteInputFile(data, size), qov::CFile::modeRead);
  qov::DibReadError error = qov::DibReadError::None;
  const qov::CGlobalOwner block(qov::ReadDibFile(file, &error));
  qov::fuzz::RequireConsistent(block.get(), error);
  if (!block)
    return 0;
  qov::fuzz::RequireDocumentBlock(block.get());
  qov::CFile sink("/dev/null", qov::CFile::modeWrite);
  qov::fuzz::Require(qov::WriteDibFile(block.get(), sink));
  return 0;
}
