#include "shell/PageDlg.h"

#include <string>

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace qov {
namespace {

// As many lines as the list's box shows; a longer list shows its first
// pages, an ellipsis and its last page.
constexpr std::size_t kListedLines = 6;

std::string PageLine(std::size_t index, const CSize& size) {
  return std::to_string(index + 1) + ": " + std::to_string(size.cx) + " × " +
         std::to_string(size.cy);
}

std::string PageList(const std::vector<CSize>& pages) {
  std::string text;
  const bool cut = pages.size() > kListedLines;
  const std::size_t head = cut ? kListedLines - 2 : pages.size();
  for (std::size_t i = 0; i < head; ++i)
    text += PageLine(i, pages[i]) + "\n";
  if (cut)
    text += "…\n" + PageLine(pages.size() - 1, pages.back()) + "\n";
  if (!text.empty())
    text.pop_back();
  return text;
}

}  // namespace

CPageDlg::CPageDlg(std::vector<CSize> pages) : CDialog(IDD_PAGE), m_pages(std::move(pages)) {}

void CPageDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_EDIT_PAGE, m_nPage);
  const int count = static_cast<int>(m_pages.size());
  if (pDX->m_bSaveAndValidate && (m_nPage < 1 || m_nPage > count)) {
    AfxMessageBox(FormatString(text::kPageRange, std::to_string(count)), MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

bool CPageDlg::OnInitDialog() {
  SetDlgItemText(IDC_STATIC_PAGES, PageList(m_pages));
  return CDialog::OnInitDialog();
}

}  // namespace qov
