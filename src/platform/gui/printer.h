// The application's printer: a QPrinter with the platform's BeginDoc, NewPage, EndDoc,
// page size in printer pixels and a canvas that draws on the current page.
#pragma once

#include <memory>
#include <string>

#include "platform/classes/canvas.h"

class QPrinter;
class QPainter;

namespace kgui {

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
  TPrinter();
  ~TPrinter();
  QPrinter& qprinter() { return *printer_; }

  void beginDoc();  // opens the canvas on the first page
  void newPage();
  void endDoc();
  void abort();
  bool printing() const { return painter_ != nullptr; }
  Canvas& canvas();  // valid between beginDoc and endDoc
  QPainter& painter();  // the same page's painter, for pictures and colour images

  int pageWidth() const;   // printer pixels
  int pageHeight() const;
  TPrinterOrientation orientation() const;
  void setOrientation(TPrinterOrientation o);
  std::string title() const { return title_; }
  void setTitle(const std::string& t) { title_ = t; }
  // Prints into a PDF file from now on: A4 at 600 dpi, the whole sheet as the page.
  void printToPdf(const std::string& path);

private:
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<Canvas> canvas_;
  std::string title_;
};

// The process's printer, made on first use; the application object frees it before Qt goes.
TPrinter& printer();
void releasePrinter();

}  // namespace kgui
