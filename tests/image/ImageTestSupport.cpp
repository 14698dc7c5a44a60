#include "ImageTestSupport.h"

#include <cstring>
#include <memory>

#include "platform/File.h"

namespace qov::test {

PictureReadResult ReadBmp(const std::string& path) {
  CFile file(path, CFile::modeRead);
  return ReadDibFile(file);
}

PictureReadResult ReadBmpBytes(const Bytes& bytes) {
  TempDir dir;
  const std::string path = dir.File("input.bmp");
  WriteBytes(path, bytes);
  return ReadBmp(path);
}

PictureReadResult ConvertBytes(const Bytes& bytes) {
  // An exact-size copy, so that the sanitizer sees any read past the end.
  auto copy = std::make_unique<std::byte[]>(bytes.size());
  if (!bytes.empty())
    std::memcpy(copy.get(), bytes.data(), bytes.size());
  return ConvertDibTo24(copy.get(), bytes.size());
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
