// The vectorizer's command: its settings dialog, then the DXF drawing of
// centerlines and outlines through the exports' file frame.

#include "export/ExportFrame.h"
#include "res/Strings.h"
#include "vector/VectorDxf.h"
#include "vector/VectorizeDlg.h"
#include "vector/Vectorizer.h"
#include "view/QOV_V2View.h"

namespace qov {

void CQOV_V2View::OnVectorize() {
  if (!GetDocument()->m_hDib) {
    SetCommandResult(CCommandResult::Failed(text::kNoImage, reason::kNoImage));
    return;
  }
  ExportVectorize();
}

void CQOV_V2View::ExportVectorize() {
  CVectorizeDlg settings(m_vectorizeParams);
  if (settings.DoModal() != IDOK) {
    SetCommandResult(CCommandResult(CCommandResult::cancelled));
    return;
  }
  m_vectorizeParams = settings.m_params;
  if (m_onVectorizeParamsChosen)
    m_onVectorizeParamsChosen(m_vectorizeParams);
  CQOV_V2Doc& doc = *GetDocument();
  SetCommandResult(RunFileExport(kDxfFileKind, ExportWaitCursor::shown, [this, &doc](CFile& file) {
    const CGlobalLock lock(doc.m_hDib);
    WriteVectorDxf(file, Vectorize(lock.get(), m_vectorizeParams));
  }));
}

}  // namespace qov
