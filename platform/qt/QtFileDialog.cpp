// The open and save dialogs of QtBackend.

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/FileDialog.h"
#include "platform/qt/QtBackend.h"

namespace qov {
namespace {

// "desc|pattern" as the dialog's filter. The dialog shows the description
// as it is and matches the patterns, which follow it in parentheses (and are
// hidden). "*.*" stands for every file, as it did where names need no dot;
// here it would pass only names with one.
QString NameFilter(const std::string& description, const std::string& pattern) {
  QStringList patterns =
      QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& one : patterns) {
    if (one == QStringLiteral("*.*"))
      one = QStringLiteral("*");
  }
  return QString::fromStdString(description) + QStringLiteral(" (") +
         patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// Types and icons by the name alone: the system's guess from a file's content
// reads it, and reading some files (in /proc, a pipe) waits for good.
class NameOnlyIconProvider : public QFileIconProvider {
 public:
  QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
  QIcon icon(const QFileInfo& info) const override {
    return QFileIconProvider::icon(info.isDir() ? Folder : File);
  }
  QString type(const QFileInfo& info) const override {
    if (info.isDir())
      return QStringLiteral("Folder");
    return QMimeDatabase()
        .mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension)
        .comment();
  }
};

}  // namespace

std::intptr_t QtBackend::RunFileDialog(CFileDialog& dlg) {
  ModalScope modal;
  // Outlives the dialog, whose file list asks it from a thread of its own.
  NameOnlyIconProvider icons;
  QFileDialog window(DialogParent());
  window.setOption(QFileDialog::DontUseNativeDialog, true);
  window.setIconProvider(&icons);
  window.setAcceptMode(dlg.IsOpenDialog() ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  window.setFileMode(dlg.IsOpenDialog() ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // "*.DXF" must also find "drawing.dxf", as it did where names ignore case.
  window.setFilter(window.filter() & ~QDir::CaseSensitive);
  QStringList filters;
  for (const auto& [description, pattern] : dlg.GetFilters()) {
    filters << NameFilter(description, pattern);
  }
  if (!filters.isEmpty()) {
    window.setOption(QFileDialog::HideNameFilterDetails, true);
    window.setNameFilters(filters);
  }
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
