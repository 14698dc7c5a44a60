#pragma once
// Shared helpers of the image tests: the readers and the converter run on
// bytes built with the shared bitmap builder, and their cases as tables.

#include <gtest/gtest.h>

#include <string>

#include "image/DibFile.h"
#include "platform/GlobalMemory.h"
#include "tests/support/Bitmap.h"
#include "tests/support/TempDir.h"

namespace qov::test {

// Named inputs of the table-driven reader and converter tests: the picture
// they decode to, or the reason they are refused.
struct DecodeCase {
  const char* name;
  Bytes bytes;
  Picture expected;
  DibReadError warning = DibReadError::None;  // ReadBmp only
};
struct RefusalCase {
  const char* name;
  Bytes bytes;
  DibReadError error;
};
void PrintTo(const DecodeCase& c, std::ostream* os);
void PrintTo(const RefusalCase& c, std::ostream* os);

// The first `size` bytes of `b`.
Bytes Truncated(Bytes b, std::size_t size);

// ReadDibFile on the file at `path`.
PictureReadResult ReadBmp(const std::string& path);
PictureReadResult ReadBmpBytes(const Bytes& bytes);

// ConvertDibTo24 on `bytes`, held in a buffer of exactly their length.
PictureReadResult ConvertBytes(const Bytes& bytes);

// The folder of the bitmap test suite.
std::string SuiteFile(const std::string& relative);

}  // namespace qov::test
