#pragma once
// The system's resources as data: its string table, menus, accelerator tables
// and dialog templates. res/ defines them and each program installs them at
// start-up, before anything looks one up; this layer only reads what was
// installed (LoadString, LoadMenu, LoadAccelerators, FindDialogTemplate), so
// it links no table of its own and its tests install a small set of theirs.

#include <span>
#include <string>
#include <vector>

#include "platform/Accelerators.h"
#include "platform/DialogTemplate.h"
#include "platform/Menu.h"
#include "platform/Types.h"

namespace qov {

struct StringResource {
  UINT id;
  std::string text;  // UTF-8
};

struct MenuResource {
  UINT id;
  std::vector<MenuItem> popups;  // in menu-bar order
};

struct AcceleratorTable {
  UINT id;
  std::span<const Accelerator> entries;
};

// Views of tables that outlive their installation (res/'s are static).
struct CResources {
  std::span<const StringResource> strings;
  std::span<const MenuResource> menus;
  std::span<const AcceleratorTable> accelerators;
  std::span<const DialogTemplate* const> dialogs;
};

// Installs `resources` (not copied, not owned); returns the previous set.
const CResources* SetResources(const CResources* resources);
// The set in force; std::logic_error when none was installed.
const CResources& Resources();

}  // namespace qov
