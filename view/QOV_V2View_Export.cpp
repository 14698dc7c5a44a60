// The export commands of the view: three DXF drawings and the VectorScript
// file. Each checks for a picture itself; the menu always enables them.

#include <utility>

#include "export/AutoTrace.h"
#include "export/DotsToCrosses.h"
#include "export/DotsToLines.h"
#include "export/DxfExportFrame.h"
#include "export/VectorScript.h"
#include "export/VectorScriptDlg.h"
#include "image/DibBlock.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// Runs a function on every way out of a scope, exceptions included.
template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : m_f(std::move(f)) {}
  ~ScopeExit() { m_f(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F m_f;
};

// Shows the no-picture message when the document holds none.
bool HasPicture(const CQOV_V2Doc& doc) {
  if (doc.m_hDib)
    return true;
  AfxMessageBox(text::kNoImage);
  return false;
}

}  // namespace

void CQOV_V2View::OnUpdateToolCommands(CCmdUI* pCmdUI) {
  pCmdUI->Enable(true);
}

void CQOV_V2View::OnDotsToCrosses() {
  if (!HasPicture(*GetDocument()))
    return;
  ExportDotsToCrosses();
}

void CQOV_V2View::ExportDotsToCrosses() {
  RunDxfExport(this, *GetDocument(), DxfWaitCursor::none, WriteDotsToCrosses);
}

void CQOV_V2View::OnDotsToLines() {
  if (!HasPicture(*GetDocument()))
    return;
  ExportDotsToLines();
}

void CQOV_V2View::ExportDotsToLines() {
  RunDxfExport(this, *GetDocument(), DxfWaitCursor::shown, WriteDotsToLines);
}

void CQOV_V2View::OnAutoTrace() {
  CQOV_V2Doc* pDoc = GetDocument();
  if (!HasPicture(*pDoc))
    return;
  // The tracing works on the outline picture and marks pixels white in it.
  // The user's picture comes back from the outline step's undo copy, held
  // here as well as on the clipboard: one block serves both, and another
  // program that takes or empties the clipboard meanwhile takes nothing
  // from us. It comes back on every way out, without allocating, so that no
  // outlined picture is ever left for the next save to write over the
  // user's file.
  CGlobalOwner saved = ExtractOutlineKeepingCopy();
  if (!saved) {
    AfxMessageBox(text::kOutOfMemory);
    return;
  }
  const ScopeExit restore([this, pDoc, &saved] {
    pDoc->ReplaceDib(saved.release());
    pDoc->SetModifiedFlag(true);
    {
      const CGlobalLock lock(pDoc->m_hDib);
      SetScrollSizesForImage(DibWidth(lock.get()), DibHeight(lock.get()));
    }
    pDoc->UpdateAllViews(nullptr);
  });
  ExportAutoTrace();
}

void CQOV_V2View::ExportAutoTrace() {
  RunDxfExport(this, *GetDocument(), DxfWaitCursor::shown, WriteAutoTrace);
  Invalidate(true);
}

void CQOV_V2View::OnSaveVectorScript() {
  if (!HasPicture(*GetDocument()))
    return;
  ExportVectorScript();
}

void CQOV_V2View::ExportVectorScript() {
  CVectorScriptDlg options;
  options.m_nColorOption = 1;
  if (options.DoModal() != IDOK)
    return;
  CFileDialog dialog(false, ".TXT", "QOV.TXT", OFN_OVERWRITEPROMPT, "TXTファイル(*.TXT)|*.TXT||",
                     this);
  if (dialog.DoModal() != IDOK)
    return;
  SaveVectorScript(*GetDocument(), dialog.GetPathName(), options.m_nColorOption);
}

}  // namespace qov
