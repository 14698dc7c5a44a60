// A device context that records drawing calls and renders the bitmaps the
// document holds (24 bits per pixel, 40-byte header, bottom-up, no
// compression) into memory. Other layouts are only recorded.

#include "tests/support/RecordingDC.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <utility>

namespace qov {

namespace {

// Products of a device offset and a source size need more than 64 bits when
// a caller passes far-off coordinates.
__extension__ typedef __int128 Wide;

// Coordinates beyond this are nothing a view or a printer draws; such calls
// are recorded but not rendered.
constexpr std::int64_t kMaxCoordinate = std::int64_t{1} << 40;

constexpr RecordingDC::Rgb kWhite{255, 255, 255};

std::uint32_t ReadU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct DibLayout {
  std::int64_t width, height, stride;
};

// The layout of a bitmap this device can render, or nothing. The header's
// size is read before anything else, so that a shorter header is never read
// past its end.
std::optional<DibLayout> RenderableLayout(const void* info) {
  if (!info)
    return std::nullopt;
  const auto* header = static_cast<const unsigned char*>(info);
  if (ReadU32(header) != 40)
    return std::nullopt;
  const auto width = static_cast<std::int32_t>(ReadU32(header + 4));
  const auto height = static_cast<std::int32_t>(ReadU32(header + 8));
  const unsigned bitCount = header[14] | static_cast<unsigned>(header[15]) << 8;
  const std::uint32_t compression = ReadU32(header + 16);
  if (bitCount != 24 || compression != 0 || width <= 0 || height <= 0)
    return std::nullopt;
  const std::int64_t stride = (std::int64_t{width} * 24 + 31) / 32 * 4;
  return DibLayout{width, height, stride};
}

bool WithinLimits(std::initializer_list<std::int64_t> values) {
  return std::all_of(values.begin(), values.end(),
                     [](std::int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; });
}

// A rectangle in device pixels, or in bitmap pixels with y counted from the
// bottom row.
struct Span {
  std::int64_t pos, size;
};

// What one drawing call puts where. The rows the bits pointer holds are
// `firstRow` .. `firstRow + rowCount − 1`, counted from the bottom.
struct Blit {
  Span destX, destY, srcX, srcY;
  std::int64_t firstRow, rowCount;
  const unsigned char* bits;
  DibLayout dib;
};

// The first and one-past-last device index of `dest` that lie on a device
// of `extent` pixels.
std::pair<std::int64_t, std::int64_t> Visible(Span dest, std::int64_t extent) {
  return {std::clamp<std::int64_t>(dest.pos, 0, extent),
          std::clamp<std::int64_t>(dest.pos + dest.size, 0, extent)};
}

// The source index that device offset `offset` into `dest` samples.
std::int64_t SourceIndex(std::int64_t offset, Span dest, Span src) {
  return src.pos + static_cast<std::int64_t>(Wide{offset} * src.size / dest.size);
}

void Render(const Blit& blit, std::vector<RecordingDC::Rgb>& pixels, std::int64_t width,
            std::int64_t height) {
  const auto [top, bottom] = Visible(blit.destY, height);
  const auto [left, right] = Visible(blit.destX, width);
  if (left >= right)
    return;
  // Every device row samples the same columns: find them once.
  std::vector<std::int64_t> columns(static_cast<std::size_t>(right - left));
  for (std::int64_t x = left; x < right; ++x) {
    columns[static_cast<std::size_t>(x - left)] =
        SourceIndex(x - blit.destX.pos, blit.destX, blit.srcX);
  }
  const std::int64_t rowsBegin = std::max<std::int64_t>(blit.firstRow, 0);
  const std::int64_t rowsEnd = std::min(blit.dib.height, blit.firstRow + blit.rowCount);
  for (std::int64_t y = top; y < bottom; ++y) {
    // Destination rows run downwards, source rows upwards.
    const std::int64_t fromTop = SourceIndex(y - blit.destY.pos, blit.destY, {0, blit.srcY.size});
    const std::int64_t row = blit.srcY.pos + blit.srcY.size - 1 - fromTop;
    if (row < rowsBegin || row >= rowsEnd)
      continue;
    const unsigned char* line = blit.bits + (row - blit.firstRow) * blit.dib.stride;
    RecordingDC::Rgb* out = &pixels[static_cast<std::size_t>(y * width)];
    for (std::int64_t x = left; x < right; ++x) {
      const std::int64_t column = columns[static_cast<std::size_t>(x - left)];
      if (column < 0 || column >= blit.dib.width)
        continue;
      const unsigned char* p = line + column * 3;
      out[x] = {p[0], p[1], p[2]};
    }
  }
}

// A count of scan lines as the drawing calls return it.
int ToScanLines(Wide n) {
  return static_cast<int>(std::clamp<Wide>(n, 0, INT_MAX));
}

}  // namespace

RecordingDC::RecordingDC(std::int64_t width, std::int64_t height, bool printing)
    : m_width(std::max<std::int64_t>(width, 0)),
      m_height(std::max<std::int64_t>(height, 0)),
      m_bPrinting(printing),
      m_pixels(static_cast<std::size_t>(m_width * m_height), kWhite) {}

RecordingDC::Rgb RecordingDC::PixelAt(std::int64_t x, std::int64_t y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
    throw std::out_of_range("pixel outside the recorded device");
  }
  return m_pixels[static_cast<std::size_t>(y * m_width + x)];
}

