// The dialog templates 100 (About), 130 (threshold), 141 (VectorScript) and
// 142 (the vectorizer).

#include <array>

#include "res/Resource.h"
#include "res/SystemResources.h"
#include "res/VersionInfo.h"

namespace qov {
namespace {

using C = DialogControlTemplate;

const DialogTemplate kAbout{
    IDD_ABOUTBOX,
    "QOVのﾊﾞｰｼﾞｮﾝ情報",
    "ＭＳ ゴシック",
    9,
    235,
    55,
    {
        {IDC_STATIC, C::Icon, "128", 11, 27, 20, 20, 0},
        {IDC_STATIC, C::Static, "QOV Version 2.0.4", 40, 10, 119, 8, 0},
        {IDC_STATIC, C::Static, version::kLegalCopyright, 40, 25, 119, 8, 0},
        {IDOK, C::DefPushButton, "OK", 178, 7, 50, 14, WS_GROUP | WS_TABSTOP},
    }};

const DialogTemplate kThreshold{
    IDD_THRESHOLD,
    "しきい値設定",
    "ＭＳ Ｐゴシック",
    9,
    187,
    65,
    {
        {IDOK, C::DefPushButton, "OK", 130, 7, 50, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "ｷｬﾝｾﾙ", 130, 24, 50, 14, WS_TABSTOP},
        {IDC_SLIDER_THRESHOLD, C::Trackbar, "", 15, 13, 103, 11,
         TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP},
        {IDC_CHECK_OUTLINE, C::CheckBox, "輪郭処理", 19, 43, 46, 10, WS_TABSTOP},
        {IDC_EDIT_THRESHOLD, C::Edit, "", 86, 41, 15, 14, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "%", 105, 43, 12, 9, 0},
    }};

const DialogTemplate kVectorScript{
    IDD_VECTORSCRIPT,
    "保存VectorScript",
    "ＭＳ Ｐゴシック",
    9,
    206,
    103,
    {
        {IDOK, C::DefPushButton, "OK", 160, 7, 39, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "ｷｬﾝｾﾙ", 160, 24, 39, 14, WS_TABSTOP},
        {IDC_STATIC, C::Static,
         "24ビットカラービットマップをVectorScriptファイルに出力します。"
         "変換方法を選択してください。",
         20, 13, 122, 30, WS_GROUP},
        {IDC_RADIO_ALLCOLORS, C::RadioButton, "すべての色を出力する", 13, 47, 138, 17,
         WS_GROUP | WS_TABSTOP},
        {IDC_RADIO_NOWHITE, C::RadioButton, "白に限りなく近い色は出力しない", 13, 67, 135, 17, 0},
    }};

// The vectorizer's settings; 0 in a box means "measured from the picture".
const DialogTemplate kVectorize{
    IDD_VECTORIZE,
    "ベクトル化",
    "ＭＳ Ｐゴシック",
    9,
    206,
    118,
    {
        {IDOK, C::DefPushButton, "OK", 160, 7, 39, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "ｷｬﾝｾﾙ", 160, 24, 39, 14, WS_TABSTOP},
        {IDC_PREVIEW, C::PushButton, "プレビュー", 160, 44, 39, 14, WS_TABSTOP},
        {IDC_STATIC, C::Static, "しきい値(%)", 10, 10, 90, 9, 0},
        {IDC_EDIT_VECTOR_THRESHOLD, C::Edit, "", 105, 8, 40, 13,
         WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "最大ペン幅(mm)", 10, 28, 90, 9, 0},
        {IDC_EDIT_MAX_PEN, C::Edit, "", 105, 26, 40, 13, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "許容誤差(mm)", 10, 46, 90, 9, 0},
        {IDC_EDIT_TOLERANCE, C::Edit, "", 105, 44, 40, 13, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "無視する点の面積(mm²)", 10, 64, 90, 9, 0},
        {IDC_EDIT_SPECK, C::Edit, "", 105, 62, 40, 13, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "解像度(dpi)", 10, 82, 90, 9, 0},
        {IDC_EDIT_DPI, C::Edit, "", 105, 80, 40, 13, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDC_STATIC, C::Static, "寸法の 0 は自動です。", 10, 100, 140, 9, 0},
    }};

// Which page of a multi-page file to open: the pages with their sizes, and
// the number of the one to open.
const DialogTemplate kPage{
    IDD_PAGE,
    "ページの選択",
    "ＭＳ Ｐゴシック",
    9,
    160,
    110,
    {
        {IDC_STATIC, C::Static, "このファイルには次のページがあります:", 7, 7, 100, 18, 0},
        {IDC_STATIC_PAGES, C::Static, "", 12, 27, 90, 54, 0},
        {IDC_STATIC, C::Static, "開くページ", 7, 89, 40, 9, 0},
        {IDC_EDIT_PAGE, C::Edit, "", 50, 87, 30, 13, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {IDOK, C::DefPushButton, "OK", 114, 7, 39, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "ｷｬﾝｾﾙ", 114, 24, 39, 14, WS_TABSTOP},
    }};

const std::array<const DialogTemplate*, 5> kTemplates{&kAbout, &kThreshold, &kVectorScript,
                                                      &kVectorize, &kPage};

}  // namespace

std::span<const DialogTemplate* const> SystemDialogTemplates() {
  return kTemplates;
}

}  // namespace qov
