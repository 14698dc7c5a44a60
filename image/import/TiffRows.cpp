// The rows of a TIFF picture: scan lines converted here for the layouts
// scanners write (bilevel, grey, palette, RGB(A), JPEG's YCbCr, in strips),
// and libtiff's own RGBA conversion in bands for everything else it knows
// (tiles, planes, other YCbCr, CMYK, odd depths).

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "image/import/PackedRow.h"
#include "image/import/PictureBlock.h"
#include "image/import/TiffFile.h"
#include "platform/Progress.h"

namespace qov::import {

namespace {

// How the samples of a scan line are laid out and what they mean.
struct TiffLayout {
  std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  std::uint16_t bitsPerSample = 1;
  std::uint16_t samplesPerPixel = 1;
  std::uint16_t colourSamples = 1;  // 1 grey or palette, 3 RGB
  bool alpha = false;               // the sample after the colour ones
  bool associatedAlpha = false;     // colours already multiplied by it
  const std::uint16_t* map[3] = {nullptr, nullptr, nullptr};
  unsigned mapShift = 8;  // 0 for the old 8-bit colour maps
};

bool ReadAlpha(TIFF* tif, TiffLayout& layout) {
  std::uint16_t count = 0;
  std::uint16_t* kinds = nullptr;
  if (!TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) || count == 0)
    return true;
  if (layout.samplesPerPixel <= layout.colourSamples)
    return false;
  layout.alpha = kinds[0] == EXTRASAMPLE_ASSOCALPHA || kinds[0] == EXTRASAMPLE_UNASSALPHA;
  layout.associatedAlpha = kinds[0] == EXTRASAMPLE_ASSOCALPHA;
  return true;
}

// The scan-line path takes unsigned integer samples in strips, interleaved.
bool ScanlineLayout(TIFF* tif, TiffLayout& layout) {
  std::uint16_t planar = PLANARCONFIG_CONTIG;
  std::uint16_t format = SAMPLEFORMAT_UINT;
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &layout.photometric))
    return false;
  if (TIFFIsTiled(tif) || planar != PLANARCONFIG_CONTIG || format != SAMPLEFORMAT_UINT)
    return false;
  // JPEG's YCbCr comes out of the codec as RGB a row at a time; libtiff's
  // RGBA conversion would take a 32-bit buffer of a whole strip, and a
  // scanner's strip may be the whole page.
  std::uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  if (layout.photometric == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG) {
    if (!TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
      return false;
    layout.photometric = PHOTOMETRIC_RGB;
  }
  const std::uint16_t bits = layout.bitsPerSample;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
    return false;
  switch (layout.photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
      layout.colourSamples = 1;
      break;
    case PHOTOMETRIC_RGB:
      layout.colourSamples = 3;
      if (bits < 8)
        return false;
      break;
    case PHOTOMETRIC_PALETTE: {
      layout.colourSamples = 1;
      std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
      if (bits == 16 || !TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue))
        return false;
      layout.map[0] = red;
      layout.map[1] = green;
      layout.map[2] = blue;
      // Colour maps written with 8-bit values are still met.
      const std::size_t entries = std::size_t{1} << bits;
      const bool small =
          std::all_of(red, red + entries, [](std::uint16_t v) { return v < 256; }) &&
          std::all_of(green, green + entries, [](std::uint16_t v) { return v < 256; }) &&
          std::all_of(blue, blue + entries, [](std::uint16_t v) { return v < 256; });
      layout.mapShift = small ? 0 : 8;
      break;
    }
    default:
      return false;
  }
  return layout.samplesPerPixel >= layout.colourSamples && ReadAlpha(tif, layout);
}

unsigned Sample(const std::uint8_t* line, std::uint64_t index, unsigned bits) {
  switch (bits) {
    case 8:
      return line[index];
    case 16: {
      std::uint16_t value = 0;
      std::memcpy(&value, line + 2 * index, 2);
      return value;
    }
    default: {
      const std::uint64_t bit = index * bits;
      const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
      return (line[bit / 8] >> shift) & ((1u << bits) - 1);
    }
  }
}

// A sample of `bits` bits scaled to 0..255.
std::uint8_t To8(unsigned value, unsigned bits) {
  if (bits == 16)
    return static_cast<std::uint8_t>(value >> 8);
  return static_cast<std::uint8_t>(value * 255 / ((1u << bits) - 1));
}

void ConvertPixel(const TiffLayout& layout, const std::uint8_t* line, std::uint64_t x,
                  std::uint8_t* bgr) {
  const unsigned bits = layout.bitsPerSample;
  const std::uint64_t first = x * layout.samplesPerPixel;
  std::array<unsigned, 3> rgb{};
  if (layout.photometric == PHOTOMETRIC_PALETTE) {
    const unsigned index = Sample(line, first, bits);
    for (std::size_t c = 0; c < 3; ++c)
      rgb[c] = static_cast<std::uint8_t>(layout.map[c][index] >> layout.mapShift);
  } else if (layout.colourSamples == 3) {
    for (std::size_t c = 0; c < 3; ++c)
      rgb[c] = To8(Sample(line, first + c, bits), bits);
  } else {
    unsigned grey = To8(Sample(line, first, bits), bits);
    if (layout.photometric == PHOTOMETRIC_MINISWHITE)
      grey = 255 - grey;
    rgb = {grey, grey, grey};
  }
  if (layout.alpha) {
    const unsigned alpha = To8(Sample(line, first + layout.colourSamples, bits), bits);
    for (unsigned& c : rgb)
      c = layout.associatedAlpha ? std::min(255u, c + 255 - alpha) : OverWhite(c, alpha);
  }
  bgr[0] = static_cast<std::uint8_t>(rgb[2]);
  bgr[1] = static_cast<std::uint8_t>(rgb[1]);
  bgr[2] = static_cast<std::uint8_t>(rgb[0]);
}

