// Copy and paste: the copy on the clipboard, and paste of every bitmap
// layout another program may put there (and of garbage, which changes
// nothing).

#include <array>
#include <random>
#include <string>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// A packed bitmap as another program would place it on the clipboard.
struct DibFields {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t bitCount = 24;
  std::uint32_t compression = BI_RGB;
  std::uint32_t colorsUsed = 0;
  std::vector<Color3> palette;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue, with BI_BITFIELDS
  std::vector<std::uint8_t> pixels;      // as stored
};

std::vector<std::byte> BuildDib(const DibFields& fields) {
  const bool core = fields.headerSize == 12;
  const bool masksAfterHeader = fields.compression == BI_BITFIELDS && fields.headerSize == 40;
  const std::size_t entry = core ? 3 : 4;
  std::vector<std::byte> dib(fields.headerSize + (masksAfterHeader ? 12 : 0) +
                             entry * fields.palette.size() + fields.pixels.size());
  std::byte* p = dib.data();
  PutLE(p, fields.headerSize, 4);
  if (core) {
    PutLE(p + 4, static_cast<std::uint16_t>(fields.width), 2);
    PutLE(p + 6, static_cast<std::uint16_t>(fields.height), 2);
    PutLE(p + 8, 1, 2);
    PutLE(p + 10, fields.bitCount, 2);
  } else {
    PutLE(p + 4, static_cast<std::uint32_t>(fields.width), 4);
    PutLE(p + 8, static_cast<std::uint32_t>(fields.height), 4);
    PutLE(p + 12, 1, 2);
    PutLE(p + 14, fields.bitCount, 2);
    PutLE(p + 16, fields.compression, 4);
    PutLE(p + 20, fields.pixels.size(), 4);
    PutLE(p + 32, fields.colorsUsed, 4);
    if (fields.compression == BI_BITFIELDS) {
      for (std::size_t i = 0; i < 3; ++i)
        PutLE(p + 40 + 4 * i, fields.masks[i], 4);
    }
  }
  std::byte* q = p + fields.headerSize + (masksAfterHeader ? 12 : 0);
  for (const Color3& c : fields.palette) {
    std::memcpy(q, c.data(), 3);
    q += entry;
  }
  std::memcpy(q, fields.pixels.data(), fields.pixels.size());
  return dib;
}

