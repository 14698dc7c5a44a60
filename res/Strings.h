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
// The framework's file-error texts; %1 stands for the file's name.
inline constexpr const char* kFileErrorNone = "%1 へのアクセス中に不明なエラーが発生しました。";
inline constexpr const char* kFileErrorGeneric =
    "%1 へのアクセス中に予期しないエラーが発生しました。";
inline constexpr const char* kFileErrorNotFound = "%1 が見つかりません。";
inline constexpr const char* kFileErrorBadPath = "%1 には無効なパスが含まれています。";
inline constexpr const char* kFileErrorTooManyOpen =
    "開いているファイルが多すぎるため、%1 を開けませんでした。";
inline constexpr const char* kFileErrorAccessDenied = "%1 へのアクセスは拒否されました。";
inline constexpr const char* kFileErrorInvalidFile =
    "%1 に無効なファイル ハンドルが関連付けられています。";
inline constexpr const char* kFileErrorRemoveCurrent =
    "%1 はカレント ディレクトリなので削除できませんでした。";
inline constexpr const char* kFileErrorDirFull =
    "ディレクトリがいっぱいのため、%1 を作成できませんでした。";
inline constexpr const char* kFileErrorBadSeek = "%1 でシークに失敗しました。";
inline constexpr const char* kFileErrorHardIO =
    "%1 へのアクセス中にハードウェア I/O エラーが発生しました。";
inline constexpr const char* kFileErrorSharing = "%1 へのアクセス中に共有違反が発生しました。";
inline constexpr const char* kFileErrorLocking = "%1 へのアクセス中にロック違反が発生しました。";
inline constexpr const char* kFileErrorDiskFull =
    "%1 へのアクセス中にディスクがいっぱいになりました。";
inline constexpr const char* kFileErrorEndOfFile = "%1 の終わりを越えてアクセスしようとしました。";
// Stands for the name of a file that has none.
inline constexpr const char* kUnnamedFile = "無題のファイル";
}  // namespace text

// The batch converter's English for the messages of the window above.
namespace reason {
inline constexpr const char* kNoImage = "no picture is loaded";
inline constexpr const char* kOutOfMemory = "out of memory";
inline constexpr const char* kCommandFailed = "the command failed";
}  // namespace reason

}  // namespace qov
