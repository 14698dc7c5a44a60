#pragma once
// A modal dialog built from a dialog template: one widget per control at
// its position in dialog units, mirroring the control state that the
// CDialog object keeps, and handing what the user does to the CDialog.

#include <QDialog>
#include <cstdint>
#include <map>

#include "platform/Dialog.h"

class QAbstractButton;
class QButtonGroup;
class QSlider;

namespace qov {

class QtTemplateDialog : public QDialog, public IDialogHost {
  Q_OBJECT

 public:
  QtTemplateDialog(CDialog& dlg, QWidget* parent);
  ~QtTemplateDialog() override;

  // OnInitDialog, then the modal loop until the CDialog ends; its result.
  std::intptr_t Run();

  void ControlChanged(int id) override;
  void FocusControl(int id, bool selectAll) override;

  // The widget of control `id`, or null.
  QWidget* Control(int id) const;
  // The property that carries a widget's control id.
  static constexpr const char* kControlIdProperty = "qovControlId";

 protected:
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* MakeControl(const DialogControlTemplate& control, QButtonGroup*& group);
  void ConnectButton(QAbstractButton* button, int id);
  void ConnectSlider(QSlider* slider, int id);
  void AfterUserAction();
  void SyncAll();

  CDialog& m_dlg;
  std::map<int, QWidget*> m_controls;
  QWidget* m_firstTabStop = nullptr;
  bool m_bFocusFirst = true;
  bool m_bShown = false;
};

}  // namespace qov
