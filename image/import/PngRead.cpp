// PNG pictures through libpng. libpng leaves by longjmp on an error, so the
// frames it may jump over hold nothing with a destructor: the header and the
// rows are read in two such functions, and the block is taken in between.

#include <png.h>

#include <csetjmp>
#include <vector>

#include "image/import/PictureBlock.h"

namespace qov::import {

namespace {

// What the callbacks leave for the reader: no allocation, nothing to destroy.
struct PngMessages {
  char error[256] = "";
};

void OnError(png_structp png, png_const_charp message) {
  auto* messages = static_cast<PngMessages*>(png_get_error_ptr(png));
  std::snprintf(messages->error, sizeof messages->error, "%s", message);
  png_longjmp(png, 1);
}

// Warnings (an odd colour profile, a late chunk) leave the pixels intact.
void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep data, png_size_t length) {
  auto* in = static_cast<CSourceFile*>(png_get_io_ptr(png));
  if (in->Read(data, length) != length)
    png_error(png, "the file ends early");
}

// Owns libpng's structures.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Every colour type and depth to 8-bit blue, green, red, transparency
// composited on white, 16 bits reduced to their high byte.
bool ReadHeader(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_color_16 white{};
  white.red = white.green = white.blue = white.gray = 255;
  png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == 3 * std::size_t{png_get_image_width(png, info)};
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

HGLOBAL ReadPngPicture(CSourceFile& in, CMemoryBudget& budget, PictureReadFailure& failure) {
  PngMessages messages;
  PngReader reader;
  reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &messages, OnError, OnWarning);
  if (reader.png)
    reader.info = png_create_info_struct(reader.png);
  if (!reader.info) {
    failure.reason = DibReadError::OutOfMemory;
    return nullptr;
  }
  png_set_read_fn(reader.png, &in, ReadData);
  failure.reason = DibReadError::CorruptPicture;
  if (!ReadHeader(reader.png, reader.info)) {
    failure.detail = messages.error;
    return nullptr;
  }
  const std::uint32_t width = png_get_image_width(reader.png, reader.info);
  const std::uint32_t height = png_get_image_height(reader.png, reader.info);
  CGlobalOwner block(NewPictureBlock(width, height, budget, failure));
  if (!block)
    return nullptr;
  {
    const CGlobalLock lock(block.get());
    dib::DibInfo info;
    info.width = width;
    info.height = height;
    const dib::TargetImage target = dib::LockedTarget(lock.get(), info);
    // The block's rows go from the bottom up; the file's from the top down.
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y)
      rows[y] = reinterpret_cast<png_bytep>(target.Row(std::int64_t{height} - 1 - y));
    if (ReadRows(reader.png, rows.data()))
      return block.release();
  }
  failure.reason = DibReadError::CorruptPicture;
  failure.detail = messages.error;
  return nullptr;
}

}  // namespace qov::import
