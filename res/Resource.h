#pragma once
// Resource and command identifiers.

#include "platform/Types.h"

namespace qov {

// Resources.
inline constexpr UINT IDR_MAINFRAME = 128;   // menu, accelerators, icon, template string
inline constexpr UINT IDR_QOV_V2TYPE = 129;  // document icon
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDD_THRESHOLD = 130;
inline constexpr UINT IDD_VECTORSCRIPT = 141;
inline constexpr UINT IDP_OLE_INIT_FAILED = 100;  // string

// Controls.
inline constexpr int IDC_SLIDER_THRESHOLD = 1000;
inline constexpr int IDC_CHECK_OUTLINE = 1001;
inline constexpr int IDC_EDIT_THRESHOLD = 1002;
inline constexpr int IDC_RADIO_ALLCOLORS = 1006;
inline constexpr int IDC_RADIO_NOWHITE = 1007;

// Framework commands.
inline constexpr UINT ID_FILE_NEW = 57600;
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_FILE_SAVE = 57603;
inline constexpr UINT ID_FILE_SAVE_AS = 57604;
inline constexpr UINT ID_FILE_PRINT_SETUP = 57606;
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
inline constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr UINT ID_FILE_MRU_FILE1 = 57616;
inline constexpr UINT ID_EDIT_COPY = 57634;
inline constexpr UINT ID_EDIT_CUT = 57635;
inline constexpr UINT ID_EDIT_PASTE = 57637;
inline constexpr UINT ID_EDIT_UNDO = 57643;
inline constexpr UINT ID_APP_ABOUT = 57664;
inline constexpr UINT ID_APP_EXIT = 57665;
inline constexpr UINT ID_NEXT_PANE = 57680;
inline constexpr UINT ID_PREV_PANE = 57681;

// The system's commands.
// A prompt string only: no menu item or handler carries this id.
inline constexpr UINT ID_BINARIZE_PROMPT = 32771;
inline constexpr UINT ID_BINARIZE_HIDDEN = 32772;
inline constexpr UINT ID_OUTLINE = 32773;
inline constexpr UINT ID_DOTS_TO_CROSSES = 32774;
inline constexpr UINT ID_SCALE_1 = 32775;
inline constexpr UINT ID_SCALE_2 = 32776;
inline constexpr UINT ID_SCALE_4 = 32778;
inline constexpr UINT ID_SCALE_8 = 32779;
inline constexpr UINT ID_DOTS_TO_LINES = 32780;
inline constexpr UINT ID_BINARIZE = 32784;
inline constexpr UINT ID_DITHER1 = 32785;
inline constexpr UINT ID_DITHER2 = 32786;
inline constexpr UINT ID_SAVE_VECTORSCRIPT = 32789;
inline constexpr UINT ID_ERROR_DIFFUSION = 32790;
inline constexpr UINT ID_AUTO_TRACE = 32791;

// Strings.
inline constexpr UINT IDS_APP_TITLE = 57344;  // "QOV_V2"
inline constexpr UINT IDS_IDLE_PROMPT = 57345;

}  // namespace qov
