#pragma once
// What the view and raster tests share: a document and a view on the
// headless backend, pictures built pixel by pixel, and direct reads of the
// block that do not go through the pixel operations under test.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "image/QOV_V2Doc.h"
#include "platform/CmdTarget.h"
#include "platform/Dialog.h"
#include "platform/GlobalMemory.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "res/Resource.h"
#include "view/QOV_V2View.h"

namespace qov::test {

// A colour for each pixel in document coordinates: x from 0 to w − 1, y from
// 1 (top row) to h (bottom row).
using PixelFunction = std::function<Color3(std::int64_t x, std::int64_t y)>;

inline constexpr Color3 kWhite{255, 255, 255};
inline constexpr Color3 kBlack{0, 0, 0};
inline constexpr Color3 kDarkGray{80, 80, 80};
inline constexpr Color3 kLightGray{230, 230, 230};

inline std::size_t RowStride(std::int64_t width) {
  return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

inline void PutLE(std::byte* p, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    p[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

inline std::uint64_t GetLE(const std::byte* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = (value << 8) | std::to_integer<std::uint64_t>(p[i]);
  return value;
}

// A 24-bit block with a 40-byte header, as the file reader makes them.
inline HGLOBAL MakeDib24(std::int64_t width, std::int64_t height, const PixelFunction& pixel) {
  const std::size_t stride = RowStride(width);
  HGLOBAL h = GlobalAlloc(GHND, 40 + stride * static_cast<std::size_t>(height));
  CGlobalLock lock(h);
  std::byte* p = lock.get();
  PutLE(p, 40, 4);
  PutLE(p + 4, static_cast<std::uint64_t>(width), 4);
  PutLE(p + 8, static_cast<std::uint64_t>(height), 4);
  PutLE(p + 12, 1, 2);
  PutLE(p + 14, 24, 2);
  for (std::int64_t y = 1; y <= height; ++y) {
    std::byte* row = p + 40 + stride * static_cast<std::size_t>(height - y);
    for (std::int64_t x = 0; x < width; ++x) {
      const Color3 c = pixel(x, y);
      std::memcpy(row + 3 * x, c.data(), 3);
    }
  }
  return h;
}

inline PixelFunction Uniform(Color3 c) {
  return [c](std::int64_t, std::int64_t) { return c; };
}

// Pictures drawn as text, one letter per pixel, rows from the top: '.'
// white, 'K' black, 'G' dark grey (80), 'g' light grey (230).
inline Color3 ColorOfLetter(char letter) {
  switch (letter) {
    case 'K':
      return kBlack;
    case 'G':
      return kDarkGray;
    case 'g':
      return kLightGray;
    default:
      return kWhite;
  }
}

inline char LetterOfColor(const Color3& c) {
  if (c == kBlack)
    return 'K';
  if (c == kDarkGray)
    return 'G';
  if (c == kLightGray)
    return 'g';
  if (c == kWhite)
    return '.';
  return '?';
}

inline PixelFunction FromRows(std::vector<std::string> rows) {
  return [rows = std::move(rows)](std::int64_t x, std::int64_t y) {
    return ColorOfLetter(rows[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x)]);
  };
}

// Reads pixel (x, y), y from 1 (top) to the height (bottom), straight from
// the document's block.
inline Color3 PixelOf(const CQOV_V2Doc& doc, std::int64_t x, std::int64_t y) {
  CGlobalLock lock(doc.m_hDib);
  const std::byte* p = lock.get();
  const std::int64_t width = static_cast<std::int32_t>(GetLE(p + 4, 4));
  const std::int64_t height = static_cast<std::int32_t>(GetLE(p + 8, 4));
  EXPECT_TRUE(x >= 0 && x < width && y >= 1 && y <= height);
  const std::byte* px = p + 40 + RowStride(width) * static_cast<std::size_t>(height - y) +
                        3 * static_cast<std::size_t>(x);
  Color3 c{};
  std::memcpy(c.data(), px, 3);
  return c;
}

inline std::vector<std::string> RowsOf(const CQOV_V2Doc& doc, std::int64_t width,
                                       std::int64_t height) {
  std::vector<std::string> rows;
  for (std::int64_t y = 1; y <= height; ++y) {
    std::string row;
    for (std::int64_t x = 0; x < width; ++x)
      row += LetterOfColor(PixelOf(doc, x, y));
    rows.push_back(row);
  }
  return rows;
}

// Width, height and pixel rows of the document's picture: what a restore
// must bring back byte for byte.
struct PictureBytes {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::vector<std::byte> rows;
  friend bool operator==(const PictureBytes&, const PictureBytes&) = default;
};

inline PictureBytes BytesOf(HGLOBAL h) {
  CGlobalLock lock(h);
  const std::byte* p = lock.get();
  PictureBytes bytes;
  bytes.width = static_cast<std::int32_t>(GetLE(p + 4, 4));
  bytes.height = static_cast<std::int32_t>(GetLE(p + 8, 4));
  const std::size_t size = RowStride(bytes.width) * static_cast<std::size_t>(bytes.height);
  bytes.rows.assign(p + 40, p + 40 + size);
  return bytes;
}

// The bytes of a picture built as MakeDib24 builds it.
inline PictureBytes BytesOfNewPicture(std::int64_t width, std::int64_t height,
                                      const PixelFunction& pixel) {
  const CGlobalOwner dib(MakeDib24(width, height, pixel));
  return BytesOf(dib.get());
}

// A colour whose brightness 0.8 × blue + 1.2 × green + red is exactly
// `level` and adds exactly `level` to any running sum in double precision:
// 0.8 × 5m and 1.2 × 5k round to the integers 4m and 6k (checked for every
// m, k up to 51 and every running sum a 3 × 3 block can reach).
inline Color3 ColorOfBrightness(int level) {
  const int k = std::min(51, level / 6);
  const int m = std::min(51, (level - 6 * k) / 4);
  const int r = level - 6 * k - 4 * m;
  return {static_cast<std::uint8_t>(5 * m), static_cast<std::uint8_t>(5 * k),
          static_cast<std::uint8_t>(r)};
}

// A document and its view on the headless backend, in a 640 × 480 window.
class ViewTest : public ::testing::Test {
 public:
  ViewTest() {
    view.SetDocument(&doc);
    view.SetHost(&host);
  }

  HeadlessBackend& backend() { return platform.backend(); }

  void SetPicture(std::int64_t width, std::int64_t height, const PixelFunction& pixel) {
    doc.ReplaceDib(MakeDib24(width, height, pixel));
    view.OnInitialUpdate();
  }

  Color3 Pixel(std::int64_t x, std::int64_t y) const { return PixelOf(doc, x, y); }

  // Runs command `id` as the window does: a failure's message is shown.
  CCommandResult::Status RunStatus(UINT id) {
    const CCommandResult result = ExecuteCommand(view, id);
    ShowCommandResult(result);
    return result.m_status;
  }
  // True when the command was done.
  bool Run(UINT id) { return RunStatus(id) == CCommandResult::done; }

  // Runs 単純２値化 with the trackbar dragged to `percent`.
  bool RunThreshold(int percent, bool outline = false) {
    backend().QueueDialog([percent, outline](CDialog& dlg) {
      dlg.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, percent);
      if (outline)
        dlg.UserClick(IDC_CHECK_OUTLINE);
      dlg.UserClick(IDOK);
    });
    return Run(ID_BINARIZE);
  }

  ScopedHeadlessPlatform platform;
  CQOV_V2Doc doc;
  CQOV_V2View view;
  HeadlessViewHost host{view};
};

}  // namespace qov::test
