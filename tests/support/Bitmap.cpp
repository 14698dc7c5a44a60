#include "tests/support/Bitmap.h"

#include <cstdlib>
#include <cstring>

#include "tests/support/TempDir.h"

namespace qov::test {
namespace {

std::uint32_t Get32(const std::byte* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | std::to_integer<std::uint32_t>(p[i]);
  return v;
}

void Put(Bytes& out, std::size_t at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

Picture MakePicture(const std::vector<std::vector<Bgr>>& rows) {
  Picture p;
  p.height = static_cast<std::int64_t>(rows.size());
  p.width = rows.empty() ? 0 : static_cast<std::int64_t>(rows[0].size());
  for (const auto& row : rows)
    p.pixels.insert(p.pixels.end(), row.begin(), row.end());
  return p;
}

Picture MakePicture(std::int64_t width, std::int64_t height,
                    const std::function<Bgr(std::int64_t x, std::int64_t y)>& pixel) {
  Picture p{width, height, {}};
  for (std::int64_t y = 0; y < height; ++y) {
    for (std::int64_t x = 0; x < width; ++x)
      p.pixels.push_back(pixel(x, y));
  }
  return p;
}

Picture PictureOfBlock(HGLOBAL h) {
  Picture p;
  if (!h) {
    ADD_FAILURE() << "no block";
    return p;
  }
  const CGlobalLock lock(h);
  const std::byte* b = lock.get();
  EXPECT_GE(lock.size(), 40u);
  if (lock.size() < 40)
    return {};
  EXPECT_EQ(Get32(b), 40u) << "header size";
  EXPECT_EQ(Get32(b + 12) >> 16, 24u) << "bit count";
  EXPECT_EQ(Get32(b + 16), 0u) << "compression";
  EXPECT_EQ(Get32(b + 32), 0u) << "colours used";
  p.width = static_cast<std::int32_t>(Get32(b + 4));
  p.height = static_cast<std::int32_t>(Get32(b + 8));
  EXPECT_GT(p.width, 0);
  EXPECT_GT(p.height, 0);
  if (p.width <= 0 || p.height <= 0)
    return {};
  const std::size_t stride = (3 * static_cast<std::size_t>(p.width) + 3) / 4 * 4;
  EXPECT_EQ(lock.size(), 40 + stride * static_cast<std::size_t>(p.height)) << "block size";
  if (lock.size() < 40 + stride * static_cast<std::size_t>(p.height))
    return {};
  p.pixels.resize(static_cast<std::size_t>(p.width * p.height));
  for (std::int64_t y = 0; y < p.height; ++y) {
    const std::byte* row = b + 40 + stride * static_cast<std::size_t>(p.height - 1 - y);
    for (std::int64_t x = 0; x < p.width; ++x)
      std::memcpy(p.At(x, y).data(), row + 3 * x, 3);
  }
  return p;
}

::testing::AssertionResult NearPicture(const Picture& actual, const Picture& expected,
                                       int tolerance) {
  if (actual.width != expected.width || actual.height != expected.height) {
    return ::testing::AssertionFailure()
           << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
           << "x" << expected.height;
  }
  for (std::int64_t y = 0; y < actual.height; ++y) {
    for (std::int64_t x = 0; x < actual.width; ++x) {
      const Bgr& a = actual.At(x, y);
      const Bgr& e = expected.At(x, y);
      for (std::size_t c = 0; c < 3; ++c) {
        if (std::abs(int{a[c]} - int{e[c]}) > tolerance) {
          return ::testing::AssertionFailure()
                 << "pixel (" << x << ", " << y << ") from the top is " << int{a[0]} << ","
                 << int{a[1]} << "," << int{a[2]} << ", expected " << int{e[0]} << "," << int{e[1]}
                 << "," << int{e[2]} << " (blue, green, red)";
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SamePicture(const Picture& actual, const Picture& expected) {
  return NearPicture(actual, expected, 0);
}

Bytes MakeDib(const DibFields& fields) {
  const bool core = fields.headerSize == 12;
  Bytes out(fields.headerSize, 0);
  Put(out, 0, fields.headerSize, 4);
  if (core) {
    Put(out, 4, static_cast<std::uint16_t>(fields.width), 2);
    Put(out, 6, static_cast<std::uint16_t>(fields.height), 2);
    Put(out, 8, fields.planes, 2);
    Put(out, 10, fields.bitCount, 2);
  } else {
    Put(out, 4, static_cast<std::uint32_t>(fields.width), 4);
    Put(out, 8, static_cast<std::uint32_t>(fields.height), 4);
    Put(out, 12, fields.planes, 2);
    Put(out, 14, fields.bitCount, 2);
    Put(out, 16, fields.compression, 4);
    Put(out, 20, fields.imageSize, 4);
    Put(out, 32, fields.clrUsed, 4);
  }
  const bool masksInside = fields.headerSize > 40;
  if (!fields.masks.empty()) {
    const std::size_t at = masksInside ? 40 : out.size();
    if (!masksInside)
      out.resize(out.size() + 4 * fields.masks.size());
    for (std::size_t i = 0; i < fields.masks.size() && at + 4 * i + 4 <= out.size(); ++i) {
      Put(out, at + 4 * i, fields.masks[i], 4);
    }
  }
  for (const Bgr& entry : fields.colorTable) {
    out.insert(out.end(), entry.begin(), entry.end());
    if (!core)
      out.push_back(0);
  }
  out.insert(out.end(), fields.pixels.begin(), fields.pixels.end());
  return out;
}

Bytes MakeBmpFile(const DibFields& fields) {
  const Bytes dib = MakeDib(fields);
  Bytes out(14, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put(out, 2, 14 + dib.size(), 4);
  Put(out, 10, 14 + dib.size() - fields.pixels.size(), 4);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

Bytes PackRows(unsigned bitCount, const std::vector<std::vector<std::uint32_t>>& rowsFromTop,
               bool topDown) {
  Bytes out;
  const std::size_t n = rowsFromTop.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto& row = rowsFromTop[topDown ? i : n - 1 - i];
    const std::size_t stride = ((bitCount * row.size() + 31) / 32) * 4;
    Bytes packed(stride, 0);
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (bitCount < 8) {
        const std::size_t bit = x * bitCount;
        packed[bit / 8] |= static_cast<std::uint8_t>(row[x] << (8 - bitCount - bit % 8));
      } else {
        Put(packed, x * bitCount / 8, row[x], static_cast<int>(bitCount / 8));
      }
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

DibFields Fields24(const Picture& picture) {
  std::vector<std::vector<std::uint32_t>> rows(static_cast<std::size_t>(picture.height));
  for (std::int64_t y = 0; y < picture.height; ++y) {
    for (std::int64_t x = 0; x < picture.width; ++x) {
      const Bgr& c = picture.At(x, y);
      rows[static_cast<std::size_t>(y)].push_back(std::uint32_t{c[2]} << 16 |
                                                  std::uint32_t{c[1]} << 8 | c[0]);
    }
  }
  DibFields fields;
  fields.width = static_cast<std::int32_t>(picture.width);
  fields.height = static_cast<std::int32_t>(picture.height);
  fields.pixels = PackRows(24, rows);
  return fields;
}

CGlobalOwner BlockOf(const Bytes& bytes) {
  CGlobalOwner block = GlobalAllocOwned(GHND, bytes.size());
  if (block && !bytes.empty()) {
    const CGlobalLock lock(block.get());
    std::memcpy(lock.get(), bytes.data(), bytes.size());
  }
  return block;
}

CGlobalOwner BlockOf(const Picture& picture) {
  return BlockOf(MakeDib(Fields24(picture)));
}

Bytes ReadBytes(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  return Bytes(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  WriteFileBytes(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

void WriteBmp(const std::string& path, const Picture& picture) {
  WriteBytes(path, MakeBmpFile(Fields24(picture)));
}

}  // namespace qov::test
