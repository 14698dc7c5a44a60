// The open and save dialogs of QtBackend.

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/FileDialog.h"
#include "platform/qt/QtBackend.h"

namespace qov {
namespace {

// "desc|pattern" as the dialog's filter: the description already names its
// pattern in parentheses ("TXTファイル(*.TXT)"); where it does not, the
// pattern is added so that the dialog can use it.
QString NameFilter(const std::string& description, const std::string& pattern) {
  QString filter = QString::fromStdString(description);
  const QString patterns =
      QString::fromStdString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
  if (!filter.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
    filter += QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filter;
}

}  // namespace

std::intptr_t QtBackend::RunFileDialog(CFileDialog& dlg) {
  ModalScope modal;
  QFileDialog window(DialogParent());
  window.setOption(QFileDialog::DontUseNativeDialog, true);
  window.setAcceptMode(dlg.IsOpenDialog() ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  window.setFileMode(dlg.IsOpenDialog() ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // "*.DXF" must also find "drawing.dxf", as it did where names ignore case.
  window.setFilter(window.filter() & ~QDir::CaseSensitive);
  QStringList filters;
  for (const auto& [description, pattern] : dlg.GetFilters()) {
    filters << NameFilter(description, pattern);
  }
  if (!filters.isEmpty())
    window.setNameFilters(filters);
  if (!dlg.GetDefExt().empty())
    window.setDefaultSuffix(QString::fromStdString(dlg.GetDefExt()));
  window.setOption(QFileDialog::DontConfirmOverwrite, !(dlg.GetFlags() & OFN_OVERWRITEPROMPT));
  const QFileInfo initial(QString::fromStdString(dlg.GetFileName()));
  window.setDirectory(initial.isAbsolute() ? initial.absolutePath() : QDir::currentPath());
  if (!dlg.GetFileName().empty())
    window.selectFile(initial.fileName());

  if (window.exec() != QDialog::Accepted || window.selectedFiles().isEmpty())
    return IDCANCEL;
  dlg.SetPathName(window.selectedFiles().front().toStdString());
  return IDOK;
}

}  // namespace qov
