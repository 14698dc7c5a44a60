#pragma once
// The system's string table, looked up in the installed resources
// (platform/Resources.h).

#include <string>

#include "platform/FrameworkIds.h"

namespace qov {

// The text of string resource `id`, or "" when the table has none;
// std::logic_error when no resources were installed.
const std::string& LoadString(UINT id);

}  // namespace qov
