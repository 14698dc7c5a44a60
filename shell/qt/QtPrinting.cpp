#include "shell/qt/QtPrinting.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>

#include "platform/FrameworkStrings.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtDC.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace qov {

QtPrinting::QtPrinting() : m_printer(QPrinter::HighResolution) {}

// The painter's origin is the top-left corner of the printable area, in
// device pixels.
void QtPrinting::Render(CView& view, QPainter& painter, CPrintInfo& info) {
  const QPaintDevice* device = painter.device();
  info.m_rectDraw = {0, 0, device->width(), device->height()};
  info.m_sizeLogPixels = {device->logicalDpiX(), device->logicalDpiY()};
  QtDC dc(painter, true);
  view.OnBeginPrinting(&dc, &info);
  view.OnPrepareDC(&dc, &info);
  view.OnPrint(&dc, &info);
  view.OnEndPrinting(&dc, &info);
}

bool QtPrinting::SelectPrinter(const std::string& printerName, std::string* reason) {
  if (!printerName.empty()) {
    const QPrinterInfo named = QPrinterInfo::printerInfo(QString::fromStdString(printerName));
    if (named.isNull()) {
      if (reason)
        *reason = FormatString(text::kPrinterNotFound, printerName);
      return false;
    }
    m_printer.setOutputFileName(QString());
    m_printer.setPrinterName(named.printerName());
    return true;
  }
  const bool toFile = !m_printer.outputFileName().isEmpty();
  if (!toFile && QPrinterInfo::availablePrinterNames().isEmpty()) {
    if (reason)
      *reason = text::kNoPrinter;
    return false;
  }
  return true;
}

// Qt keeps a margin of its own round the page. Only the printer's own, the
// edge it cannot print on, may take room from a drawing at its true size.
void QtPrinting::UsePrintableArea() {
  const QPageLayout layout = m_printer.pageLayout();
  m_printer.setPageMargins(layout.minimumMargins(), layout.units());
}

PrintResult QtPrinting::PrintNow(CView& view, CPrintInfo& info, std::string* reason) {
  m_printer.setDocName(QString::fromStdString(LoadString(IDS_APP_TITLE)));
  UsePrintableArea();
  QPainter painter;
  if (!painter.begin(&m_printer)) {
    if (reason)
      *reason = text::kNoPrinter;
    return PrintResult::Failed;
  }
  Render(view, painter, info);
  painter.end();
  return PrintResult::Printed;
}

void QtPrinting::Preview(CView& view, CPrintInfo& info) {
  UsePrintableArea();
  QPrintPreviewDialog preview(&m_printer, QtBackend::DialogParent());
  preview.setObjectName(QStringLiteral("printPreview"));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&view, &info](QPrinter* printer) {
                     QPainter painter(printer);
                     Render(view, painter, info);
                   });
  preview.exec();
}

PrintResult QtPrinting::Print(CView& view, CPrintInfo& info, const std::string& printerName,
                              std::string* reason) {
  ModalScope modal;
  if (info.m_bPreview) {
    Preview(view, info);
    return PrintResult::Printed;
  }
  if (info.m_bDirect) {
    if (!SelectPrinter(printerName, reason))
      return PrintResult::Failed;
    return PrintNow(view, info, reason);
  }
  QPrintDialog dialog(&m_printer, QtBackend::DialogParent());
  dialog.setObjectName(QStringLiteral("printDialog"));
  if (dialog.exec() != QDialog::Accepted)
    return PrintResult::Cancelled;
  return PrintNow(view, info, reason);
}

void QtPrinting::Setup() {
  ModalScope modal;
  QPrintDialog dialog(&m_printer, QtBackend::DialogParent());
  dialog.setObjectName(QStringLiteral("printSetup"));
  dialog.setWindowTitle(QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
  // It only chooses and sets up the printer: its button must not say it prints.
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
      ok->setText(QStringLiteral("OK"));
  }
  dialog.exec();
}

}  // namespace qov
