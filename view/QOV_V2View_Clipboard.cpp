// The view: the clipboard, which is also the one-level undo store of every
// picture command.

#include <utility>

#include "image/DibBlock.h"
#include "image/DibFile.h"
#include "platform/Clipboard.h"
#include "platform/WaitCursor.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// The clipboard's bitmap in the 24-bit layout that the pixel operations
// need, whatever layout another program put there; null when there is none
// or it cannot be converted. A bitmap already in that layout, such as the
// window's own undo copy, is shared rather than copied: a third picture
// beside the document's and the clipboard's would cost an A0 sheet's 744 MB
// more. The next command that changes the pixels empties the clipboard
// first, and so has the block to itself.
CGlobalOwner ConvertClipboardDib() {
  const HGLOBAL data = GetClipboardData(CF_DIB);
  if (!data)
    return nullptr;
  if (IsDocumentDib(data))
    return GlobalShare(data);
  const CGlobalLock bytes(data);
  if (!bytes)
    return nullptr;
  return ConvertDibTo24(bytes.get(), bytes.size()).block;
}

}  // namespace

// Runs also without a picture: the clipboard is then only emptied, which is
// what the dithering and error diffusion commands leave behind in that case.
void CQOV_V2View::CopyToClipboard() {
  MakeUndoCopy(UndoCopy::placed);
}

CGlobalOwner CQOV_V2View::CopyToClipboardKeepingCopy() {
  return MakeUndoCopy(UndoCopy::kept);
}

// Every command that changes the pixels comes here first, so this is where
// a document that shares its block with the clipboard (after auto trace)
// stops sharing it: emptying the clipboard drops the clipboard's hold, and
// a clipboard that cannot be opened gets no say in it.
CGlobalOwner CQOV_V2View::MakeUndoCopy(UndoCopy use) {
  CClipboardScope clipboard(this);
  if (!clipboard.IsOpen())
    UnshareDocument();
  if (!clipboard.IsOpen() && use == UndoCopy::placed)
    return CGlobalOwner();
  CWaitCursor wait;
  const CGlobalReuseScope reuse;
  if (clipboard.IsOpen())
    EmptyClipboard();
  // A clipboard that lets go of its block only later leaves the document
  // sharing it still: the document then takes a block of its own.
  UnshareDocument();
  CGlobalOwner copy(CopyDibBlock(GetDocument()->m_hDib));
  if (!copy || !clipboard.IsOpen())
    return copy;
  CGlobalOwner kept = use == UndoCopy::kept ? GlobalShare(copy.get()) : nullptr;
  SetClipboardData(CF_DIB, std::move(copy));
  return kept;
}

void CQOV_V2View::UnshareDocument() {
  CQOV_V2Doc* doc = GetDocument();
  if (!GlobalIsShared(doc->m_hDib))
    return;
  if (CGlobalOwner own = CopyDibBlock(doc->m_hDib))
    doc->ReplaceDib(std::move(own));
}

void CQOV_V2View::PasteFromClipboard() {
  CClipboardScope clipboard(this);
  if (!clipboard.IsOpen())
    return;
  CWaitCursor wait;
  // Undone twice: the picture already is the clipboard's block, shared, and
  // stays so; the hold taken here takes the place of the document's own.
  if (const HGLOBAL data = GetClipboardData(CF_DIB); data && data == GetDocument()->m_hDib) {
    clipboard.Close();
    AdoptPicture(GlobalShare(data));
    return;
  }
  CGlobalOwner dib = ConvertClipboardDib();
  clipboard.Close();
  if (!dib)
    return;

  AdoptPicture(std::move(dib));
}

void CQOV_V2View::AdoptPicture(CGlobalOwner&& block) {
  CQOV_V2Doc* doc = GetDocument();
  doc->ReplaceDib(std::move(block));
  doc->SetModifiedFlag(true);
  {
    const CGlobalLock bytes(doc->m_hDib);
    SetScrollSizesForImage(DibWidth(bytes.get()), DibHeight(bytes.get()));
  }
  doc->UpdateAllViews(nullptr);
}

void CQOV_V2View::OnEditCopy() {
  CopyToClipboard();
}

// Undo is a paste: the picture commands leave their undo copy on the
// clipboard.
void CQOV_V2View::OnEditPaste() {
  PasteFromClipboard();
}
void CQOV_V2View::OnEditUndo() {
  PasteFromClipboard();
}

void CQOV_V2View::OnUpdateEditCopy(CCmdUI* pCmdUI) {
  pCmdUI->Enable(GetDocument()->m_hDib != nullptr);
}

}  // namespace qov
