#include "vector/VectorizeDlg.h"

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace qov {
namespace {

void CheckRange(CDataExchange* pDX, bool inRange) {
  if (pDX->m_bSaveAndValidate && !inRange) {
    AfxMessageBox(text::kVectorizeRange, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

}  // namespace

CVectorizeDlg::CVectorizeDlg(const VectorizeParams& params)
    : CDialog(IDD_VECTORIZE), m_params(params) {}

void CVectorizeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_EDIT_VECTOR_THRESHOLD, m_params.threshold);
  CheckRange(pDX, m_params.threshold >= 0 && m_params.threshold <= 100);
  DDX_Text(pDX, IDC_EDIT_MAX_PEN, m_params.maxPenMm);
  CheckRange(pDX, m_params.maxPenMm >= 0);
  DDX_Text(pDX, IDC_EDIT_TOLERANCE, m_params.toleranceMm);
  CheckRange(pDX, m_params.toleranceMm >= 0);
  DDX_Text(pDX, IDC_EDIT_SPECK, m_params.speckMm2);
  CheckRange(pDX, m_params.speckMm2 >= 0);
  DDX_Text(pDX, IDC_EDIT_DPI, m_params.dpi);
  CheckRange(pDX, m_params.dpi >= 0);
}

}  // namespace qov
