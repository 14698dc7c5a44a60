// The view: the raster commands. Each command puts the picture on the
// clipboard first (the undo copy), then runs its pass under the wait cursor
// and repaints once at the end. A pass the user cancels puts the picture
// back from that copy.

#include <cstdint>

#include "platform/Dialog.h"
#include "platform/Progress.h"
#include "platform/WaitCursor.h"
#include "raster/Dither.h"
#include "raster/ErrorDiffusion.h"
#include "raster/Outline.h"
#include "raster/Threshold.h"
#include "raster/ThresholdDlg.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// Dithering and error diffusion: no question, no scale change. Without a
// picture only the clipboard copy (which then empties the clipboard), the
// wait cursor and the repaint happen.
void RunPassWithoutAsking(CQOV_V2View& view, void (*pass)(CQOV_V2Doc&)) {
  CWaitCursor wait;
  CQOV_V2Doc* doc = view.GetDocument();
  doc->UpdateImageSize();
  const CGlobalOwner undo = view.CopyToClipboardKeepingCopy();
  view.RunPicturePass(undo, [doc, pass] { pass(*doc); });
  // Flagged like the other picture commands, so that closing asks to save.
  if (doc->m_nHeight != 0)
    doc->SetModifiedFlag(true);
  wait.End();
  view.Invalidate(true);
}

}  // namespace

void CQOV_V2View::OnBinarize() {
  Binarize();
}

void CQOV_V2View::Binarize() {
  CThresholdDlg dlg;
  const std::intptr_t result = dlg.DoModal();
  SetScale(1);
  Invalidate(true);
  if (result != IDOK) {
    SetCommandResult(CCommandResult(CCommandResult::cancelled));
    return;
  }
  const int percent = dlg.m_nThreshold;

  CQOV_V2Doc* doc = GetDocument();
  doc->UpdateImageSize();
  if (doc->m_nHeight == 0)
    return;
  CWaitCursor wait;
  const CGlobalOwner undo = CopyToClipboardKeepingCopy();
  RunPicturePass(undo, [doc, percent, outline = dlg.m_bOutline] {
    ThresholdPass(*doc, percent);
    doc->SetModifiedFlag(true);
    if (outline)
      OutlinePass(*doc);
  });
  wait.End();
  Invalidate(true);
}

void CQOV_V2View::OnDither1() {
  Dither1();
}
void CQOV_V2View::OnDither2() {
  Dither2();
}
void CQOV_V2View::Dither1() {
  RunPassWithoutAsking(*this, Dither1Pass);
}
void CQOV_V2View::Dither2() {
  RunPassWithoutAsking(*this, Dither2Pass);
}
void CQOV_V2View::OnErrorDiffusion() {
  RunPassWithoutAsking(*this, ErrorDiffusionPass);
}

void CQOV_V2View::OnOutline() {
  ExtractOutline();
}

// Also the first step of the auto-trace export, which pastes the undo copy
// back when it is done.
void CQOV_V2View::ExtractOutline() {
  Outline(OutlineCopy::optional);
}

CGlobalOwner CQOV_V2View::ExtractOutlineKeepingCopy() {
  return Outline(OutlineCopy::required);
}

CGlobalOwner CQOV_V2View::Outline(OutlineCopy need) {
  CQOV_V2Doc* doc = GetDocument();
  doc->UpdateImageSize();
  if (doc->m_nHeight == 0)
    return CGlobalOwner();
  CWaitCursor wait;
  CGlobalOwner copy;
  if (need == OutlineCopy::required) {
    // The copy comes first: without it nothing may change, the scale included.
    copy = CopyToClipboardKeepingCopy();
    if (!copy)
      return copy;
    SetScale(1);
  } else {
    SetScale(1);
    copy = CopyToClipboardKeepingCopy();
  }
  RunPicturePass(copy, [doc] { OutlinePass(*doc); });
  wait.End();
  Invalidate(true);
  doc->SetModifiedFlag(true);
  return need == OutlineCopy::required ? std::move(copy) : CGlobalOwner();
}

// Without an undo copy there would be nothing to put back, so such a pass
// is not offered for cancelling.
void CQOV_V2View::RunPicturePass(const CGlobalOwner& undo, const std::function<void()>& pass) {
  if (!undo) {
    const CProgressScope uncancellable(nullptr);
    pass();
    return;
  }
  CQOV_V2Doc* doc = GetDocument();
  const bool modified = doc->IsModified();
  try {
    pass();
  } catch (const CUserException&) {
    AdoptPicture(GlobalShare(undo.get()));
    doc->SetModifiedFlag(modified);
    throw;
  }
}

}  // namespace qov
