#pragma once
// The system's resource and command identifiers (the framework's own are
// platform/'s).

#include "platform/FrameworkIds.h"

namespace qov {

// Resources.
inline constexpr UINT IDR_MAINFRAME = 128;   // menu, accelerators, icon, template string
inline constexpr UINT IDR_QOV_V2TYPE = 129;  // document icon
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDD_THRESHOLD = 130;
inline constexpr UINT IDD_VECTORSCRIPT = 141;
inline constexpr UINT IDD_VECTORIZE = 142;
inline constexpr UINT IDD_PAGE = 143;
inline constexpr UINT IDP_OLE_INIT_FAILED = 100;  // string

// Controls.
inline constexpr int IDC_SLIDER_THRESHOLD = 1000;
inline constexpr int IDC_CHECK_OUTLINE = 1001;
inline constexpr int IDC_EDIT_THRESHOLD = 1002;
inline constexpr int IDC_RADIO_ALLCOLORS = 1006;
inline constexpr int IDC_RADIO_NOWHITE = 1007;
inline constexpr int IDC_EDIT_VECTOR_THRESHOLD = 1010;
inline constexpr int IDC_EDIT_MAX_PEN = 1011;
inline constexpr int IDC_EDIT_TOLERANCE = 1012;
inline constexpr int IDC_EDIT_SPECK = 1013;
inline constexpr int IDC_EDIT_DPI = 1014;
inline constexpr int IDC_PREVIEW = 1015;
inline constexpr int IDC_STATIC_PAGES = 1020;
inline constexpr int IDC_EDIT_PAGE = 1021;

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
// The vectorizer's DXF drawing.
inline constexpr UINT ID_VECTORIZE = 32792;
// Scales below ×1 and to the window, keyboard zoom, and the scrolling keys.
inline constexpr UINT ID_SCALE_FIT = 32800;
inline constexpr UINT ID_SCALE_HALF = 32801;
inline constexpr UINT ID_SCALE_QUARTER = 32802;
inline constexpr UINT ID_SCALE_EIGHTH = 32803;
inline constexpr UINT ID_ZOOM_IN = 32804;
inline constexpr UINT ID_ZOOM_OUT = 32805;
inline constexpr UINT ID_SCROLL_HOME = 32806;
inline constexpr UINT ID_SCROLL_END = 32807;
inline constexpr UINT ID_SCROLL_TOP_LEFT = 32808;
inline constexpr UINT ID_SCROLL_BOTTOM_RIGHT = 32809;

}  // namespace qov
