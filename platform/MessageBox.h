#pragma once

#include <string>

#include "platform/Types.h"

namespace qov {

// Shows `text` modally, captioned with the application's name (string
// IDS_APP_TITLE of the system's table: "QOV_V2").
// Returns the button chosen (IDOK for an OK box).
int AfxMessageBox(const std::string& text, UINT type = MB_OK, UINT helpId = 0);

}  // namespace qov
