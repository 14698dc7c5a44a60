#pragma once
// The view: shows the picture at the display scale, and is the command
// target of every picture command. Split by concern over
// QOV_V2View.cpp (construction, message map, scale, mouse),
// QOV_V2View_Draw.cpp, QOV_V2View_Clipboard.cpp,
// QOV_V2View_Tools.cpp (the raster commands), QOV_V2View_Export.cpp and
// QOV_V2View_Vectorize.cpp.
//
// Errors: a command reports only through the CCommandResult it leaves on
// the view (SetCommandResult): done, disabled (not run), cancelled, or
// failed with its message and reason. The command boundary hands it to the
// window, which shows the message, or to qov-convert, which prints the
// reason. No command or writer shows a failure itself.

#include <cstdint>

#include "image/QOV_V2Doc.h"
#include "platform/View.h"
#include "vector/VectorizeParams.h"

namespace qov {

class CQOV_V2View : public CScrollView {
 public:
  CQOV_V2View() = default;
  ~CQOV_V2View() override = default;

  CQOV_V2Doc* GetDocument() const;

  // Display scale: 1, 2, 4 or 8.
  int m_nScale = 1;

  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;
  bool OnPreparePrinting(CPrintInfo* pInfo) override;
  // The whole picture on the page (see PicturePageRect).
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

  void SetScale(int n);

  // Scale commands.
  void OnScale1();
  void OnScale2();
  void OnScale4();
  void OnScale8();
  void OnUpdateScale1(CCmdUI* pCmdUI);
  void OnUpdateScale2(CCmdUI* pCmdUI);
  void OnUpdateScale4(CCmdUI* pCmdUI);
  void OnUpdateScale8(CCmdUI* pCmdUI);

  // Mouse.
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;

  // Clipboard, the undo store.
  void CopyToClipboard();
  // CopyToClipboard's copy, also held by the caller (a second owner of the
  // same block), so that the picture can come back from it whatever another
  // program does with the clipboard meanwhile. When the clipboard cannot be
  // opened the copy is the caller's alone; null when none could be made.
  CGlobalOwner CopyToClipboardKeepingCopy();
  void PasteFromClipboard();
  void OnEditCopy();
  void OnEditPaste();
  void OnEditUndo();
  void OnUpdateEditCopy(CCmdUI* pCmdUI);

  // Raster commands.
  void OnBinarize();
  void Binarize();
  void OnDither1();
  void OnDither2();
  void Dither1();
  void Dither2();
  void OnErrorDiffusion();
  void OnOutline();
  void ExtractOutline();
  // ExtractOutline's steps, returning its undo copy as
  // CopyToClipboardKeepingCopy does; without a copy the picture is left as
  // it was.
  CGlobalOwner ExtractOutlineKeepingCopy();

  // Exports.
  void OnUpdateToolCommands(CCmdUI* pCmdUI);
  void OnDotsToCrosses();
  void ExportDotsToCrosses();
  void OnDotsToLines();
  void ExportDotsToLines();
  void OnAutoTrace();
  void ExportAutoTrace();
  void OnSaveVectorScript();
  void ExportVectorScript();
  void OnVectorize();
  void ExportVectorize();
  // The vectorizer's settings, kept from one run of its dialog to the next.
  VectorizeParams m_vectorizeParams;

 protected:
  bool OnViewCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

 private:
  enum class UndoCopy { placed, kept };
  CGlobalOwner MakeUndoCopy(UndoCopy use);
  enum class OutlineCopy { optional, required };
  CGlobalOwner Outline(OutlineCopy need);
  // Gives the document a block of its own when it shares one, before its
  // pixels change.
  void UnshareDocument();

  // Scroll sizes for a block of w × h pixels at the current scale.
  void SetScrollSizesForImage(std::int64_t width, std::int64_t height);
  // Makes block `h` (owned from now on) the document's picture: flagged as
  // modified, scroll sizes to match, every view updated.
  void AdoptPicture(HGLOBAL h);
};

}  // namespace qov
