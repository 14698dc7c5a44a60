#pragma once
// The main frame: the framework's frame with no bars. Save and Save As first
// make sure there is a picture to save.

#include "shell/FrameWnd.h"

namespace qov {

class CMainFrame : public CFrameWnd {
 public:
  CMainFrame() = default;

  bool PreCreateWindow() override;
  int OnCreate() override;

  void OnFileSave() override;
  void OnFileSaveAs() override;

 private:
  bool HasPicture() const;
};

}  // namespace qov
