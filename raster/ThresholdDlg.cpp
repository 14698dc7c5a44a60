#include "raster/ThresholdDlg.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "res/Resource.h"

namespace qov {
namespace {

constexpr int kMinPercent = 0;
constexpr int kMaxPercent = 100;
constexpr int kTickFrequency = 5;
// The data exchange reads at most the first 31 characters of the edit box.
// Counting bytes instead comes to the same: a character of several bytes
// already makes the text no integer.
constexpr std::size_t kMaxTextLength = 31;
// Beyond this a typed number only needs to be known to lie past the range.
constexpr long long kSaturation = 1'000'000'000'000LL;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The value of `text` when it reads as a decimal integer by the data
// exchange's rule (blanks, optional sign, digits, blanks; a zero must begin
// with the digit 0), saturated far outside the percent range when it is too
// long for an int; nothing otherwise.
std::optional<long long> ReadTypedInteger(const std::string& text) {
  const std::string s = text.substr(0, kMaxTextLength);
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  const std::size_t first = i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    negative = s[i++] == '-';
  const std::size_t digitsStart = i;
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = std::min(value * 10 + (s[i] - '0'), kSaturation);
  }
  if (i == digitsStart)
    return std::nullopt;
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  if (i != s.size())
    return std::nullopt;
  if (value == 0 && s[first] != '0')
    return std::nullopt;
  return negative ? -value : value;
}

// Keeps m_bSyncing set for one step of keeping the controls in step.
class SyncScope {
 public:
  explicit SyncScope(bool& flag) : m_flag(flag) { m_flag = true; }
  ~SyncScope() { m_flag = false; }
  SyncScope(const SyncScope&) = delete;
  SyncScope& operator=(const SyncScope&) = delete;

 private:
  bool& m_flag;
};

}  // namespace

CThresholdDlg::CThresholdDlg(CWnd* parent) : CDialog(IDD_THRESHOLD, parent) {}

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
    SyncScope sync(m_bSyncing);
    SetDlgItemText(IDC_EDIT_THRESHOLD, std::to_string(GetTrackbarPos(controlId)));
  }
  CDialog::OnHScroll(sbCode, pos, controlId);
}

void CThresholdDlg::OnCommandNotify(int controlId, UINT code) {
  if (controlId == IDC_EDIT_THRESHOLD && code == EN_CHANGE && !m_bSyncing) {
    if (const std::optional<long long> typed = ReadTypedInteger(GetDlgItemText(controlId))) {
      SyncScope sync(m_bSyncing);
      const long long percent = std::clamp<long long>(*typed, kMinPercent, kMaxPercent);
      SetTrackbarPos(IDC_SLIDER_THRESHOLD, static_cast<int>(percent));
      if (percent != *typed)
        SetDlgItemText(controlId, std::to_string(percent));
    }
  }
  CDialog::OnCommandNotify(controlId, code);
}

}  // namespace qov
