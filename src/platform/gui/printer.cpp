// TPrinter over QPrinter and a QPainter held open for the document.
#include "platform/gui/printer.h"

#include <QPainter>
#include <QPrinter>
#include <stdexcept>

#include "platform/gui/qt_canvas.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

TPrinter::TPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}
TPrinter::~TPrinter() { abort(); }

void TPrinter::beginDoc() {
  if (painter_) throw std::runtime_error("Printing in progress");
  printer_->setDocName(qs(title_));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    throw std::runtime_error("Printer selected is not valid");
  }
  canvas_ = std::make_unique<QtCanvas>(painter_.get());
}

void TPrinter::newPage() {
  if (!painter_) throw std::runtime_error("Printer is not currently printing");
  printer_->newPage();
}

void TPrinter::endDoc() {
  if (!painter_) throw std::runtime_error("Printer is not currently printing");
  painter_->end();
  canvas_.reset();
  painter_.reset();
}

void TPrinter::abort() {
  if (!painter_) return;
  printer_->abort();
  painter_->end();
  canvas_.reset();
  painter_.reset();
}

Canvas& TPrinter::canvas() {
  if (!canvas_) throw std::runtime_error("Printer is not currently printing");
  return *canvas_;
}

QPainter& TPrinter::painter() {
  if (!painter_) throw std::runtime_error("Printer is not currently printing");
  return *painter_;
}

void TPrinter::printToPdf(const std::string& path) {
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(qs(path));
  printer_->setResolution(600);
  printer_->setPageSize(QPageSize(QPageSize::A4));
  printer_->setFullPage(true);
}

int TPrinter::pageWidth() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).width(); }
int TPrinter::pageHeight() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).height(); }

TPrinterOrientation TPrinter::orientation() const {
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::setOrientation(TPrinterOrientation o) {
  printer_->setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

static std::unique_ptr<TPrinter> g_printer;

TPrinter& printer() {
  if (!g_printer) g_printer = std::make_unique<TPrinter>();
  return *g_printer;
}

void releasePrinter() { g_printer.reset(); }

}  // namespace kgui