int RecordingDC::SetStretchBltMode(int mode) {
  return std::exchange(m_nStretchMode, mode);
}

int RecordingDC::SetDIBitsToDevice(std::int64_t xDest, std::int64_t yDest, std::int64_t width,
                                   std::int64_t height, std::int64_t xSrc, std::int64_t ySrc,
                                   std::int64_t startScan, std::int64_t scanLines, const void* bits,
                                   const void* info, UINT /*colorUse*/) {
  m_calls.push_back({Call::SetDIBits, xDest, yDest, width, height, xSrc, ySrc, width, height,
                     startScan, scanLines, m_nStretchMode});
  if (!bits || !info)
    return 0;
  const std::optional<DibLayout> dib = RenderableLayout(info);
  const CPoint org = GetViewportOrg();
  if (dib && width > 0 && height > 0 &&
      WithinLimits({xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines, org.x, org.y})) {
    Render({{xDest + org.x, width},
            {yDest + org.y, height},
            {xSrc, width},
            {ySrc, height},
            startScan,
            scanLines,
            static_cast<const unsigned char*>(bits),
            *dib},
           m_pixels, m_width, m_height);
  }
  // The scan lines of the band that the source rectangle covers.
  const Wide first = std::max<Wide>(ySrc, startScan);
  const Wide last = std::min<Wide>(Wide{ySrc} + height, Wide{startScan} + scanLines);
  return ToScanLines(last - first);
}

int RecordingDC::StretchDIBits(std::int64_t xDest, std::int64_t yDest, std::int64_t destWidth,
                               std::int64_t destHeight, std::int64_t xSrc, std::int64_t ySrc,
                               std::int64_t srcWidth, std::int64_t srcHeight, const void* bits,
                               const void* info, UINT /*colorUse*/, DWORD /*rop*/) {
  m_calls.push_back({Call::Stretch, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth,
                     srcHeight, 0, 0, m_nStretchMode});
  if (!bits || !info)
    return 0;
  const std::optional<DibLayout> dib = RenderableLayout(info);
  const CPoint org = GetViewportOrg();
  if (dib && destWidth > 0 && destHeight > 0 && srcWidth > 0 && srcHeight > 0 &&
      WithinLimits(
          {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, org.x, org.y})) {
    Render({{xDest + org.x, destWidth},
            {yDest + org.y, destHeight},
            {xSrc, srcWidth},
            {ySrc, srcHeight},
            0,
            dib->height,
            static_cast<const unsigned char*>(bits),
            *dib},
           m_pixels, m_width, m_height);
  }
  return ToScanLines(srcHeight);
}

void RecordingDC::Polyline(const std::vector<CPoint>& points, std::uint32_t rgb) {
  Call call{};
  call.kind = Call::Polyline;
  call.points = points;
  call.rgb = rgb;
  m_calls.push_back(call);
}

}  // namespace qov
