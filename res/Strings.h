#pragma once
// The string table and the system's fixed texts (UTF-8).

#include <string>

#include "platform/Types.h"

namespace qov {

// The text of string resource `id`, or "" when the table has none.
const std::string& LoadString(UINT id);

namespace text {
inline constexpr const char* kAppName = "QOV_V2";
inline constexpr const char* kNoImage = "画像が読み込まれていません";
inline constexpr const char* kFileError = "ファイルの読み込みに失敗しました";
inline constexpr const char* kEnterInteger = "整数を入力してください。";
// Standard texts of the framework, for what a command lets escape.
inline constexpr const char* kOutOfMemory = "メモリが不足しています。";
inline constexpr const char* kCommandFailed = "コマンドを実行できませんでした。";
}  // namespace text

}  // namespace qov
