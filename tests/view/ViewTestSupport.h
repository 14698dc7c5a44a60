#pragma once
// What the view and raster tests share: a document and a view on the
// headless backend, and pictures in document coordinates (rows from 1) and
// as text, built and read with the shared bitmap helpers rather than the
// pixel operations under test.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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
#include "tests/support/Bitmap.h"
#include "view/QOV_V2View.h"

namespace qov::test {

// A colour for each pixel in document coordinates: x from 0 to w − 1, y from
// 1 (top row) to h (bottom row).
using PixelFunction = std::function<Color3(std::int64_t x, std::int64_t y)>;

// The picture of `pixel` over w × h.
inline Picture PictureOf(std::int64_t width, std::int64_t height, const PixelFunction& pixel) {
  return MakePicture(width, height,
                     [&pixel](std::int64_t x, std::int64_t y) { return pixel(x, y + 1); });
}

// A 24-bit block with a 40-byte header, as the file reader makes them.
inline CGlobalOwner MakeDib24(std::int64_t width, std::int64_t height, const PixelFunction& pixel) {
  return BlockOf(PictureOf(width, height, pixel));
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

// The document's picture as text rows (see FromRows).
inline std::vector<std::string> RowsOf(const CQOV_V2Doc& doc) {
  const Picture picture = PictureOfBlock(doc.m_hDib);
  std::vector<std::string> rows;
  for (std::int64_t y = 0; y < picture.height; ++y) {
    std::string row;
    for (std::int64_t x = 0; x < picture.width; ++x)
      row += LetterOfColor(picture.At(x, y));
    rows.push_back(row);
  }
  return rows;
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

  // Pixel (x, y) of the document, y from 1 (top) to the height (bottom).
  Color3 Pixel(std::int64_t x, std::int64_t y) const {
    return PictureOfBlock(doc.m_hDib).At(x, y - 1);
  }

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
