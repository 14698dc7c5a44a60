// The texts of the picture reader's reasons, English and Japanese side by
// side so that no reason can have one without the other.

#include "image/PictureReadError.h"

#include <array>
#include <cstddef>

namespace qov {

namespace {

struct ReasonText {
  DibReadError error;
  const char* english;
  const char* japanese;
};

constexpr std::array kReasonTexts{
    ReasonText{DibReadError::None, "no error", "エラーはありません。"},
    ReasonText{DibReadError::NotABitmap, "not a bitmap file",
               "ビットマップ ファイルではありません。"},
    ReasonText{DibReadError::TruncatedHeader, "the bitmap ends inside its header or colour table",
               "ビットマップがヘッダーまたはカラー テーブルの途中で終わっています。"},
    ReasonText{DibReadError::BadHeader, "unsupported bitmap header size",
               "このビットマップ ヘッダーのサイズには対応していません。"},
    ReasonText{DibReadError::BadDimensions, "invalid picture size",
               "画像のサイズが正しくありません。"},
    ReasonText{DibReadError::TooLarge, "the picture is too large to be saved as a bitmap file",
               "画像が大きすぎてビットマップ ファイルとして保存できません。"},
    ReasonText{DibReadError::UnsupportedBitCount, "unsupported number of bits per pixel",
               "このピクセルあたりのビット数には対応していません。"},
    ReasonText{DibReadError::UnsupportedCompression, "unsupported compression",
               "この圧縮形式には対応していません。"},
    ReasonText{DibReadError::TruncatedPixels, "the pixel data is cut short",
               "ピクセル データが途中で切れています。"},
    ReasonText{DibReadError::OutOfMemory, "not enough memory for the picture",
               "画像を読み込むためのメモリが不足しています。"},
    ReasonText{DibReadError::NotAPicture, "not a picture file (.bmp, TIFF, PNG, JPEG or PNM)",
               "画像ファイル (.bmp、TIFF、PNG、JPEG、PNM) ではありません。"},
    ReasonText{DibReadError::CorruptPicture, "the picture file is damaged",
               "画像ファイルが壊れています。"},
    ReasonText{DibReadError::UnsupportedPicture, "this kind of picture cannot be read",
               "この種類の画像は読み込めません。"},
    ReasonText{DibReadError::NoSuchPage, "the file has no such page",
               "指定されたページはファイルにありません。"},
    ReasonText{DibReadError::OverBudget, "the picture is larger than the memory limit",
               "画像がメモリの上限を超えています。"},
};

constexpr bool InEnumOrder() {
  for (std::size_t i = 0; i < kReasonTexts.size(); ++i) {
    if (static_cast<std::size_t>(kReasonTexts[i].error) != i)
      return false;
  }
  return true;
}
static_assert(InEnumOrder(), "the reason texts follow DibReadError's order");
static_assert(kReasonTexts.back().error == DibReadError::OverBudget,
              "every DibReadError has its texts");

}  // namespace

const char* DescribeDibReadError(DibReadError error, Language language) {
  const auto index = static_cast<std::size_t>(error);
  // Only a value cast from outside the enum falls off the table.
  if (index >= kReasonTexts.size())
    return language == Language::Japanese ? "原因は不明です。" : "unknown error";
  return language == Language::Japanese ? kReasonTexts[index].japanese
                                        : kReasonTexts[index].english;
}

std::string DescribePictureReadFailure(const PictureReadFailure& failure, Language language) {
  std::string text = DescribeDibReadError(failure.reason, language);
  if (failure.refusal)
    text +=
        (language == Language::Japanese ? "\n" : ": ") + failure.refusal->DescribeRefusal(language);
  else if (language == Language::English && !failure.detail.empty())
    text += ": " + failure.detail;
  return text;
}

}  // namespace qov
