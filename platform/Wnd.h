#pragma once
// The common base of everything that is a window in the framework's sense:
// views, dialogs and the main frame. The clipboard's owner is passed as a
// CWnd pointer and may be null.

#include "platform/CmdTarget.h"

namespace qov {

class CWnd : public CCmdTarget {};

}  // namespace qov
