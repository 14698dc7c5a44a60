#pragma once
// Dialog templates as data: the controls of a dialog with their kinds, ids,
// texts, positions and sizes in dialog units, and styles.

#include <string>
#include <vector>

#include "platform/Types.h"

namespace qov {

inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD TBS_AUTOTICKS = 0x0001;
inline constexpr DWORD TBS_HORZ = 0x0000;

inline constexpr int IDC_STATIC = -1;

struct DialogControlTemplate {
  enum Kind { PushButton, DefPushButton, CheckBox, Edit, Static, Trackbar, RadioButton, Icon };
  int id;
  Kind kind;
  std::string text;  // UTF-8; for an icon, the icon's resource id in decimal
  int x, y, cx, cy;  // dialog units
  DWORD style;
};

struct DialogTemplate {
  UINT id;
  std::string caption;   // UTF-8
  std::string fontName;  // UTF-8, as the template names it
  int pointSize;
  int cx, cy;                                   // dialog units
  std::vector<DialogControlTemplate> controls;  // in tab order
};

// The template with this id among the installed resources
// (platform/Resources.h), or null.
const DialogTemplate* FindDialogTemplate(UINT id);

}  // namespace qov