// One sample of at most 8 bits per pixel: the colour of every value, as the
// pixel-by-pixel conversion gives it, in a table of whole bytes.
std::optional<CPackedRow> PackedRow(const TiffLayout& layout) {
  const unsigned bits = layout.bitsPerSample;
  if (layout.samplesPerPixel != 1 || bits > 8)
    return std::nullopt;
  std::array<CPackedRow::Colour, 256> colours{};
  for (unsigned value = 0; value < (1u << bits); ++value) {
    const auto line = static_cast<std::uint8_t>(value << (8 - bits));
    ConvertPixel(layout, &line, 0, colours[value].data());
  }
  return CPackedRow(bits, colours.data());
}

bool ReadScanlines(TIFF* tif, const TiffLayout& layout, const COrientedRows& rows,
                   std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize64(tif)));
  std::vector<std::uint8_t> bgr(3 * std::size_t{width});
  const std::optional<CPackedRow> packed = PackedRow(layout);
  if (line.size() * 8 < std::uint64_t{width} * layout.samplesPerPixel * layout.bitsPerSample)
    return false;
  CProgressWalk walk(height);
  for (std::uint32_t y = 0; y < height; ++y) {
    walk.Step(y);
    if (TIFFReadScanline(tif, line.data(), y, 0) < 0)
      return false;
    rows.FillRow(y, bgr.data(), [&](std::uint8_t* out) {
      if (packed) {
        packed->Convert(line.data(), width, out);
        return;
      }
      for (std::uint32_t x = 0; x < width; ++x)
        ConvertPixel(layout, line.data(), x, out + 3 * std::size_t{x});
    });
  }
  return true;
}

// Ends libtiff's conversion however the reading ends.
struct RgbaImage {
  TIFFRGBAImage image{};
  bool begun = false;
  ~RgbaImage() {
    if (begun)
      TIFFRGBAImageEnd(&image);
  }
};

// Bands of whole strips or tiles, so that each is decoded once.
bool ReadRgbaBands(TIFF* tif, const COrientedRows& rows, std::uint32_t width, std::uint32_t height,
                   bool& unsupported, std::string& detail) {
  char message[1024] = "";
  RgbaImage rgba;
  if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&rgba.image, tif, 0, message)) {
    unsupported = true;
    detail = message;
    return false;
  }
  rgba.begun = true;
  // Rows come as stored; the orientation is applied when they are placed.
  rgba.image.req_orientation = ORIENTATION_TOPLEFT;
  rgba.image.orientation = ORIENTATION_TOPLEFT;
  std::uint32_t band = 0;
  if (TIFFIsTiled(tif))
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
  else
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
  band = std::clamp<std::uint32_t>(band, 1, height);
  std::vector<std::uint32_t> raster(std::size_t{width} * band);
  std::vector<std::uint8_t> bgr(3 * std::size_t{width});
  CProgressWalk walk(height);
  for (std::uint32_t top = 0; top < height; top += band) {
    walk.Step(top);
    const std::uint32_t count = std::min(band, height - top);
    rgba.image.row_offset = static_cast<int>(top);
    rgba.image.col_offset = 0;
    if (!TIFFRGBAImageGet(&rgba.image, raster.data(), width, count))
      return false;
    for (std::uint32_t r = 0; r < count; ++r) {
      const std::uint32_t* in = raster.data() + std::size_t{r} * width;
      for (std::uint32_t x = 0; x < width; ++x) {
        // Premultiplied by alpha: over white adds what alpha leaves.
        const unsigned uncovered = 255 - TIFFGetA(in[x]);
        bgr[3 * x] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(in[x]) + uncovered));
        bgr[3 * x + 1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(in[x]) + uncovered));
        bgr[3 * x + 2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(in[x]) + uncovered));
      }
      rows.PutRow(top + r, bgr.data());
    }
  }
  return true;
}

// What libtiff would read without complaint but is no picture: a strip or
// tile at offset 0 (where the file's header is, read as pixels), and complex
// samples (libtiff takes their real parts as if they were the picture).
bool RefusedPage(TIFF* tif, bool& unsupported, std::string& detail) {
  std::uint16_t format = SAMPLEFORMAT_UINT;
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
  if (format == SAMPLEFORMAT_COMPLEXINT || format == SAMPLEFORMAT_COMPLEXIEEEFP) {
    unsupported = true;
    detail = "complex samples (sample format " + std::to_string(format) + ")";
    return true;
  }
  const std::uint32_t count = TIFFNumberOfStrips(tif);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (TIFFGetStrileOffset(tif, i) == 0) {
      TIFFErrorExtR(tif, "picture", "strip %u starts at offset 0, in the file's header", i);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ReadTiffRows(const CTiffFile& tiff, const COrientedRows& rows, tmsize_t maxAllocation,
                  bool& unsupported, std::string& detail) {
  TIFF* tif = tiff.get();
  std::uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  if (RefusedPage(tif, unsupported, detail))
    return false;
  TiffLayout layout;
  if (ScanlineLayout(tif, layout)) {
    // Thousands of samples per pixel make a scan line larger than the
    // picture the budget admitted.
    const std::uint64_t line = TIFFScanlineSize64(tif);
    if (line > static_cast<std::uint64_t>(maxAllocation)) {
      unsupported = true;
      detail = "a scan line of " + std::to_string(line) + " bytes";
      return false;
    }
    return ReadScanlines(tif, layout, rows, width, height);
  }
  return ReadRgbaBands(tif, rows, width, height, unsupported, detail);
}

}  // namespace qov::import
