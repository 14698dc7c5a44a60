// The dialog templates 100 (About), 130 (threshold) and 141 (VectorScript).

#include <array>

#include "platform/DialogTemplate.h"
#include "res/Resource.h"
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

const std::array<const DialogTemplate*, 3> kTemplates{&kAbout, &kThreshold, &kVectorScript};

}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
  for (const DialogTemplate* t : kTemplates) {
    if (t->id == id)
      return t;
  }
  return nullptr;
}

}  // namespace qov
