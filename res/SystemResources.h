#pragma once
// The system's resources as the platform layer receives them. Each program
// installs them first thing: SetResources(&SystemResources()).

#include <span>

#include "platform/Resources.h"

namespace qov {

const CResources& SystemResources();

// The tables it is made of, one a file of res/.
std::span<const StringResource> SystemStrings();
std::span<const MenuResource> SystemMenus();
std::span<const AcceleratorTable> SystemAccelerators();
std::span<const DialogTemplate* const> SystemDialogTemplates();

}  // namespace qov
