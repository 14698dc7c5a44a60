#pragma once
// The menu resource as data: the menu bar's popups with their items, ids and
// texts exactly as the program shows them.

#include <string>
#include <vector>

#include "platform/Types.h"

namespace qov {

struct MenuItem {
  enum Kind { Command, Separator, Popup };
  Kind kind;
  // UTF-8; "&" marks the mnemonic, and the accelerator's text follows a tab.
  std::string text;
  UINT id = 0;  // commands only
  bool grayed = false;
  std::vector<MenuItem> items;  // popups only
};

// The popups of menu resource `id` of the installed resources
// (platform/Resources.h), in menu-bar order; empty for an unknown id.
const std::vector<MenuItem>& LoadMenu(UINT id);

}  // namespace qov
