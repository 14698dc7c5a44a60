// The export commands of the view: three DXF drawings and the VectorScript
// file. Each checks for a picture itself; the menu always enables them.

#include <utility>

#include "export/AutoTrace.h"
#include "export/DotsToCrosses.h"
#include "export/DotsToLines.h"
#include "export/ExportFrame.h"
#include "export/VectorScriptDlg.h"
#include "image/DibBlock.h"
#include "platform/Dialog.h"
#include "platform/ScopeExit.h"
#include "res/Strings.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// Reports the no-picture failure when the document holds none.
bool HasPicture(CQOV_V2View& view) {
  if (view.GetDocument()->m_hDib)
    return true;
  view.SetCommandResult(CCommandResult::Failed(text::kNoImage, reason::kNoImage));
  return false;
}

}  // namespace

void CQOV_V2View::OnUpdateToolCommands(CCmdUI* pCmdUI) {
  pCmdUI->Enable(true);
}

void CQOV_V2View::OnDotsToCrosses() {
  if (!HasPicture(*this))
    return;
  ExportDotsToCrosses();
}

void CQOV_V2View::ExportDotsToCrosses() {
  SetCommandResult(RunDxfExport(*GetDocument(), ExportWaitCursor::none, WriteDotsToCrosses));
}

void CQOV_V2View::OnDotsToLines() {
  if (!HasPicture(*this))
    return;
  ExportDotsToLines();
}

void CQOV_V2View::ExportDotsToLines() {
  SetCommandResult(RunDxfExport(*GetDocument(), ExportWaitCursor::shown, WriteDotsToLines));
}

void CQOV_V2View::OnAutoTrace() {
  if (!HasPicture(*this))
    return;
  // The tracing works on the outline picture and marks pixels white in it.
  // The user's picture comes back from the outline step's undo copy, held
  // here as well as on the clipboard: one block serves both, and another
  // program that takes or empties the clipboard meanwhile takes nothing
  // from us. It comes back on every way out, without allocating, so that no
  // outlined picture is ever left for the next save to write over the
  // user's file.
  // A trace the user stops leaves the modified flag as it was too.
  const bool modified = GetDocument()->IsModified();
  CGlobalOwner saved = ExtractOutlineKeepingCopy();
  if (!saved) {
    SetCommandResult(CCommandResult::Failed(text::kOutOfMemory, reason::kOutOfMemory));
    return;
  }
  bool cancelled = false;
  const ScopeExit restore([this, &saved, &cancelled, modified] {
    AdoptPicture(std::move(saved));
    if (cancelled)
      GetDocument()->SetModifiedFlag(modified);
  });
  try {
    ExportAutoTrace();
  } catch (const CUserException&) {
    cancelled = true;
    throw;
  }
}

void CQOV_V2View::ExportAutoTrace() {
  SetCommandResult(RunDxfExport(*GetDocument(), ExportWaitCursor::shown, WriteAutoTrace));
  Invalidate(true);
}

void CQOV_V2View::OnSaveVectorScript() {
  if (!HasPicture(*this))
    return;
  ExportVectorScript();
}

void CQOV_V2View::ExportVectorScript() {
  CVectorScriptDlg options;
  options.m_nColorOption = 1;
  if (options.DoModal() != IDOK) {
    SetCommandResult(CCommandResult(CCommandResult::cancelled));
    return;
  }
  SetCommandResult(RunVectorScriptExport(*GetDocument(), options.m_nColorOption));
}

}  // namespace qov
