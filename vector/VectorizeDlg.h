#pragma once
// The vectorizer's settings dialog "ベクトル化" (template 142): threshold,
// widest pen, tolerance, speck size and resolution, a 0 for each measured
// from the picture.

#include "platform/Dialog.h"
#include "vector/VectorizeParams.h"

namespace qov {

class CVectorizeDlg : public CDialog {
 public:
  explicit CVectorizeDlg(const VectorizeParams& params);

  VectorizeParams m_params;

  // Each value is checked on OK: the threshold 0 to 100, the others not
  // negative; a value out of range shows why and keeps the dialog open.
  void DoDataExchange(CDataExchange* pDX) override;
};

}  // namespace qov
