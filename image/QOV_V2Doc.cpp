// The document: the picture, its colour registers and pixel operations, and
// the new/open/save hooks.

#include "image/QOV_V2Doc.h"

#include <cstring>
#include <utility>

#include "image/DibBlock.h"
#include "image/DibFile.h"
#include "platform/File.h"
#include "platform/FileReplacement.h"
#include "platform/OleLock.h"
#include "res/AutomationIds.h"
#include "res/Strings.h"

namespace qov {

namespace {

// The pixel at document coordinates (x, y) of a locked 24-bit block, or null
// outside 0 ≤ x ≤ width − 1, 1 ≤ y ≤ height − 1 (the bottom stored row is
// never addressed) or outside the block itself.
std::byte* PixelAt(std::byte* block, std::size_t blockSize, std::int64_t x, std::int64_t y) {
  const std::int64_t width = static_cast<std::int32_t>(DibWidth(block));
  const std::int64_t height = static_cast<std::int32_t>(DibHeight(block));
  if (x < 0 || x >= width || y < 1 || y >= height)
    return nullptr;
  const std::uint64_t stride = DibRowStride(24, width);
  const std::uint64_t offset = kWindowsInfoHeaderSize + 3 * static_cast<std::uint64_t>(x) +
                               stride * static_cast<std::uint64_t>(height - y);
  if (offset + 3 > blockSize)
    return nullptr;
  return block + offset;
}

void CopyColor(std::byte* pixel, const Color3& color) {
  std::memcpy(pixel, color.data(), 3);
}
void CopyColor(Color3& color, const std::byte* pixel) {
  std::memcpy(color.data(), pixel, 3);
}
std::uint8_t Blue(const std::byte* pixel) {
  return std::to_integer<std::uint8_t>(pixel[0]);
}

}  // namespace

// Automation clients may create the document; while it exists the program
// stays for them.
CQOV_V2Doc::CQOV_V2Doc() {
  EnableAutomation(IID_IQOV_V2);
  AfxOleLockApp();
}

CQOV_V2Doc::~CQOV_V2Doc() {
  AfxOleUnlockApp();
  GlobalFree(m_hDib);
}

void CQOV_V2Doc::UpdateImageSize() {
  if (!m_hDib) {
    m_nHeight = 0;
    return;
  }
  const CGlobalLock lock(m_hDib);
  m_nWidth = static_cast<std::int32_t>(DibWidth(lock.get()));
  m_nHeight = static_cast<std::int32_t>(DibHeight(lock.get()));
}

void CQOV_V2Doc::LoadPixel(std::int64_t x, std::int64_t y) {
  if (!m_hDib)
    return;
  const CGlobalLock lock(m_hDib);
  if (const std::byte* pixel = PixelAt(lock.get(), lock.size(), x, y))
    CopyColor(m_curColor, pixel);
}

void CQOV_V2Doc::StorePixel(std::int64_t x, std::int64_t y) {
  if (!m_hDib)
    return;
  const CGlobalLock lock(m_hDib);
  if (std::byte* pixel = PixelAt(lock.get(), lock.size(), x, y)) {
    CopyColor(pixel, m_curColor);
    NotePixelsChanged();
  }
}

void CQOV_V2Doc::ThresholdPixel(std::int64_t x, std::int64_t y, int percent) {
  if (!m_hDib)
    return;
  const CGlobalLock lock(m_hDib);
  std::byte* pixel = PixelAt(lock.get(), lock.size(), x, y);
  if (!pixel)
    return;
  CopyColor(m_curColor, pixel);
  const double threshold = percent * 2.55;
  const bool white =
      m_curColor[0] > threshold && m_curColor[1] > threshold && m_curColor[2] > threshold;
  CopyColor(pixel, white ? m_whiteColor : m_blackColor);
  NotePixelsChanged();
}

void CQOV_V2Doc::MarkOutlinePixel(std::int64_t x, std::int64_t y) {
  if (!m_hDib)
    return;
  const CGlobalLock lock(m_hDib);
  std::byte* block = lock.get();
  const std::int64_t width = static_cast<std::int32_t>(DibWidth(block));
  const std::int64_t height = static_cast<std::int32_t>(DibHeight(block));
  if (x < 1 || x > width - 2 || y < 2 || y > height - 2)
    return;
  std::byte* centre = PixelAt(block, lock.size(), x, y);
  const std::byte* neighbours[] = {
      PixelAt(block, lock.size(), x - 1, y), PixelAt(block, lock.size(), x + 1, y),
      PixelAt(block, lock.size(), x, y - 1), PixelAt(block, lock.size(), x, y + 1)};
  if (!centre || Blue(centre) != 0)
    return;
  for (const std::byte* neighbour : neighbours) {
    if (!neighbour || Blue(neighbour) == 255)
      return;
  }
  CopyColor(centre, m_lightGrayColor);
  NotePixelsChanged();
}

void CQOV_V2Doc::ReplaceDib(CGlobalOwner&& block) {
  GlobalFree(m_hDib);
  m_hDib = block.release();
  NotePixelsChanged();
}

bool CQOV_V2Doc::OnNewDocument() {
  if (!CDocument::OnNewDocument())
    return false;
  SetModifiedFlag(false);
  ReplaceDib(nullptr);
  m_readWarning = DibReadError::None;
  return true;
}

// Read first, replace second: a file that cannot be read leaves the
// picture, the modified flag and everything else as they were.
bool CQOV_V2Doc::OnOpenDocument(const std::string& path) {
  if (!CDocument::OnOpenDocument(path))
    return false;
  PictureReadResult read;
  try {
    CFile file(path, CFile::modeRead);
    read = ReadPictureFile(file, m_readOptions);
    file.Close();
  } catch (const CFileException& e) {
    SetFailure(e);
    return false;
  }
  if (!read) {
    SetFailure(DescribePictureReadFailure(read.failure, Language::Japanese),
               DescribePictureReadFailure(read.failure));
    return false;
  }
  SetModifiedFlag(false);
  ReplaceDib(std::move(read.block));
  m_readWarning = read.failure.warning;
  if (m_readWarning == DibReadError::None)
    SetOpenWarning({}, {});
  else
    SetOpenWarning(DescribeDibReadError(m_readWarning, Language::Japanese),
                   DescribeDibReadError(m_readWarning));
  ClearFailure();
  return true;
}

bool CQOV_V2Doc::OnSaveDocument(const std::string& path) {
  if (!m_hDib) {
    SetFailure(text::kNothingToSave, "there is no picture to save");
    return false;
  }
  try {
    if (!ReplaceFile(path, [this](CFile& file) { return WriteDibFile(m_hDib, file); })) {
      SetFailure(text::kCannotWriteBitmap, "the picture cannot be written as a bitmap file");
      return false;
    }
  } catch (const CFileException& e) {
    SetFailure(e);
    return false;
  }
  SetModifiedFlag(false);
  ClearFailure();
  return true;
}

}  // namespace qov
