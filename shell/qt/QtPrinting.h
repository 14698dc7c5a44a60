#pragma once
// Printing the view's drawing: with the print dialog, directly, or as a
// preview, on the application's one printer (whose settings the printer
// setup dialog changes). The view lays its page out in printer pixels within
// the printable area.

#include <QPrinter>
#include <string>

#include "shell/AppBackend.h"

class QPainter;

namespace qov {

class QtPrinting {
 public:
  QtPrinting();

  QPrinter& Printer() { return m_printer; }

  PrintResult Print(CView& view, CPrintInfo& info, const std::string& printerName,
                    std::string* reason);
  void Setup();

  // One page of the view on `painter`: its printable area and resolution
  // go into `info`, then the view prints.
  static void Render(CView& view, QPainter& painter, CPrintInfo& info);

 private:
  void UsePrintableArea();
  PrintResult PrintNow(CView& view, CPrintInfo& info, std::string* reason);
  void Preview(CView& view, CPrintInfo& info);
  bool SelectPrinter(const std::string& printerName, std::string* reason);

  QPrinter m_printer;
};

}  // namespace qov
