#pragma once
// The view: shows the picture at the display scale, and is the command
// target of every picture command. Split by concern over
// QOV_V2View.cpp (construction, message map, mouse),
// QOV_V2View_Scale.cpp (scale and scrolling commands), QOV_V2View_Draw.cpp,
// QOV_V2View_Clipboard.cpp, QOV_V2View_Tools.cpp (the raster commands), QOV_V2View_Export.cpp and
// QOV_V2View_Vectorize.cpp.
//
// Errors: a command reports only through the CCommandResult it leaves on
// the view (SetCommandResult): done, disabled (not run), cancelled, or
// failed with its message and reason. The command boundary hands it to the
// window, which shows the message, or to qov-convert, which prints the
// reason. No command or writer shows a failure itself.

#include <cstdint>
#include <functional>
#include <optional>

#include "image/QOV_V2Doc.h"
#include "platform/View.h"
#include "vector/VectorDrawing.h"
#include "vector/VectorizeParams.h"
#include "view/ReducedCache.h"

namespace qov {

class CQOV_V2View : public CScrollView {
 public:
  CQOV_V2View() = default;
  ~CQOV_V2View() override = default;

  CQOV_V2Doc* GetDocument() const;

  // Display scale: 1, 2, 4 or 8.
  int m_nScale = 1;
  // Below ×1: picture pixels to one device pixel on each axis (m_nScale is
  // then 1); 1 at ×1 and above.
  int m_nReduction = 1;

  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;
  bool OnPreparePrinting(CPrintInfo* pInfo) override;
  // The whole picture on the page (see PicturePageRect).
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

  // ×n (no reduction); the picture point at the centre of the window stays
  // there (see SetDisplayScale).
  void SetScale(int n);
  // m_nScale = scale and m_nReduction = reduction, the picture point at the
  // centre of the window kept there as far as the new scroll range allows.
  void SetDisplayScale(int scale, int reduction);

  // Scale commands.
  void OnScale1();
  void OnScale2();
  void OnScale4();
  void OnScale8();
  void OnUpdateScale1(CCmdUI* pCmdUI);
  void OnUpdateScale2(CCmdUI* pCmdUI);
  void OnUpdateScale4(CCmdUI* pCmdUI);
  void OnUpdateScale8(CCmdUI* pCmdUI);
  // The largest scale of ×8, ×4, ×2, ×1 or 1/n (any whole n) that shows the
  // whole picture in the window; nothing without a picture or a window.
  void OnScaleFit();
  void OnScaleHalf();
  void OnScaleQuarter();
  void OnScaleEighth();
  void OnUpdateScaleHalf(CCmdUI* pCmdUI);
  void OnUpdateScaleQuarter(CCmdUI* pCmdUI);
  void OnUpdateScaleEighth(CCmdUI* pCmdUI);
  // One step along 1/64, 1/32, ... 1/2, ×1, ×2, ×4, ×8 (from a fitted
  // scale, to the next step beyond it); nothing past either end.
  void OnZoomIn();
  void OnZoomOut();

  // Scrolling keys: Home and End to the left and right edges, Ctrl+Home and
  // Ctrl+End to the top-left and bottom-right corners.
  void OnScrollHome();
  void OnScrollEnd();
  void OnScrollTopLeft();
  void OnScrollBottomRight();

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
  // Runs `pass`, which changes the picture, after its undo copy `undo` (null
  // when none could be made) was taken. A pass the user cancels puts the
  // picture back from the copy, its modified flag too, and rethrows.
  void RunPicturePass(const CGlobalOwner& undo, const std::function<void()>& pass);

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
  // The vectorizer's settings, kept from one run of its dialog to the next;
  // told to whoever keeps them longer (the program's profile) when the
  // user chooses new ones.
  VectorizeParams m_vectorizeParams;
  std::function<void(const VectorizeParams&)> m_onVectorizeParamsChosen;
  // What the vectorizer would write with `params`, drawn over the picture
  // (centerlines red, outlines blue) until the dialog closes.
  void ShowVectorPreview(const VectorizeParams& params);
  std::optional<VectorDrawing> m_vectorPreview;

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

  // OnDraw below ×1, from m_reducedCache.
  void DrawReduced(CDC* pDC, CSize size);
  void DrawVectorPreview(CDC* pDC, CSize size) const;
  void CheckScale(CCmdUI* pCmdUI, int scale, int reduction) const;
  // Device pixels that `pixels` picture pixels take at the current scale.
  std::int64_t DeviceExtent(std::int64_t pixels) const;
  // Scroll sizes for a block of w × h pixels at the current scale.
  void SetScrollSizesForImage(std::int64_t width, std::int64_t height);
  // Makes `block` the document's picture: flagged as modified, scroll sizes
  // to match, every view updated.
  void AdoptPicture(CGlobalOwner&& block);

  // The picture as DrawReduced last drew it; let go when the reduction
  // changes.
  CReducedCache m_reducedCache;
};

}  // namespace qov
