#include "ImageTestSupport.h"

#include <cstring>
#include <memory>

#include "platform/File.h"

namespace qov::test {

ReadResult ReadBmp(const std::string& path) {
  ReadResult result;
  CFile file(path, CFile::modeRead);
  result.block = CGlobalOwner(ReadDibFile(file, &result.error, nullptr, &result.warning));
  return result;
}

ReadResult ReadBmpBytes(const Bytes& bytes) {
  TempDir dir;
  const std::string path = dir.File("input.bmp");
  WriteBytes(path, bytes);
  return ReadBmp(path);
}

ReadResult ConvertBytes(const Bytes& bytes) {
  // An exact-size copy, so that the sanitizer sees any read past the end.
  auto copy = std::make_unique<std::byte[]>(bytes.size());
  if (!bytes.empty())
    std::memcpy(copy.get(), bytes.data(), bytes.size());
  ReadResult result;
  result.block = CGlobalOwner(ConvertDibTo24(copy.get(), bytes.size(), &result.error));
  return result;
}

std::string SuiteFile(const std::string& relative) {
  return std::string(QOV_TEST_DATA_DIR) + "/bmpsuite/" + relative;
}

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.name;
}

Bytes Truncated(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

}  // namespace qov::test
