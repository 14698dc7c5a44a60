#pragma once
// Printing the view's drawing: with the print dialog, directly, or as a
// preview, on the application's one printer (whose settings the printer
// setup dialog changes). The view draws in printer pixels, as it draws on
// the screen, with no scaling to the page.

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

  // One page of the view's drawing on `painter`.
  static void Render(CView& view, QPainter& painter, CPrintInfo& info);

 private:
  PrintResult PrintNow(CView& view, CPrintInfo& info, std::string* reason);
  void Preview(CView& view, CPrintInfo& info);
  bool SelectPrinter(const std::string& printerName, std::string* reason);

  QPrinter m_printer;
};

}  // namespace qov
