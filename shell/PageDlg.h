#pragma once
// The dialog "ページの選択" (template 143): the pages of a multi-page file
// with their sizes, and an edit box with the number of the page to open.

#include <vector>

#include "image/import/PictureFile.h"
#include "platform/Dialog.h"

namespace qov {

class CPageDlg : public CDialog {
 public:
  explicit CPageDlg(std::vector<PicturePageSize> pages);

  // The page to open, from 1; on OK a number of no page gives the message
  // "1 から N までのページ番号を入力してください。" and the dialog stays.
  int m_nPage = 1;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnInitDialog() override;

 private:
  std::vector<PicturePageSize> m_pages;
};

}  // namespace qov
