// PNG pictures through libpng. libpng leaves by longjmp on an error, so the
// frames it may jump over hold nothing with a destructor: the header and the
// rows are read in two such functions, and the block is taken in between.

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "image/import/PackedRow.h"
#include "image/import/PictureBlock.h"
#include "platform/Progress.h"

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

// Warnings (an odd colour profile, a late chunk) leave the pixels intact;
// but a chunk longer than the limit set below is only a warning in some
// libpng versions, which then take its buffer all the same.
void OnWarning(png_structp png, png_const_charp message) {
  if (std::string_view(message).ends_with("chunk data is too large"))
    png_error(png, message);
}

void ReadData(png_structp png, png_bytep data, png_size_t length) {
  auto* in = static_cast<CSourceFile*>(png_get_io_ptr(png));
  if (in->Read(data, length) != length)
    png_error(png, "the file ends early");
}

// libpng's own buffers are bounded by the budget before it reads a chunk: a
// chunk's declared length alone would otherwise make it take up to 2 GiB.
// The picture's size is the budget's to judge, right after the header, so
// that a refusal says why: libpng's own limit of a million pixels a side
// gives way to the format's. Text and unknown chunks are kept only up to a
// count; the pixels need none of them.
void LimitPngBuffers(png_structp png, const CMemoryBudget& budget) {
  constexpr png_uint_32 kKeptChunks = 128;
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_chunk_malloc_max(png, static_cast<png_alloc_size_t>(budget.MaxLibraryAllocation()));
  png_set_chunk_cache_max(png, kKeptChunks);
}

// Owns libpng's structures.
struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Grey of up to 8 bits and palette pictures, neither transparent nor
// interlaced (what scanners and drawing programs write), keep their rows
// packed for a table of their colours instead of libpng's expansion: set
// when `bits` is not 0.
struct PackedColours {
  int bits = 0;
  std::array<CPackedRow::Colour, 256> colours{};
};

void FindPackedColours(png_structp png, png_infop info, PackedColours& packed) {
  const int type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if ((type != PNG_COLOR_TYPE_GRAY && type != PNG_COLOR_TYPE_PALETTE) || depth > 8 ||
      png_get_valid(png, info, PNG_INFO_tRNS) ||
      png_get_interlace_type(png, info) != PNG_INTERLACE_NONE)
    return;
  const unsigned values = 1u << depth;
  if (type == PNG_COLOR_TYPE_GRAY) {
    for (unsigned v = 0; v < values; ++v) {
      const auto grey = static_cast<std::uint8_t>(v * 255 / (values - 1));
      packed.colours[v] = {grey, grey, grey};
    }
  } else {
    png_colorp palette = nullptr;
    int count = 0;
    if (!png_get_PLTE(png, info, &palette, &count))
      return;
    // Indices past the palette come out black, as libpng's own expansion
    // gives them.
    for (int i = 0; i < std::min(count, 256); ++i) {
      const png_color c = palette[i];
      packed.colours[static_cast<std::size_t>(i)] = {c.blue, c.green, c.red};
    }
  }
  packed.bits = depth;
}

// Every colour type and depth to 8-bit blue, green, red, transparency
// composited on white, 16 bits reduced to their high byte; or packed rows.
bool ReadHeader(png_structp png, png_infop info, PackedColours& packed) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_info(png, info);
  const std::uint64_t width = png_get_image_width(png, info);
  FindPackedColours(png, info, packed);
  if (packed.bits != 0) {
    png_read_update_info(png, info);
    const std::uint64_t bits = width * static_cast<std::uint64_t>(packed.bits);
    return png_get_rowbytes(png, info) == (bits + 7) / 8;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_color_16 white{};
  white.red = white.green = white.blue = white.gray = 255;
  png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == 3 * width;
}

// The pHYs chunk's pixels per metre; its other unit gives only the pixels'
// aspect ratio.
DibResolution PngResolution(png_structp png, png_infop info) {
  png_uint_32 x = 0, y = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  if (!png_get_pHYs(png, info, &x, &y, &unit) || unit != PNG_RESOLUTION_METER)
    return {};
  return ResolutionPerUnit(x, y, kMetre);
}

// Into the block's rows, which go from the bottom up; the file's go from
// the top down: png_read_image's loop over the `passes` of an interlaced
// file, with a step for each row. libpng reports a damaged file by jumping
// back here, so no object with a destructor lives in the two readers below:
// the caller holds the walk.
bool ReadRows(png_structp png, png_bytepp rows, std::uint32_t height, int passes,
              CProgressWalk& walk) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  for (int pass = 0; pass < passes; ++pass) {
    for (std::uint32_t y = 0; y < height; ++y) {
      walk.Step(std::int64_t{pass} * height + y);
      png_read_row(png, rows[y], nullptr);
    }
  }
  return true;
}

bool ReadPackedRows(png_structp png, const CPackedRow& packed, png_bytep line, png_bytepp rows,
                    std::uint32_t width, std::uint32_t height, CProgressWalk& walk) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  for (std::uint32_t y = 0; y < height; ++y) {
    walk.Step(y);
    png_read_row(png, line, nullptr);
    packed.Convert(line, width, rows[y]);
  }
  return true;
}

}  // namespace

PictureReadResult ReadPngPicture(CSourceFile& in, CMemoryBudget& budget) {
  PictureReadResult read;
  PictureReadFailure& failure = read.failure;
  PngMessages messages;
  PngReader reader;
  reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &messages, OnError, OnWarning);
  if (reader.png)
    reader.info = png_create_info_struct(reader.png);
  if (!reader.info) {
    failure.reason = DibReadError::OutOfMemory;
    return read;
  }
  png_set_read_fn(reader.png, &in, ReadData);
  LimitPngBuffers(reader.png, budget);
  failure.reason = DibReadError::CorruptPicture;
  PackedColours packed;
  if (!ReadHeader(reader.png, reader.info, packed)) {
    failure.detail = messages.error;
    return read;
  }
  const std::uint32_t width = png_get_image_width(reader.png, reader.info);
  const std::uint32_t height = png_get_image_height(reader.png, reader.info);
  CGlobalOwner block =
      NewPictureBlock(width, height, PngResolution(reader.png, reader.info), budget, failure);
  if (!block)
    return read;
  std::optional<CPackedRow> expand;
  std::vector<png_byte> line;
  if (packed.bits != 0) {
    expand.emplace(static_cast<unsigned>(packed.bits), packed.colours.data());
    line.resize(png_get_rowbytes(reader.png, reader.info));
  }
  {
    const CGlobalLock lock(block.get());
    dib::DibInfo info;
    info.width = width;
    info.height = height;
    const dib::TargetImage target = dib::LockedTarget(lock.get(), info);
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y)
      rows[y] = reinterpret_cast<png_bytep>(target.Row(std::int64_t{height} - 1 - y));
    // Packed rows are never interlaced: one pass.
    const int passes = png_set_interlace_handling(reader.png);
    CProgressWalk walk(std::int64_t{passes} * height);
    if (expand ? ReadPackedRows(reader.png, *expand, line.data(), rows.data(), width, height, walk)
               : ReadRows(reader.png, rows.data(), height, passes, walk)) {
      read.block = std::move(block);
      return read;
    }
  }
  failure.reason = DibReadError::CorruptPicture;
  failure.detail = messages.error;
  return read;
}

}  // namespace qov::import
