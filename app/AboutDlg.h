#pragma once
// The About box: dialog template 100, no members, no handlers.

#include "platform/Dialog.h"

namespace qov {

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};

}  // namespace qov
