#pragma once

#include <string>

#include "platform/Types.h"

namespace qov {

// Shows `text` modally, captioned with the application name "QOV_V2".
// Returns the button chosen (IDOK for an OK box).
int AfxMessageBox(const std::string& text, UINT type = MB_OK, UINT helpId = 0);

}  // namespace qov
