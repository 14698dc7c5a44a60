#pragma once
// The document: the one picture (a 24-bit block), the colour registers and
// the pixel operations through which every command reads and changes it.
//
// Errors: the readers return no block and a reason (a DibReadError, with a
// library's particulars for other formats); the document keeps the last
// failure's Japanese and English texts for its caller. Pixel operations
// outside the picture do nothing rather than fail.

#include <array>
#include <cstdint>
#include <string>

#include "image/PictureFile.h"
#include "platform/Document.h"
#include "platform/GlobalMemory.h"

namespace qov {

// Blue, green, red: the byte order of a 24-bit pixel.
using Color3 = std::array<std::uint8_t, 3>;

class CQOV_V2Doc : public CDocument {
 public:
  CQOV_V2Doc();
  ~CQOV_V2Doc() override;

  const Color3 m_darkGrayColor{80, 80, 80};
  HGLOBAL m_hDib = nullptr;
  std::int32_t m_nWidth = 0;
  std::int32_t m_nHeight = 0;
  const Color3 m_lightGrayColor{230, 230, 230};
  const Color3 m_whiteColor{255, 255, 255};
  const Color3 m_blackColor{0, 0, 0};
  Color3 m_curColor{0, 0, 0};
  // The page and memory limit that OnOpenDocument reads with.
  PictureReadOptions m_readOptions;

  // Pixel operations: each locks the block once; nothing happens without a
  // picture or outside 0 ≤ x ≤ width − 1, 1 ≤ y ≤ height − 1.
  void UpdateImageSize();
  void LoadPixel(std::int64_t x, std::int64_t y);
  void StorePixel(std::int64_t x, std::int64_t y);
  void ThresholdPixel(std::int64_t x, std::int64_t y, int percent);
  void MarkOutlinePixel(std::int64_t x, std::int64_t y);
  // Lets go of the current block and keeps `block` (which may be another
  // hold on the same block); refreshes nothing. Counts as a change of the
  // pixels, the same block included.
  void ReplaceDib(CGlobalOwner&& block);
  // Goes up whenever the pixels may have changed: a new block (ReplaceDib),
  // a pixel operation that writes, and whole rows let go after a pass
  // (CDibRows, whose rows can be written). What is kept derived from the
  // pixels, such as the view's reduced picture, stays valid while it is
  // the same. A pass under way has not counted yet.
  std::uint64_t GetPixelsVersion() const { return m_nPixelsVersion; }
  // Counts a change made other than through the document's own operations.
  void NotePixelsChanged() { ++m_nPixelsVersion; }

  bool OnNewDocument() override;
  // Reads the whole picture first and replaces the current one only when
  // that succeeded; on failure the document is unchanged and
  // GetFailureMessage() (Japanese) and GetFailureReason() (English) say why.
  bool OnOpenDocument(const std::string& path) override;
  // What the last picture opened left to say although it opened: None, or
  // TruncatedPixels when its data ended early and the rest is black (see
  // DescribeDibReadError for its texts). A failed open leaves it as it was.
  DibReadError GetReadWarning() const { return m_readWarning; }
  // Writes to a temporary file beside the target and renames it over the
  // target; clears the modified flag only after a complete write.
  bool OnSaveDocument(const std::string& path) override;

 private:
  DibReadError m_readWarning = DibReadError::None;
  std::uint64_t m_nPixelsVersion = 0;
};

}  // namespace qov
