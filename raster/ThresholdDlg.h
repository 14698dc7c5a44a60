#pragma once
// The threshold dialog "しきい値設定" (template 130): a trackbar with the
// threshold in percent, an edit box that shows it, and the outline box.

#include "platform/Dialog.h"

namespace qov {

class CThresholdDlg : public CDialog {
 public:
  CThresholdDlg();

  // Run the outline pass after the binarization (check box 1001).
  int m_bOutline = 0;
  // The number in edit box 1002; validated on OK, otherwise not used.
  int m_nThresholdText = 50;
  // The trackbar position (1000): the threshold in percent that is used.
  int m_nThreshold = 50;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;
  // Copies the trackbar position into the edit box.
  void OnHScroll(UINT sbCode, UINT pos, int controlId) override;
  // Moves the trackbar to an integer typed into the edit box (limited to
  // 0 to 100); a number outside that range is replaced at once by the one
  // that will be used. Text that is not an integer leaves the trackbar
  // where it is and fails the validation on OK.
  void OnCommandNotify(int controlId, UINT code) override;

 private:
  // Set while one control is being brought in step with the other, so that
  // the change it causes is not sent back.
  bool m_bSyncing = false;
};

}  // namespace qov
