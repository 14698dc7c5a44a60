// The recording device: calls recorded as made, and the document's bitmap
// layout rendered unstretched and stretched into device pixels.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "tests/support/Bitmap.h"
#include "tests/support/RecordingDC.h"

namespace qov {
namespace {

using Rgb = RecordingDC::Rgb;
constexpr Rgb kWhite{255, 255, 255};

// The colour of column c, row r (counted from the top): distinct everywhere.
Rgb ColourAt(int c, int r) {
  return {static_cast<std::uint8_t>(10 * c + r), static_cast<std::uint8_t>(100 + c),
          static_cast<std::uint8_t>(200 + r)};
}

// A 24-bit bottom-up bitmap with a 40-byte header, split in header and rows
// so that reading past either is caught by the sanitizer build.
struct Dib {
  Dib(int width, int height, std::uint16_t bitCount = 24, std::uint32_t compression = 0)
      : stride((width * 3 + 3) / 4 * 4) {
    test::DibFields fields = test::Fields24(
        test::MakePicture(width, std::abs(height), [](std::int64_t c, std::int64_t r) {
          const Rgb colour = ColourAt(static_cast<int>(c), static_cast<int>(r));
          return test::Bgr{colour.b, colour.g, colour.r};
        }));
    fields.height = height;
    fields.bitCount = bitCount;
    fields.compression = compression;
    const test::Bytes bytes = test::MakeDib(fields);
    header.assign(bytes.begin(), bytes.begin() + 40);
    bits.assign(bytes.begin() + 40, bytes.end());
  }
  std::vector<unsigned char> header;
  int stride;
  std::vector<unsigned char> bits;
};

// Every device pixel: `expect(x, y)` gives the colour, white where nothing
// should be drawn.
template <class Expect>
void ExpectPixels(const RecordingDC& dc, Expect expect) {
  for (std::int64_t y = 0; y < dc.Height(); ++y) {
    for (std::int64_t x = 0; x < dc.Width(); ++x) {
      const Rgb want = expect(x, y);
      const Rgb got = dc.PixelAt(x, y);
      ASSERT_EQ(got, want) << "at " << x << "," << y << ": got " << int{got.b} << " " << int{got.g}
                           << " " << int{got.r};
    }
  }
}

TEST(RecordingDC, UnstretchedDrawsTheWholePictureAtItsPlace) {
  Dib dib(3, 2);
  RecordingDC dc(6, 5);
  EXPECT_EQ(dc.SetDIBitsToDevice(1, 2, 3, 2, 0, 0, 0, 2, dib.bits.data(), dib.header.data(),
                                 DIB_RGB_COLORS),
            2);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
    return inside ? ColourAt(static_cast<int>(x - 1), static_cast<int>(y - 2)) : kWhite;
  });
}

TEST(RecordingDC, UnstretchedSourceOriginIsTheLowerLeftCorner) {
  // The part from column 1, top row 1 to the end, of a 4 × 3 picture: the
  // caller asks for y = height − bottom = 0.
  Dib dib(4, 3);
  RecordingDC dc(4, 3);
  dc.SetDIBitsToDevice(0, 0, 3, 2, 1, 0, 0, 3, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    return x < 3 && y < 2 ? ColourAt(static_cast<int>(x + 1), static_cast<int>(y + 1)) : kWhite;
  });
}

TEST(RecordingDC, StretchedByTwoMakesSquaresOfEachPixel) {
  Dib dib(3, 2);
  RecordingDC dc(7, 5);
  dc.SetStretchBltMode(COLORONCOLOR);
  EXPECT_EQ(dc.StretchDIBits(0, 0, 6, 4, 0, 0, 3, 2, dib.bits.data(), dib.header.data(),
                             DIB_RGB_COLORS, SRCCOPY),
            2);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    return x < 6 && y < 4 ? ColourAt(static_cast<int>(x / 2), static_cast<int>(y / 2)) : kWhite;
  });
}

TEST(RecordingDC, StretchedPartOfThePictureAtScaleFour) {
  // Source rectangle columns 1..2, top rows 0..0 of a 3 × 2 picture:
  // y = height − bottom = 1. Drawn at logical (4, 0), 8 × 4.
  Dib dib(3, 2);
  RecordingDC dc(12, 4);
  dc.StretchDIBits(4, 0, 8, 4, 1, 1, 2, 1, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t) {
    return x >= 4 ? ColourAt(static_cast<int>(1 + (x - 4) / 4), 0) : kWhite;
  });
}

TEST(RecordingDC, ViewportOriginShiftsAndTheDeviceClips) {
  Dib dib(3, 2);
  RecordingDC dc(2, 2);
  dc.SetViewportOrg({-3, -1});
  // Logical (2, 0) .. (8, 4) at scale 2 lands on device (-1, -1) .. (5, 3).
  dc.StretchDIBits(2, 0, 6, 4, 0, 0, 3, 2, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    return ColourAt(static_cast<int>((x + 1) / 2), static_cast<int>((y + 1) / 2));
  });
}

TEST(RecordingDC, OnlyTheRowsTheCallHandsOverAreRead) {
  Dib dib(2, 3);
  // A band of one scan line: bits point at row 1 from the bottom only.
  std::vector<unsigned char> band(dib.bits.begin() + dib.stride, dib.bits.begin() + 2 * dib.stride);
  RecordingDC dc(2, 3);
  EXPECT_EQ(
      dc.SetDIBitsToDevice(0, 0, 2, 3, 0, 0, 1, 1, band.data(), dib.header.data(), DIB_RGB_COLORS),
      1);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    return y == 1 ? ColourAt(static_cast<int>(x), 1) : kWhite;
  });
}

