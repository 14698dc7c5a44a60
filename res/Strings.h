#pragma once
// The system's fixed texts (UTF-8). The framework's own texts, which the
// system's code uses too, are platform/'s.

#include "platform/FrameworkStrings.h"
#include "platform/StringTable.h"

namespace qov {

namespace text {
inline constexpr const char* kAppName = "QOV_V2";
inline constexpr const char* kNoImage = "画像が読み込まれていません";
inline constexpr const char* kFileError = "ファイルの読み込みに失敗しました";
inline constexpr const char* kCannotWriteBitmap =
    "画像をビットマップ ファイルとして書き込めません。";
inline constexpr const char* kVectorizeRange =
    "しきい値は 0 から 100 の、ほかは 0 以上の数値を入力してください。";
inline constexpr const char* kPageRange = "1 から %1 までのページ番号を入力してください。";
// A recent file's page, after its path: " (2ページ目)".
inline constexpr const char* kRecentFilePage = "ページ目";
}  // namespace text

// The batch converter's English for the messages of the window above.
namespace reason {
inline constexpr const char* kNoImage = "no picture is loaded";
inline constexpr const char* kNoResolution =
    "warning: the picture gives no resolution; 0.34 mm a pixel was taken (--dpi sets one)";
}  // namespace reason

}  // namespace qov
