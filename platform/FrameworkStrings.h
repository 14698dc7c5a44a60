#pragma once
// The application framework's own texts (UTF-8): titles, prompts and the
// messages with which it reports a failed open, save or print. "%1" and "%2"
// are replaced by FormatString.

#include <string>

#include "platform/PictureExtensions.h"

namespace qov {

namespace text {
inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kAskToSave = "%1 への変更を保存しますか?";
// %1 the file, %2 why.
inline constexpr const char* kFailedToOpenDoc = "ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。\n\n%1\n%2";
inline constexpr const char* kFailedToSaveDoc = "ﾄﾞｷｭﾒﾝﾄの保存に失敗しました。\n\n%1\n%2";
inline constexpr const char* kNothingToSave = "保存する画像がありません。";
inline constexpr const char* kAllFilter = "すべてのﾌｧｲﾙ (*.*)";
// The open dialog's first filter: every picture kind the program reads.
inline constexpr const char* kPictureFilter = "画像ファイル";
inline constexpr const char* kPicturePatterns = detail::kPicturePatternsText.data();
// %1 why.
inline constexpr const char* kFailedToPrint = "印刷を開始できませんでした。\n%1";
inline constexpr const char* kNoPrinter = "使用できるﾌﾟﾘﾝﾀがありません。";
// %1 the printer's name.
inline constexpr const char* kPrinterNotFound = "ﾌﾟﾘﾝﾀ %1 が見つかりません。";
inline constexpr const char* kAutomationUnavailable =
    "オートメーション サーバーとして登録できませんでした。";
inline constexpr const char* kUnknownReason = "原因は不明です。";
// The progress dialog of a long command.
inline constexpr const char* kWorking = "処理中です...";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kEnterInteger = "整数を入力してください。";
inline constexpr const char* kEnterNumber = "数値を入力してください。";
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
// Follows a file error when a failed save could not put the old contents back.
inline constexpr const char* kOldContentsLost = "\n元の内容を戻せませんでした。";
// Stands for the name of a file that has none.
inline constexpr const char* kUnnamedFile = "無題のファイル";
}  // namespace text

// The batch converter's English for the framework's standard messages.
namespace reason {
inline constexpr const char* kOutOfMemory = "out of memory";
inline constexpr const char* kCommandFailed = "the command failed";
inline constexpr const char* kOldContentsLost = "; the old contents could not be restored";
}  // namespace reason

// `format` with every "%1" replaced by `arg1` and every "%2" by `arg2`.
std::string FormatString(const std::string& format, const std::string& arg1,
                         const std::string& arg2 = {});

}  // namespace qov