TEST(RecordingDC, SourceBeyondThePictureIsLeftBlank) {
  Dib dib(2, 2);
  RecordingDC dc(4, 6);
  // Rows −2 .. 3 from the bottom of a 2-row picture, columns 0 .. 3 of 2:
  // only rows 1 and 0 exist, at device rows 2 and 3.
  dc.SetDIBitsToDevice(0, 0, 4, 6, 0, -2, 0, 9, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS);
  // Columns 1 .. 2, rows 0 .. 2 from the bottom, unscaled, at device x 2:
  // column 1 of rows 1 and 0 at device rows 1 and 2.
  dc.StretchDIBits(2, 0, 2, 3, 1, 0, 2, 3, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  ExpectPixels(dc, [](std::int64_t x, std::int64_t y) {
    if (x < 2 && (y == 2 || y == 3))
      return ColourAt(static_cast<int>(x), static_cast<int>(y - 2));
    if (x == 2 && (y == 1 || y == 2))
      return ColourAt(1, static_cast<int>(y - 1));
    return kWhite;
  });
}

TEST(RecordingDC, OtherLayoutsAreRecordedButNotRendered) {
  struct Case {
    const char* name;
    std::vector<unsigned char> header;
  };
  const test::Bytes core = test::MakeDib({.headerSize = 12, .width = 2, .height = 2});
  const Case cases[] = {
      {"8 bits", Dib(2, 2, 8).header},
      {"32 bits", Dib(2, 2, 32).header},
      {"run-length", Dib(2, 2, 24, 1).header},
      {"top-down", Dib(2, -2).header},
      {"core header", core},
  };
  Dib pixels(2, 2);
  for (const Case& c : cases) {
    // Exactly the header's own size, so that reading beyond it is caught.
    auto header = std::make_unique<unsigned char[]>(c.header.size());
    std::memcpy(header.get(), c.header.data(), c.header.size());
    RecordingDC dc(2, 2);
    dc.SetDIBitsToDevice(0, 0, 2, 2, 0, 0, 0, 2, pixels.bits.data(), header.get(), DIB_RGB_COLORS);
    dc.StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, pixels.bits.data(), header.get(), DIB_RGB_COLORS,
                     SRCCOPY);
    EXPECT_EQ(dc.Calls().size(), 2u) << c.name;
    ExpectPixels(dc, [](std::int64_t, std::int64_t) { return kWhite; });
  }
}

TEST(RecordingDC, CallsAreRecordedWithTheModeInForce) {
  Dib dib(3, 2);
  RecordingDC dc;
  EXPECT_EQ(dc.SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(dc.StretchMode(), COLORONCOLOR);
  dc.SetDIBitsToDevice(1, 2, 3, 4, 5, 6, 0, 7, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS);
  dc.StretchDIBits(8, 16, 24, 32, 1, 0, 3, 4, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  ASSERT_EQ(dc.Calls().size(), 2u);
  const RecordingDC::Call& plain = dc.Calls()[0];
  EXPECT_EQ(plain.kind, RecordingDC::Call::SetDIBits);
  EXPECT_EQ((std::vector<std::int64_t>{plain.xDest, plain.yDest, plain.destWidth, plain.destHeight,
                                       plain.xSrc, plain.ySrc, plain.srcWidth, plain.srcHeight,
                                       plain.startScan, plain.scanLines}),
            (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 3, 4, 0, 7}));
  const RecordingDC::Call& stretch = dc.Calls()[1];
  EXPECT_EQ(stretch.kind, RecordingDC::Call::Stretch);
  EXPECT_EQ((std::vector<std::int64_t>{stretch.xDest, stretch.yDest, stretch.destWidth,
                                       stretch.destHeight, stretch.xSrc, stretch.ySrc,
                                       stretch.srcWidth, stretch.srcHeight}),
            (std::vector<std::int64_t>{8, 16, 24, 32, 1, 0, 3, 4}));
  EXPECT_EQ(stretch.stretchMode, COLORONCOLOR);
  EXPECT_EQ(dc.Width(), 0);
  EXPECT_THROW(dc.PixelAt(0, 0), std::out_of_range);
}

TEST(RecordingDC, FarOffOrDegenerateCallsDrawNothing) {
  Dib dib(3, 2);
  RecordingDC dc(4, 4);
  const std::int64_t far = std::int64_t{1} << 50;
  dc.StretchDIBits(-far, -far, far * 2, far * 2, 0, 0, 3, 2, dib.bits.data(), dib.header.data(),
                   DIB_RGB_COLORS, SRCCOPY);
  dc.StretchDIBits(0, 0, 0, 4, 0, 0, 3, 2, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  dc.StretchDIBits(0, 0, -4, 4, 0, 0, 3, 2, dib.bits.data(), dib.header.data(), DIB_RGB_COLORS,
                   SRCCOPY);
  EXPECT_EQ(
      dc.SetDIBitsToDevice(0, 0, 3, 2, 0, 0, 0, 2, nullptr, dib.header.data(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(dc.Calls().size(), 4u);
  ExpectPixels(dc, [](std::int64_t, std::int64_t) { return kWhite; });
}

}  // namespace
}  // namespace qov
