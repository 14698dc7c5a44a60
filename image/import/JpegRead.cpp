// JPEG pictures through libjpeg-turbo. Its error exit leaves by longjmp, so
// the header and the rows are read in functions whose frames hold nothing
// with a destructor, and the block is taken in between.

#include <csetjmp>
#include <cstdio>
#include <utility>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "image/import/ExifOrientation.h"
#include "image/import/PictureBlock.h"
#include "platform/Progress.h"

namespace qov::import {

namespace {

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool damaged;  // a warning that the data is cut short or corrupt
};

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings are kept, not printed. Only stray bytes between segments leave
// the pixels whole; every other warning means that part of the picture was
// made up, and the picture is refused.
void OnEmitMessage(j_common_ptr cinfo, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  if (level >= 0 || cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA || errors->damaged)
    return;
  errors->damaged = true;
  (*cinfo->err->format_message)(cinfo, errors->message);
}

// The compressed data through the picture file, a buffer at a time.
struct JpegSource {
  jpeg_source_mgr manager;
  CSourceFile* in;
  JOCTET buffer[65536];
};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  auto* source = reinterpret_cast<JpegSource*>(cinfo->src);
  std::size_t got = source->in->Read(source->buffer, sizeof source->buffer);
  if (got == 0) {
    // The usual answer to a cut file: warn, then end the image.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    got = 2;
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = got;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* source = cinfo->src;
  while (count > static_cast<long>(source->bytes_in_buffer)) {
    count -= static_cast<long>(source->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  if (count > 0) {
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
  }
}

void TermSource(j_decompress_ptr) {}

// Owns the decompressor; destroying it frees everything libjpeg took.
struct JpegReader {
  jpeg_decompress_struct cinfo{};
  JpegErrors errors{};
  JpegSource source{};
  bool created = false;
  ~JpegReader() {
    if (created)
      jpeg_destroy_decompress(&cinfo);
  }
};

bool ReadHeader(JpegReader& reader, int& orientation) {
  j_decompress_ptr cinfo = &reader.cinfo;
  if (setjmp(reader.errors.jump))
    return false;
  jpeg_create_decompress(cinfo);
  reader.created = true;
  reader.source.manager = {
      nullptr, 0, InitSource, FillInputBuffer, SkipInputData, jpeg_resync_to_restart, TermSource};
  cinfo->src = &reader.source.manager;
  jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(cinfo, TRUE);
  orientation = kOrientationTopLeft;
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
    orientation = ExifOrientation(m->data, m->data_length, orientation);
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  return true;
}

// The JFIF density units.
constexpr UINT8 kJfifDotsPerInch = 1;
constexpr UINT8 kJfifDotsPerCentimetre = 2;

// A JFIF density without units is only the pixels' aspect ratio.
DibResolution JfifResolution(const jpeg_decompress_struct& cinfo) {
  if (!cinfo.saw_JFIF_marker)
    return {};
  switch (cinfo.density_unit) {
    case kJfifDotsPerInch:
      return ResolutionPerUnit(cinfo.X_density, cinfo.Y_density, kMetresPerInch);
    case kJfifDotsPerCentimetre:
      return ResolutionPerUnit(cinfo.X_density, cinfo.Y_density, kMetresPerCentimetre);
    default:
      return {};
  }
}

// The stored picture's resolution: the JFIF density when it gives one, else
// the first EXIF segment's.
DibResolution StoredResolution(const jpeg_decompress_struct& cinfo) {
  DibResolution resolution = JfifResolution(cinfo);
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && !resolution.Known(); m = m->next)
    resolution = ExifResolution(m->data, m->data_length);
  return resolution;
}

// Cyan, magenta, yellow and black to blue, green, red in place, 4 bytes in
// and 3 out. Adobe's files store every ink inverted.
void CmykToBgr(std::uint8_t* row, std::size_t width, bool inverted) {
  for (std::size_t x = 0; x < width; ++x) {
    const std::uint8_t* ink = row + 4 * x;
    const auto paper = [inverted](unsigned v) { return inverted ? v : 255 - v; };
    const unsigned k = paper(ink[3]);
    const unsigned r = paper(ink[0]) * k / 255;
    const unsigned g = paper(ink[1]) * k / 255;
    const unsigned b = paper(ink[2]) * k / 255;
    row[3 * x] = static_cast<std::uint8_t>(b);
    row[3 * x + 1] = static_cast<std::uint8_t>(g);
    row[3 * x + 2] = static_cast<std::uint8_t>(r);
  }
}

// libjpeg reports a damaged file by jumping back here, so no object with a
// destructor lives in this frame: the caller holds the walk.
bool ReadRows(JpegReader& reader, std::uint8_t* row, const COrientedRows& rows,
              CProgressWalk& walk) {
  j_decompress_ptr cinfo = &reader.cinfo;
  if (setjmp(reader.errors.jump))
    return false;
  jpeg_start_decompress(cinfo);
  const bool cmyk = cinfo->out_color_space == JCS_CMYK;
  while (cinfo->output_scanline < cinfo->output_height && !reader.errors.damaged) {
    const JDIMENSION y = cinfo->output_scanline;
    walk.Step(y);
    JSAMPROW rowPointer = row;
    if (jpeg_read_scanlines(cinfo, &rowPointer, 1) != 1)
      return false;
    if (cmyk)
      CmykToBgr(row, cinfo->output_width, cinfo->saw_Adobe_marker);
    rows.PutRow(y, row);
  }
  return !reader.errors.damaged;
}

}  // namespace

PictureReadResult ReadJpegPicture(CSourceFile& in, CMemoryBudget& budget) {
  PictureReadResult read;
  PictureReadFailure& failure = read.failure;
  JpegReader reader;
  reader.cinfo.err = jpeg_std_error(&reader.errors.manager);
  reader.errors.manager.error_exit = OnErrorExit;
  reader.errors.manager.emit_message = OnEmitMessage;
  reader.source.in = &in;
  int orientation = kOrientationTopLeft;
  failure.reason = DibReadError::CorruptPicture;
  if (!ReadHeader(reader, orientation) || reader.errors.damaged) {
    failure.detail = reader.errors.message;
    return read;
  }
  const std::uint32_t width = reader.cinfo.image_width;
  const std::uint32_t height = reader.cinfo.image_height;
  const bool swapped = SwapsAxes(orientation);
  CGlobalOwner block = NewPictureBlock(
      swapped ? height : width, swapped ? width : height,
      OrientedResolution(StoredResolution(reader.cinfo), orientation), budget, failure);
  if (!block)
    return read;
  std::vector<std::uint8_t> row(4 * std::size_t{width});
  {
    const CGlobalLock lock(block.get());
    const COrientedRows rows(lock.get(), orientation, width, height);
    CProgressWalk walk(height);
    if (ReadRows(reader, row.data(), rows, walk)) {
      read.block = std::move(block);
      return read;
    }
  }
  failure.reason = DibReadError::CorruptPicture;
  failure.detail = reader.errors.message;
  return read;
}

}  // namespace qov::import
