#include "export/VectorScriptDlg.h"

#include "res/Resource.h"

namespace qov {

CVectorScriptDlg::CVectorScriptDlg() : CDialog(IDD_VECTORSCRIPT) {}

void CVectorScriptDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Radio(pDX, IDC_RADIO_ALLCOLORS, m_nColorOption);
}

}  // namespace qov
