#pragma once
// A TIFF file opened through libtiff over the picture file, its messages
// caught instead of printed. Internal to the TIFF reader.

#include <tiffio.h>

#include <string>

#include "image/import/SourceFile.h"

namespace qov::import {

class CTiffFile {
 public:
  // `maxAllocation` bounds every single allocation libtiff makes.
  CTiffFile(CSourceFile& in, tmsize_t maxAllocation);
  ~CTiffFile();
  CTiffFile(const CTiffFile&) = delete;
  CTiffFile& operator=(const CTiffFile&) = delete;

  TIFF* get() const { return m_tif; }
  explicit operator bool() const { return m_tif != nullptr; }
  // libtiff's first error message, empty when there was none.
  const std::string& Error() const { return m_error; }

 private:
  static int OnError(TIFF*, void* user, const char* module, const char* format, va_list args);
  static int OnWarning(TIFF*, void*, const char*, const char*, va_list);

  std::string m_error;
  TIFF* m_tif = nullptr;
};

// Stored rows converted to blue, green, red and placed by orientation.
class COrientedRows;
// Reads the current directory's rows; false when libtiff fails or a strip
// starts in the header (the message in the file's Error()), or the layout is
// one it cannot convert, has complex samples, or has a scan line that alone
// would take more than `maxAllocation` bytes (`unsupported` set, the reason
// in `detail`).
bool ReadTiffRows(const CTiffFile& tiff, const COrientedRows& rows, tmsize_t maxAllocation,
                  bool& unsupported, std::string& detail);

}  // namespace qov::import
