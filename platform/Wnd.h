#pragma once
// The common base of everything that is a window in the framework's sense:
// views, dialogs and the main frame. Owners of dialogs and the clipboard are
// passed as CWnd pointers and may be null.

#include "platform/CmdTarget.h"

namespace qov {

class CWnd : public CCmdTarget {};

}  // namespace qov
