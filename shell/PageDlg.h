#pragma once
// The dialog "ページの選択" (template 143): the pages of a multi-page file
// with their sizes, and an edit box with the number of the page to open.

#include <vector>

#include "platform/Dialog.h"
#include "platform/Types.h"

namespace qov {

class CPageDlg : public CDialog {
 public:
  // The pages' sizes in pixels, in page order.
  explicit CPageDlg(std::vector<CSize> pages);

  // The page to open, from 1; on OK a number of no page gives the message
  // "1 から N までのページ番号を入力してください。" and the dialog stays.
  int m_nPage = 1;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;

 private:
  std::vector<CSize> m_pages;
};

}  // namespace qov
