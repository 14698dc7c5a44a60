#pragma once
// The options of the VectorScript export: every colour, or all but those
// very close to white.

#include "platform/Dialog.h"

namespace qov {

class CVectorScriptDlg : public CDialog {
 public:
  // Template 141, no explicit parent.
  CVectorScriptDlg();

  // Index of the chosen radio button of the group starting at 1006:
  // 0 every colour, 1 near-white colours left out; −1 until set.
  int m_nColorOption = -1;

  void DoDataExchange(CDataExchange* pDX) override;
};

}  // namespace qov
