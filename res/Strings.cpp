// The string table.

#include <array>

#include "res/Resource.h"
#include "res/SystemResources.h"

namespace qov {

std::span<const StringResource> SystemStrings() {
  static const std::array<StringResource, 10> kTable{{
      {IDR_MAINFRAME, "QOV\n\nQOV_V2\nBMPﾌｧｲﾙ (*.bmp)\n.bmp\nbmp.Document\nBMP Document"},
      {IDP_OLE_INIT_FAILED,
       "OLE の初期化に失敗しました。OLE ライブラリのバージョンを確認してください。"},
      {IDS_APP_TITLE, "QOV_V2"},
      {IDS_IDLE_PROMPT, "ﾚﾃﾞｨ"},
      {ID_BINARIZE_PROMPT, "単純２値化"},
      {ID_BINARIZE_HIDDEN, "単純２値化"},
      {ID_BINARIZE, "単純２値化"},
      {ID_OUTLINE, "輪郭のみ表示"},
      {ID_DOTS_TO_CROSSES, "DXF ファイルへ保存(ドット単位）"},
      {ID_DOTS_TO_LINES, "ＤＦＸファイルへ保存（ドットとドットを線で結ぶ）"},
  }};
  return kTable;
}

}  // namespace qov
