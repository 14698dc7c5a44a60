#include "vector/VectorizeDlg.h"

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace qov {
namespace {

bool InRange(const VectorizeParams& p) {
  return p.threshold >= 0 && p.threshold <= 100 && p.maxPenMm >= 0 && p.toleranceMm >= 0 &&
         p.speckMm2 >= 0 && p.dpi >= 0;
}

}  // namespace

CVectorizeDlg::CVectorizeDlg(const VectorizeParams& params)
    : CDialog(IDD_VECTORIZE), m_params(params) {}

void CVectorizeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_EDIT_VECTOR_THRESHOLD, m_params.threshold);
  DDX_Text(pDX, IDC_EDIT_MAX_PEN, m_params.maxPenMm);
  DDX_Text(pDX, IDC_EDIT_TOLERANCE, m_params.toleranceMm);
  DDX_Text(pDX, IDC_EDIT_SPECK, m_params.speckMm2);
  DDX_Text(pDX, IDC_EDIT_DPI, m_params.dpi);
  if (pDX->m_bSaveAndValidate && !InRange(m_params)) {
    AfxMessageBox(text::kVectorizeRange, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

std::optional<VectorizeParams> CVectorizeDlg::ReadBoxes() const {
  VectorizeParams params;
  const std::optional<long long> threshold =
      ReadDialogInteger(GetDlgItemText(IDC_EDIT_VECTOR_THRESHOLD));
  if (!threshold || *threshold < 0 || *threshold > 100)
    return std::nullopt;
  params.threshold = static_cast<int>(*threshold);
  const std::pair<int, double VectorizeParams::*> numbers[] = {
      {IDC_EDIT_MAX_PEN, &VectorizeParams::maxPenMm},
      {IDC_EDIT_TOLERANCE, &VectorizeParams::toleranceMm},
      {IDC_EDIT_SPECK, &VectorizeParams::speckMm2},
      {IDC_EDIT_DPI, &VectorizeParams::dpi}};
  for (const auto& [id, member] : numbers) {
    const std::optional<double> value = ReadDialogNumber(GetDlgItemText(id));
    if (!value)
      return std::nullopt;
    params.*member = *value;
  }
  if (!InRange(params))
    return std::nullopt;
  return params;
}

void CVectorizeDlg::OnCommandNotify(int controlId, UINT code) {
  const bool pressed = controlId == IDC_PREVIEW && code == BN_CLICKED;
  if ((pressed || (m_bPreviewing && code == EN_CHANGE)) && m_onPreview) {
    if (const std::optional<VectorizeParams> params = ReadBoxes()) {
      m_bPreviewing = true;
      m_onPreview(*params);
    }
  }
  CDialog::OnCommandNotify(controlId, code);
}

}  // namespace qov