HGLOBAL ToBlock(const std::vector<std::byte>& bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  if (!bytes.empty())
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

// The picture every layout below encodes: 5 × 3 (odd, so rows are padded).
constexpr std::int32_t kWidth = 5, kHeight = 3;

const std::vector<Color3> kPalette{{10, 20, 30}, {200, 100, 50}, {0, 255, 0}, {255, 255, 255}};

// Palette indices and direct colours in document coordinates (y from 1).
std::uint8_t Index1(std::int64_t x, std::int64_t y) {
  return static_cast<std::uint8_t>((x + y) % 2);
}
std::uint8_t Index4(std::int64_t x, std::int64_t y) {
  return static_cast<std::uint8_t>((x + 2 * y) % 4);
}
// Channels of only 0 and full.
Color3 Primary(std::int64_t x, std::int64_t y) {
  const auto bits = (x + 3 * y) % 8;
  return {static_cast<std::uint8_t>(bits & 1 ? 255 : 0),
          static_cast<std::uint8_t>(bits & 2 ? 255 : 0),
          static_cast<std::uint8_t>(bits & 4 ? 255 : 0)};
}
Color3 Varied(std::int64_t x, std::int64_t y) {
  return {static_cast<std::uint8_t>(x * 40 + y), static_cast<std::uint8_t>(100 + y * 50),
          static_cast<std::uint8_t>(255 - x * 30)};
}

// Rows of `bytesPerRow(row of document y)`, bottom row first unless top-down,
// each padded to 4 bytes.
std::vector<std::uint8_t> StoreRows(
    bool topDown, const std::function<std::vector<std::uint8_t>(std::int64_t)>& row) {
  std::vector<std::uint8_t> pixels;
  for (std::int64_t i = 0; i < kHeight; ++i) {
    const std::int64_t y = topDown ? i + 1 : kHeight - i;
    std::vector<std::uint8_t> bytes = row(y);
    bytes.resize((bytes.size() + 3) / 4 * 4);
    pixels.insert(pixels.end(), bytes.begin(), bytes.end());
  }
  return pixels;
}

using IndexFunction = std::uint8_t (*)(std::int64_t, std::int64_t);

std::vector<std::uint8_t> PackedIndices(unsigned bits, IndexFunction index, std::int64_t y) {
  std::vector<std::uint8_t> row((kWidth * bits + 7) / 8);
  for (std::int64_t x = 0; x < kWidth; ++x) {
    const std::size_t bit = static_cast<std::size_t>(x) * bits;
    row[bit / 8] |= static_cast<std::uint8_t>(index(x, y) << (8 - bits - bit % 8));
  }
  return row;
}

std::vector<std::uint8_t> Direct(int bytes, Color3 (*color)(std::int64_t, std::int64_t),
                                 const std::function<std::uint32_t(Color3)>& encode,
                                 std::int64_t y) {
  std::vector<std::uint8_t> row;
  for (std::int64_t x = 0; x < kWidth; ++x) {
    const std::uint32_t v = encode(color(x, y));
    for (int i = 0; i < bytes; ++i)
      row.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  return row;
}

// The top `bits` bits of channel value v, moved to `shift`.
std::uint32_t Channel(std::uint8_t v, int bits, int shift) {
  return static_cast<std::uint32_t>(v >> (8 - bits)) << shift;
}

// A channel of n bits comes back in the top n bits of its byte (31 → 248),
// as 16-bit files are read.
std::uint8_t Widened(std::uint8_t v, int bits) {
  return static_cast<std::uint8_t>(v >> (8 - bits) << (8 - bits));
}
Color3 Primary555(std::int64_t x, std::int64_t y) {
  const Color3 c = Primary(x, y);
  return {Widened(c[0], 5), Widened(c[1], 5), Widened(c[2], 5)};
}
Color3 Primary565(std::int64_t x, std::int64_t y) {
  const Color3 c = Primary(x, y);
  return {Widened(c[0], 5), Widened(c[1], 6), Widened(c[2], 5)};
}

std::uint32_t Bgr(Color3 c) {
  return Channel(c[0], 8, 0) | Channel(c[1], 8, 8) | Channel(c[2], 8, 16);
}

struct PasteCase {
  const char* name;
  DibFields fields;
  std::function<Color3(std::int64_t, std::int64_t)> expected;
};

DibFields Indexed(std::uint32_t headerSize, std::uint16_t bits, IndexFunction index,
                  bool topDown = false) {
  DibFields fields;
  fields.headerSize = headerSize;
  fields.width = kWidth;
  fields.height = topDown ? -kHeight : kHeight;
  fields.bitCount = bits;
  fields.palette = kPalette;
  fields.palette.resize(std::size_t{1} << bits, Color3{1, 1, 1});
  fields.pixels = StoreRows(topDown, [&](std::int64_t y) { return PackedIndices(bits, index, y); });
  return fields;
}

DibFields DirectSpec(std::uint32_t headerSize, std::uint16_t bits, std::uint32_t compression,
                     Color3 (*color)(std::int64_t, std::int64_t),
                     const std::function<std::uint32_t(Color3)>& encode, bool topDown = false) {
  DibFields fields;
  fields.headerSize = headerSize;
  fields.width = kWidth;
  fields.height = topDown ? -kHeight : kHeight;
  fields.bitCount = bits;
  fields.compression = compression;
  fields.pixels =
      StoreRows(topDown, [&](std::int64_t y) { return Direct(bits / 8, color, encode, y); });
  return fields;
}

// Run-length rows: row 3 (the bottom, stored first) in absolute mode, the
// others as runs of one pixel; end of line after each, end of bitmap last.
DibFields RunLength8() {
  DibFields fields = Indexed(40, 8, Index4);
  fields.compression = BI_RLE8;
  fields.pixels.clear();
  for (std::int64_t y = kHeight; y >= 1; --y) {
    if (y == kHeight) {
      fields.pixels.insert(fields.pixels.end(), {0, kWidth});
      for (std::int64_t x = 0; x < kWidth; ++x)
        fields.pixels.push_back(static_cast<std::uint8_t>(Index4(x, y)));
      fields.pixels.push_back(0);  // absolute runs are padded to a word
    } else {
      for (std::int64_t x = 0; x < kWidth; ++x) {
        fields.pixels.insert(fields.pixels.end(), {1, static_cast<std::uint8_t>(Index4(x, y))});
      }
    }
    fields.pixels.insert(fields.pixels.end(), {0, 0});
  }
  fields.pixels.insert(fields.pixels.end(), {0, 1});
  return fields;
}

DibFields RunLength4() {
  DibFields fields = Indexed(40, 4, Index4);
  fields.compression = BI_RLE4;
  fields.pixels.clear();
  for (std::int64_t y = kHeight; y >= 1; --y) {
    // Runs of two alternating nibbles, then the odd last pixel alone.
    for (std::int64_t x = 0; x + 1 < kWidth; x += 2) {
      fields.pixels.insert(fields.pixels.end(),
                           {2, static_cast<std::uint8_t>(Index4(x, y) << 4 | Index4(x + 1, y))});
    }
    fields.pixels.insert(fields.pixels.end(),
                         {1, static_cast<std::uint8_t>(Index4(kWidth - 1, y) << 4)});
    fields.pixels.insert(fields.pixels.end(), {0, 0});
  }
  fields.pixels.insert(fields.pixels.end(), {0, 1});
  return fields;
}

DibFields WithMasks(DibFields fields, std::array<std::uint32_t, 3> masks) {
  fields.masks = masks;
  return fields;
}

DibFields ShortPalette() {
  DibFields fields = Indexed(40, 8, Index4);
  fields.palette = kPalette;
  fields.colorsUsed = 4;
  return fields;
}

std::vector<PasteCase> PasteCases() {
  const auto palette1 = [](std::int64_t x, std::int64_t y) { return kPalette[Index1(x, y)]; };
  const auto palette4 = [](std::int64_t x, std::int64_t y) { return kPalette[Index4(x, y)]; };
  const auto rgb555 = [](Color3 c) {
    return Channel(c[2], 5, 10) | Channel(c[1], 5, 5) | Channel(c[0], 5, 0);
  };
  const auto rgb565 = [](Color3 c) {
    return Channel(c[2], 5, 11) | Channel(c[1], 6, 5) | Channel(c[0], 5, 0);
  };
  // Unusual masks: blue in the top byte, green in the third, red in the second.
  const auto shuffled = [](Color3 c) {
    return Channel(c[0], 8, 24) | Channel(c[1], 8, 16) | Channel(c[2], 8, 8);
  };
  const std::array<std::uint32_t, 3> masks565{0xF800, 0x07E0, 0x001F};
  const std::array<std::uint32_t, 3> masksShuffled{0x0000FF00, 0x00FF0000, 0xFF000000};
  return {
      {"1 bit", Indexed(40, 1, Index1), palette1},
      {"4 bits", Indexed(40, 4, Index4), palette4},
      {"8 bits", Indexed(40, 8, Index4), palette4},
      {"8 bits, 4 colours used", ShortPalette(), palette4},
      {"8 bits, top-down", Indexed(40, 8, Index4, true), palette4},
      {"8 bits, core header", Indexed(12, 8, Index4), palette4},
      {"1 bit, core header", Indexed(12, 1, Index1), palette1},
      {"4 bits, 108-byte header", Indexed(108, 4, Index4), palette4},
      {"8 bits, 124-byte header", Indexed(124, 8, Index4), palette4},
      {"8 bits, run-length", RunLength8(), palette4},
      {"4 bits, run-length", RunLength4(), palette4},
      {"16 bits 5-5-5", DirectSpec(40, 16, BI_RGB, Primary, rgb555), Primary555},
      {"16 bits 5-6-5 masks",
       WithMasks(DirectSpec(40, 16, BI_BITFIELDS, Primary, rgb565), masks565), Primary565},
      {"16 bits 5-6-5, 52-byte header",
       WithMasks(DirectSpec(52, 16, BI_BITFIELDS, Primary, rgb565), masks565), Primary565},
      {"24 bits", DirectSpec(40, 24, BI_RGB, Varied, Bgr), Varied},
      {"24 bits, top-down", DirectSpec(40, 24, BI_RGB, Varied, Bgr, true), Varied},
      {"24 bits, core header", DirectSpec(12, 24, BI_RGB, Varied, Bgr), Varied},
      {"24 bits, 108-byte header", DirectSpec(108, 24, BI_RGB, Varied, Bgr), Varied},
      {"32 bits", DirectSpec(40, 32, BI_RGB, Varied, Bgr), Varied},
      {"32 bits, masks",
       WithMasks(DirectSpec(40, 32, BI_BITFIELDS, Varied, shuffled), masksShuffled), Varied},
      {"32 bits, masks, 56-byte header",
       WithMasks(DirectSpec(56, 32, BI_BITFIELDS, Varied, shuffled), masksShuffled), Varied},
      {"32 bits, masks, 124-byte header",
       WithMasks(DirectSpec(124, 32, BI_BITFIELDS, Varied, shuffled), masksShuffled), Varied},
  };
}

class ClipboardTest : public ViewTest {};

TEST_F(ClipboardTest, CopyPlacesADuplicateOfThePicture) {
  SetPicture(7, 4, Varied);
  ASSERT_TRUE(Run(ID_EDIT_COPY));
  const HGLOBAL copy = backend().PeekClipboardData(CF_DIB);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, doc.m_hDib);
  EXPECT_EQ(BytesOf(copy), BytesOf(doc.m_hDib));
  EXPECT_FALSE(backend().IsClipboardOpen());
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
  EXPECT_GT(backend().WaitCursorBegins(), 0);
}

TEST_F(ClipboardTest, CopyIsRefusedWithoutPicture) {
  backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
  EXPECT_FALSE(Run(ID_EDIT_COPY));
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
}

TEST_F(ClipboardTest, PasteConvertsEveryBitmapLayoutToTheUniformPicture) {
  for (const PasteCase& c : PasteCases()) {
    SCOPED_TRACE(c.name);
    SetPicture(2, 2, Uniform(kBlack));
    doc.SetModifiedFlag(false);
    view.m_nScale = 4;
    backend().PutClipboardData(CF_DIB, ToBlock(BuildDib(c.fields)));
    const int invalidates = host.InvalidateCount();
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    {
      CGlobalLock lock(doc.m_hDib);
      ASSERT_EQ(GetLE(lock.get(), 4), 40u);
      ASSERT_EQ(GetLE(lock.get() + 14, 2), 24u);
      ASSERT_EQ(GetLE(lock.get() + 16, 4), 0u);  // uncompressed
    }
    ASSERT_EQ(BytesOf(doc.m_hDib).width, kWidth);
    ASSERT_EQ(BytesOf(doc.m_hDib).height, kHeight);
    for (std::int64_t y = 1; y <= kHeight; ++y) {
      for (std::int64_t x = 0; x < kWidth; ++x) {
        EXPECT_EQ(Pixel(x, y), c.expected(x, y)) << "at " << x << "," << y;
      }
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.GetTotalSize(), (CSize{kWidth * 4, kHeight * 4}));
    EXPECT_GT(host.InvalidateCount(), invalidates);
    // The clipboard keeps its own block.
    EXPECT_NE(backend().PeekClipboardData(CF_DIB), doc.m_hDib);
    EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
  }
}

// Every raster command stays inside a pasted picture, whatever its layout
// was (under the sanitizers a read or write outside the block fails here).
TEST_F(ClipboardTest, PastedPicturesTakeEveryCommand) {
  for (const PasteCase& c : PasteCases()) {
    SCOPED_TRACE(c.name);
    for (const UINT command : {ID_DITHER1, ID_DITHER2, ID_ERROR_DIFFUSION, ID_OUTLINE}) {
      backend().PutClipboardData(CF_DIB, ToBlock(BuildDib(c.fields)));
      ASSERT_TRUE(Run(ID_EDIT_PASTE));
      ASSERT_TRUE(Run(command));
      ASSERT_TRUE(RunThreshold(50, true));
      EXPECT_EQ(BytesOf(doc.m_hDib).width, kWidth);
      EXPECT_EQ(BytesOf(doc.m_hDib).height, kHeight);
    }
  }
}

std::vector<std::pair<std::string, std::vector<std::byte>>> GarbageCases() {
  std::vector<std::pair<std::string, std::vector<std::byte>>> cases;
  const auto add = [&](std::string name, DibFields fields,
                       const std::function<void(std::vector<std::byte>&)>& spoil = {}) {
    std::vector<std::byte> bytes = BuildDib(fields);
    if (spoil)
      spoil(bytes);
    cases.emplace_back(std::move(name), std::move(bytes));
  };
  const DibFields good = DirectSpec(40, 24, BI_RGB, Varied, Bgr);
  add("one byte", good, [](auto& b) { b.resize(1); });
  add("header cut short", good, [](auto& b) { b.resize(30); });
  add("124-byte header in 60 bytes", DirectSpec(124, 24, BI_RGB, Varied, Bgr),
      [](auto& b) { b.resize(60); });
  add("header size beyond the data", good, [](auto& b) { PutLE(b.data(), 100000, 4); });
  add("header size 0", good, [](auto& b) { PutLE(b.data(), 0, 4); });
  add("width 0", good, [](auto& b) { PutLE(b.data() + 4, 0, 4); });
  add("negative width", good, [](auto& b) { PutLE(b.data() + 4, 0xFFFFFFFB, 4); });
  add("height 0", good, [](auto& b) { PutLE(b.data() + 8, 0, 4); });
  add("pixels cut short", good, [](auto& b) { b.resize(b.size() - 7); });
  add("huge size, little data", good, [](auto& b) {
    PutLE(b.data() + 4, 100000, 4);
    PutLE(b.data() + 8, 100000, 4);
  });
  add("most negative height", good, [](auto& b) { PutLE(b.data() + 8, 0x80000000, 4); });
  add("bit count 7", good, [](auto& b) { PutLE(b.data() + 14, 7, 2); });
  add("bit count 0", good, [](auto& b) { PutLE(b.data() + 14, 0, 2); });
  add("unknown compression", good, [](auto& b) { PutLE(b.data() + 16, 99, 4); });
  add("palette beyond the data", Indexed(40, 8, Index4),
      [](auto& b) { PutLE(b.data() + 32, 100000, 4); });
  add("core header cut short", Indexed(12, 8, Index4), [](auto& b) { b.resize(12 + 100); });
  std::mt19937 random(7);
  for (const std::size_t size : {std::size_t{16}, std::size_t{64}, std::size_t{500}}) {
    std::vector<std::byte> bytes(size);
    for (auto& b : bytes)
      b = static_cast<std::byte>(random());
    cases.emplace_back("random " + std::to_string(size), bytes);
    PutLE(bytes.data(), 40, 4);
    cases.emplace_back("random with a 40-byte header size " + std::to_string(size), bytes);
  }
  return cases;
}

TEST_F(ClipboardTest, PasteOfGarbageChangesNothing) {
  for (const auto& [name, bytes] : GarbageCases()) {
    SCOPED_TRACE(name);
    SetPicture(3, 2, Varied);
    const HGLOBAL picture = doc.m_hDib;
    const PictureBytes before = BytesOf(picture);
    const CSize total = view.GetTotalSize();
    doc.SetModifiedFlag(false);
    backend().PutClipboardData(CF_DIB, ToBlock(bytes));
    const int invalidates = host.InvalidateCount();
    Run(ID_EDIT_PASTE);
    EXPECT_EQ(doc.m_hDib, picture);
    EXPECT_EQ(BytesOf(doc.m_hDib), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.GetTotalSize(), total);
    EXPECT_EQ(host.InvalidateCount(), invalidates);
    EXPECT_TRUE(backend().Messages().empty());
    EXPECT_FALSE(backend().IsClipboardOpen());
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
  }
}

TEST_F(ClipboardTest, RefusedClipboardIsASilentNoOp) {
  SetPicture(3, 2, Varied);
  const PictureBytes before = BytesOf(doc.m_hDib);
  backend().PutClipboardData(CF_DIB, MakeDib24(4, 4, Uniform(kBlack)));
  backend().SetClipboardRefused(true);
  ASSERT_TRUE(Run(ID_EDIT_PASTE));
  EXPECT_EQ(BytesOf(doc.m_hDib), before);
  ASSERT_TRUE(Run(ID_EDIT_COPY));
  EXPECT_EQ(BytesOf(backend().PeekClipboardData(CF_DIB)).width, 4);
  EXPECT_TRUE(backend().Messages().empty());
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
}

}  // namespace
}  // namespace qov::test
