// Menu 128, the one menu bar of the main frame.

#include <array>

#include "res/Resource.h"
#include "res/SystemResources.h"

namespace qov {
namespace {

MenuItem Command(const char* text, UINT id, bool grayed = false) {
  return {MenuItem::Command, text, id, grayed, {}};
}

MenuItem Separator() {
  return {MenuItem::Separator, "", 0, false, {}};
}

MenuItem Popup(const char* text, std::vector<MenuItem> items) {
  return {MenuItem::Popup, text, 0, false, std::move(items)};
}

std::vector<MenuItem> MainMenu() {
  return {
      Popup("ﾌｧｲﾙ(&F)",
            {
                Command("新規作成(&N)\tCtrl+N", ID_FILE_NEW),
                Command("開く(&O)...\tCtrl+O", ID_FILE_OPEN),
                Command("上書き保存(&S)\tCtrl+S", ID_FILE_SAVE),
                Command("名前を付けて保存(&A)...", ID_FILE_SAVE_AS),
                Separator(),
                Command("印刷(&P)...\tCtrl+P", ID_FILE_PRINT),
                Command("印刷ﾌﾟﾚﾋﾞｭｰ(&V)", ID_FILE_PRINT_PREVIEW),
                Command("ﾌﾟﾘﾝﾀの設定(&R)...", ID_FILE_PRINT_SETUP),
                Separator(),
                Command("最近使ったﾌｧｲﾙ", ID_FILE_MRU_FILE1, true),
                Separator(),
                Command("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT),
            }),
      Popup("編集(&E)",
            {
                Command("元に戻す(&U)\tCtrl+Z", ID_EDIT_UNDO),
                Separator(),
                Command("切り取り(&T)\tCtrl+X", ID_EDIT_CUT),
                Command("ｺﾋﾟｰ(&C)\tCtrl+C", ID_EDIT_COPY),
                Command("貼り付け(&P)\tCtrl+V", ID_EDIT_PASTE),
            }),
      Popup("ツール",
            {
                Popup("２値化",
                      {
                          Command("単純２値化", ID_BINARIZE),
                          Command("ディザリング１", ID_DITHER1),
                          Command("ディザリング２", ID_DITHER2),
                          Command("誤差分散", ID_ERROR_DIFFUSION),
                      }),
                Command("輪郭処理", ID_OUTLINE),
                Popup("保存(DXFファイル)",
                      {
                          Command("ドットを×に変換", ID_DOTS_TO_CROSSES),
                          Command("ドットとドットを線で結ぶ", ID_DOTS_TO_LINES),
                          Command("オートトレース", ID_AUTO_TRACE),
                          Command("ベクトル化...", ID_VECTORIZE),
                      }),
                Command("保存(VectorScript)", ID_SAVE_VECTORSCRIPT),
            }),
      Popup("スケール",
            {
                Command("×１", ID_SCALE_1),
                Command("×２", ID_SCALE_2),
                Command("×４", ID_SCALE_4),
                Command("×８", ID_SCALE_8),
                Command("ウィンドウに合わせる", ID_SCALE_FIT),
                Command("×１／２", ID_SCALE_HALF),
                Command("×１／４", ID_SCALE_QUARTER),
                Command("×１／８", ID_SCALE_EIGHTH),
            }),
      Popup("ﾍﾙﾌﾟ(&H)",
            {
                Command("QOV_V2 のﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT),
            }),
  };
}

}  // namespace

std::span<const MenuResource> SystemMenus() {
  static const std::array<MenuResource, 1> kMenus{{{IDR_MAINFRAME, MainMenu()}}};
  return kMenus;
}

}  // namespace qov
