// Accelerator table 128.

#include <array>

#include "res/Resource.h"
#include "res/SystemResources.h"

namespace qov {
namespace {

constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr BYTE kShift = FVIRTKEY | FSHIFT;
constexpr BYTE kAlt = FVIRTKEY | FALT;

constexpr std::array<Accelerator, 20> kMainFrame{{
    {kCtrl, 'N', ID_FILE_NEW},
    {kCtrl, 'O', ID_FILE_OPEN},
    {kCtrl, 'S', ID_FILE_SAVE},
    {kCtrl, 'P', ID_FILE_PRINT},
    {kCtrl, 'Z', ID_EDIT_UNDO},
    {kCtrl, 'X', ID_EDIT_CUT},
    {kCtrl, 'C', ID_EDIT_COPY},
    {kCtrl, 'V', ID_EDIT_PASTE},
    {kAlt, VK_BACK, ID_EDIT_UNDO},
    {kShift, VK_DELETE, ID_EDIT_CUT},
    {kCtrl, VK_INSERT, ID_EDIT_COPY},
    {kShift, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {kShift, VK_F6, ID_PREV_PANE},
    {kCtrl, VK_OEM_PLUS, ID_ZOOM_IN},
    {kCtrl, VK_OEM_MINUS, ID_ZOOM_OUT},
    {FVIRTKEY, VK_HOME, ID_SCROLL_HOME},
    {FVIRTKEY, VK_END, ID_SCROLL_END},
    {kCtrl, VK_HOME, ID_SCROLL_TOP_LEFT},
    {kCtrl, VK_END, ID_SCROLL_BOTTOM_RIGHT},
}};

}  // namespace

std::span<const AcceleratorTable> SystemAccelerators() {
  static constexpr std::array<AcceleratorTable, 1> kTables{{{IDR_MAINFRAME, kMainFrame}}};
  return kTables;
}

}  // namespace qov
