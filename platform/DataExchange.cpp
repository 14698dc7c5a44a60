// Dialog data exchange: moving values between the controls and the dialog's
// members, and validating them on the way in.

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Dialog.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"

namespace qov {

namespace {

// The edit box was read into a 32-character buffer.
constexpr std::size_t kMaxTextChars = 31;

// The first `count` characters of UTF-8 `text`.
std::string_view FirstChars(std::string_view text, std::size_t count) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsChar = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsChar && chars++ == count)
      return text.substr(0, i);
  }
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Far enough outside int that a saturated value is still known to be too
// large for one.
constexpr long long kSaturation = 1'000'000'000'000LL;

}  // namespace

// Blanks or tabs, an optional sign, digits, blanks or tabs. A zero must be
// written with a leading 0: the framework took a zero result that did not
// start with one for text that held no number, so "+0" and "-0" fail too.
std::optional<long long> ReadDialogInteger(std::string_view fullText) {
  const std::string_view text = FirstChars(fullText, kMaxTextChars);
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  const char first = i < text.size() ? text[i] : '\0';
  const bool negative = first == '-';
  if (first == '+' || first == '-')
    ++i;
  const std::size_t digitsStart = i;
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kSaturation);
  }
  if (i == digitsStart)
    return std::nullopt;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  if (i != text.size())
    return std::nullopt;
  if (value == 0 && first != '0')
    return std::nullopt;
  return negative ? -value : value;
}

void CDataExchange::Fail() {
  if (m_pDlgWnd && m_idLastControl != 0) {
    m_pDlgWnd->GotoDlgCtrl(m_idLastControl, m_bEditLastControl);
  }
  throw CUserException{};
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    value = pDX->m_pDlgWnd->IsDlgButtonChecked(id);
  } else {
    if (value < 0 || value > 2)
      value = 0;
    pDX->m_pDlgWnd->CheckDlgButton(id, value);
  }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  pDX->PrepareEditCtrl(id);
  if (!pDX->m_bSaveAndValidate) {
    pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
    return;
  }
  const std::string text = pDX->m_pDlgWnd->GetDlgItemText(id);
  // A value beyond int fails rather than wrapping or saturating.
  const std::optional<long long> parsed = ReadDialogInteger(text);
  if (!parsed || *parsed > INT_MAX || *parsed < INT_MIN) {
    AfxMessageBox(text::kEnterInteger, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  value = static_cast<int>(*parsed);
}

std::optional<double> ReadDialogNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return std::nullopt;
  const std::string_view trimmed = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  double parsed = 0;
  const char* end = trimmed.data() + trimmed.size();
  const auto [stop, ec] = std::from_chars(trimmed.data(), end, parsed);
  if (ec != std::errc() || stop != end || !std::isfinite(parsed))
    return std::nullopt;
  return parsed;
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
  pDX->PrepareEditCtrl(id);
  if (!pDX->m_bSaveAndValidate) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    pDX->m_pDlgWnd->SetDlgItemText(id, std::string(buffer, ec == std::errc() ? end : buffer));
    return;
  }
  const std::optional<double> parsed = ReadDialogNumber(pDX->m_pDlgWnd->GetDlgItemText(id));
  if (!parsed) {
    AfxMessageBox(text::kEnterNumber, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  value = *parsed;
}

void DDX_Slider(CDataExchange* pDX, int id, int& value) {
  pDX->PrepareCtrl(id);
  if (pDX->m_bSaveAndValidate) {
    value = pDX->m_pDlgWnd->GetTrackbarPos(id);
  } else {
    pDX->m_pDlgWnd->SetTrackbarPos(id, value);
  }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  pDX->PrepareCtrl(id);
  const std::vector<int> group = pDX->m_pDlgWnd->GetRadioGroup(id);
  if (pDX->m_bSaveAndValidate)
    value = -1;
  for (std::size_t i = 0; i < group.size(); ++i) {
    const int index = static_cast<int>(i);
    if (!pDX->m_bSaveAndValidate) {
      pDX->m_pDlgWnd->CheckDlgButton(group[i], index == value ? 1 : 0);
    } else if (value == -1 && pDX->m_pDlgWnd->IsDlgButtonChecked(group[i]) != 0) {
      value = index;
    }
  }
}

}  // namespace qov
