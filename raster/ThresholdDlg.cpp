#include "raster/ThresholdDlg.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/ScopeExit.h"
#include "res/Resource.h"

namespace qov {
namespace {

constexpr int kMinPercent = 0;
constexpr int kMaxPercent = 100;
constexpr int kTickFrequency = 5;

}  // namespace

CThresholdDlg::CThresholdDlg() : CDialog(IDD_THRESHOLD) {}

void CThresholdDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_CHECK_OUTLINE, m_bOutline);
  DDX_Text(pDX, IDC_EDIT_THRESHOLD, m_nThresholdText);
  DDX_Slider(pDX, IDC_SLIDER_THRESHOLD, m_nThreshold);
}

bool CThresholdDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetTrackbarRangeMin(IDC_SLIDER_THRESHOLD, kMinPercent);
  SetTrackbarRangeMax(IDC_SLIDER_THRESHOLD, kMaxPercent);
  SetTrackbarTicFreq(IDC_SLIDER_THRESHOLD, kTickFrequency);
  SetTrackbarPos(IDC_SLIDER_THRESHOLD, m_nThreshold);
  SetDlgItemText(IDC_EDIT_THRESHOLD, std::to_string(m_nThreshold));
  return true;
}

void CThresholdDlg::OnHScroll(UINT sbCode, UINT pos, int controlId) {
  if (!m_bSyncing) {
    const auto sync = SetForScope(m_bSyncing);
    SetDlgItemText(IDC_EDIT_THRESHOLD, std::to_string(GetTrackbarPos(controlId)));
  }
  CDialog::OnHScroll(sbCode, pos, controlId);
}

void CThresholdDlg::OnCommandNotify(int controlId, UINT code) {
  if (controlId == IDC_EDIT_THRESHOLD && code == EN_CHANGE && !m_bSyncing) {
    if (const std::optional<long long> typed = ReadDialogInteger(GetDlgItemText(controlId))) {
      const auto sync = SetForScope(m_bSyncing);
      const long long percent = std::clamp<long long>(*typed, kMinPercent, kMaxPercent);
      SetTrackbarPos(IDC_SLIDER_THRESHOLD, static_cast<int>(percent));
      if (percent != *typed)
        SetDlgItemText(controlId, std::to_string(percent));
    }
  }
  CDialog::OnCommandNotify(controlId, code);
}

}  // namespace qov
