#pragma once
// The application framework's own texts (UTF-8): titles, prompts and the
// messages with which it reports a failed open, save or print. "%1" and "%2"
// are replaced by FormatString.

#include <string>

namespace qov {

namespace text {
inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kAskToSave = "%1 への変更を保存しますか?";
// %1 the file, %2 why.
inline constexpr const char* kFailedToOpenDoc = "ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。\n\n%1\n%2";
inline constexpr const char* kFailedToSaveDoc = "ﾄﾞｷｭﾒﾝﾄの保存に失敗しました。\n\n%1\n%2";
inline constexpr const char* kNothingToSave = "保存する画像がありません。";
inline constexpr const char* kAllFilter = "すべてのﾌｧｲﾙ (*.*)";
// %1 why.
inline constexpr const char* kFailedToPrint = "印刷を開始できませんでした。\n%1";
inline constexpr const char* kNoPrinter = "使用できるﾌﾟﾘﾝﾀがありません。";
// %1 the printer's name.
inline constexpr const char* kPrinterNotFound = "ﾌﾟﾘﾝﾀ %1 が見つかりません。";
inline constexpr const char* kAutomationUnavailable =
    "オートメーション サーバーとして登録できませんでした。";
inline constexpr const char* kUnknownReason = "原因は不明です。";
}  // namespace text

// `format` with every "%1" replaced by `arg1` and every "%2" by `arg2`.
std::string FormatString(const std::string& format, const std::string& arg1,
                         const std::string& arg2 = {});

}  // namespace qov
