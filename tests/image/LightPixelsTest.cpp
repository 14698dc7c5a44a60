// The wide search for dark pixels that the exports and auto trace step over
// paper with: it must find the first pixel with a byte below the level
// wherever that pixel lies in the wide blocks and their parts.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/DibRows.h"

namespace qov::test {
namespace {

template <std::int64_t kBytesPerPixel>
std::int64_t FirstDarkPixel(std::uint8_t level, const std::vector<std::uint8_t>& bytes,
                            std::int64_t count) {
  for (std::int64_t n = 0; n < count; ++n) {
    for (std::int64_t b = 0; b < kBytesPerPixel; ++b) {
      if (bytes[static_cast<std::size_t>(n * kBytesPerPixel + b)] < level)
        return n;
    }
  }
  return count;
}

TEST(LightPixels, FindTheFirstPixelWithADarkerByte) {
  constexpr std::size_t kMostPixels = 128;
  struct Case {
    std::uint8_t level;
    std::int64_t count;
    std::int64_t darkByte;  // the one byte set below the level, or −1
  };
  const Case cases[] = {
      {81, 100, -1},  {81, 100, 0},   {81, 100, 95},  {81, 100, 96},  {81, 100, 143},
      {81, 100, 144}, {81, 100, 191}, {81, 100, 200}, {81, 100, 299}, {81, 40, 110},
      {0, 120, 5},    {1, 100, 50},   {255, 100, -1}, {81, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << int{c.level} << ", count " << c.count
                                    << ", dark byte " << c.darkByte);
    ASSERT_LE(c.count, static_cast<std::int64_t>(kMostPixels));
    std::vector<std::uint8_t> bytes(3 * kMostPixels, 255);
    if (c.darkByte >= 0)
      bytes[static_cast<std::size_t>(c.darkByte)] = c.level == 0 ? 0 : c.level - 1;
    EXPECT_EQ(PixelsNotBelow<3>(c.level, bytes.data(), c.count),
              FirstDarkPixel<3>(c.level, bytes, c.count));
    EXPECT_EQ(PixelsNotBelow<1>(c.level, bytes.data(), c.count),
              FirstDarkPixel<1>(c.level, bytes, c.count));
  }
}

}  // namespace
}  // namespace qov::test
