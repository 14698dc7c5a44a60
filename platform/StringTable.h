#pragma once
// The system's string table: declared here, defined by res/ with the
// system's other resources (as the dialog templates are).

#include <string>

#include "platform/FrameworkIds.h"

namespace qov {

// The text of string resource `id`, or "" when the table has none.
const std::string& LoadString(UINT id);

}  // namespace qov
