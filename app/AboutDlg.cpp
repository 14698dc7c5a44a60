#include "app/AboutDlg.h"

#include "res/Resource.h"

namespace qov {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

}  // namespace qov
