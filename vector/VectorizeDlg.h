#pragma once
// The vectorizer's settings dialog "ベクトル化" (template 142): threshold,
// widest pen, tolerance, speck size and resolution, a 0 for each measured
// from the picture, and プレビュー, which has the window draw what the
// settings would write, again whenever a setting changes.

#include <functional>
#include <optional>

#include "platform/Dialog.h"
#include "vector/VectorizeParams.h"

namespace qov {

class CVectorizeDlg : public CDialog {
 public:
  explicit CVectorizeDlg(const VectorizeParams& params);

  VectorizeParams m_params;
  // Shows the vectors of the settings given (the window's preview); null
  // leaves the button without effect.
  std::function<void(const VectorizeParams&)> m_onPreview;

  // Each value is checked on OK: the threshold 0 to 100, the others not
  // negative; a value out of range shows why and keeps the dialog open.
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCommandNotify(int controlId, UINT code) override;

 private:
  // The settings the boxes hold now, when every one reads and is in range;
  // asks nothing, as typing goes on.
  std::optional<VectorizeParams> ReadBoxes() const;

  bool m_bPreviewing = false;
};

}  // namespace qov
