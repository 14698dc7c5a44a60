#pragma once
// Why a picture could not be read, whatever its format, and the texts that
// say so: Japanese for the window, English for the batch converter; and the
// one result every reader returns, the block and the failure together.

#include <optional>
#include <string>

#include "image/Language.h"
#include "image/MemoryBudget.h"
#include "platform/GlobalMemory.h"

namespace qov {

// Why a bitmap could not be read. Each value has its English and Japanese
// texts in one table, in this order, with OverBudget last.
enum class DibReadError {
  None,
  NotABitmap,              // short file header or wrong type
  TruncatedHeader,         // the file ends inside the information header
  BadHeader,               // header size below 40 other than 12
  BadDimensions,           // width ≤ 0, height 0, negative height with RLE
  TooLarge,                // 24-bit pixels + 54 bytes would not fit in 32 bits
  UnsupportedBitCount,     // uncompressed, and not 1, 4, 8, 16, 24 or 32 bits
  UnsupportedCompression,  // JPEG, PNG, Huffman, RLE24, or unknown
  TruncatedPixels,         // the pixel data ends early (uncompressed; a warning for RLE)
  OutOfMemory,
  // Other picture formats, and limits every format shares.
  NotAPicture,         // the first bytes name no format that is read
  CorruptPicture,      // the format's library refused the data
  UnsupportedPicture,  // a valid file of a kind that is not read
  NoSuchPage,          // the page asked for is not in the file
  OverBudget,          // more pixels than the memory budget allows
};

// A one-line description of `error` in `language`.
const char* DescribeDibReadError(DibReadError error, Language language = Language::English);

// Why a picture could not be read: the reason, a library's particulars in
// English, and for OverBudget the budget that refused the picture.
struct PictureReadFailure {
  DibReadError reason = DibReadError::None;
  std::string detail;
  std::optional<CMemoryBudget> refusal;
  // For a picture that was read: TruncatedPixels when its data ended early
  // and the rest was left black (run-length .bmp files), else None.
  DibReadError warning = DibReadError::None;
};

// "the picture file is damaged: Not a JPEG file" — the reason's text, then
// the particulars when there are any. The libraries speak English only, so
// the Japanese text leaves their particulars out; the budget's size and
// limit it gives in Japanese.
std::string DescribePictureReadFailure(const PictureReadFailure& failure,
                                       Language language = Language::English);

// What a reader returns: the new block, the caller's from then on, or no
// block and `failure` saying why. A picture that was read may still carry
// a warning in `failure`.
struct PictureReadResult {
  CGlobalOwner block;
  PictureReadFailure failure;

  explicit operator bool() const { return static_cast<bool>(block); }
};

}  // namespace qov
