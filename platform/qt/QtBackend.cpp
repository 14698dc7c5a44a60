#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/File.h"
#include "platform/qt/QtProgress.h"
#include "platform/qt/QtTemplateDialog.h"
#include "platform/qt/QtViewWidget.h"

namespace qov {
namespace {

constexpr UINT kTypeMask = 0x000F;
constexpr UINT kIconMask = 0x00F0;
constexpr UINT kOkCancel = 0x0001;
constexpr UINT kYesNo = 0x0004;
constexpr UINT kIconQuestion = 0x0020;

QMessageBox::Icon IconFor(UINT type) {
  switch (type & kIconMask) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case kIconQuestion:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      // A box given no icon shows the exclamation mark, as the framework's did.
      return QMessageBox::Warning;
  }
}

QMessageBox::StandardButtons ButtonsFor(UINT type) {
  switch (type & kTypeMask) {
    case kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

int ResultFor(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    case QMessageBox::Cancel:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

}  // namespace

ModalScope::ModalScope() {
  QtViewWidget::ReleaseAnyCapture();
  QApplication::setOverrideCursor(Qt::ArrowCursor);
}

ModalScope::~ModalScope() {
  QApplication::restoreOverrideCursor();
}

QtBackend::QtBackend() {
  CFile::SetRegularFilesOnly(true);
}

QtBackend::~QtBackend() {
  CFile::SetRegularFilesOnly(false);
  while (m_nWaitDepth > 0)
    EndWaitCursor();
}

QWidget* QtBackend::DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget())
    return modal;
  if (QWidget* active = QApplication::activeWindow())
    return active;
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* w : windows) {
    if (w->isVisible() && w->inherits("QMainWindow"))
      return w;
  }
  return nullptr;
}

int QtBackend::MessageBox(const std::string& text, const std::string& caption, UINT type) {
  ModalScope modal;
  QMessageBox box(IconFor(type), QString::fromStdString(caption), QString::fromStdString(text),
                  ButtonsFor(type), DialogParent());
  if ((type & kTypeMask) == MB_YESNOCANCEL)
    box.setEscapeButton(QMessageBox::Cancel);
  return ResultFor(box.exec());
}

std::intptr_t QtBackend::RunModalDialog(CDialog& dlg) {
  ModalScope modal;
  QtTemplateDialog window(dlg, DialogParent());
  return window.Run();
}

void QtBackend::BeginWaitCursor() {
  ++m_nWaitDepth;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtBackend::EndWaitCursor() {
  if (m_nWaitDepth == 0)
    return;
  --m_nWaitDepth;
  QApplication::restoreOverrideCursor();
}

std::unique_ptr<CProgress> QtBackend::CreateProgress() {
  return std::make_unique<QtProgress>(m_progressDelay);
}

}  // namespace qov
