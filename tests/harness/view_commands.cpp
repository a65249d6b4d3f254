// Harness-only commands that need Qt. SaveImageView FILE [ZOOM [SCROLLX SCROLLY]] zooms the
// 600 x 600 part view (ZOOM 0 fits the whole image), scrolls it, redraws it with its
// overlays as the image window does and saves the picture as PNG. PrintFile PATH makes the
// printer write PDF to PATH (A4, 600 dpi, full page) and accepts the run's print dialogs
// from then on; before it every print dialog is cancelled, as a headless run cannot print.
// PrintPeakList prints the peak list (print_peak_proc). The application object is made on
// first use, on the offscreen platform unless another one is chosen.
#include <QGuiApplication>
#include <QImage>
#include <clocale>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "app/image_view_paint.h"
#include "app/printing.h"
#include "commands/image_view_commands.h"
#include "commands/print_commands.h"
#include "harness/harness.h"
#include "model/state.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/printer.h"
#include "platform/gui/qt_canvas.h"
#include "ports/ports.h"

namespace kestrin::harness {

namespace {

void ensure_application() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "kestrin-harness";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  // The printer goes before the application object does.
  std::atexit(&kgui::releasePrinter);
}

// The harness's dialogs once it prints to a file: every print dialog is accepted, every
// other question refused.
class PrintingDialogs : public kgui::Dialogs {
public:
  bool executeFile(kgui::TOpenDialog&, bool) override { return false; }
  int messageBox(const std::string&, const std::string&, kgui::TMsgDlgType, kgui::TMsgDlgButtons) override {
    return kgui::mrCancel;
  }
  bool selectDirectory(const std::string&, std::string&) override { return false; }
  bool executeColor(kgui::TColor&) override { return false; }
  bool executePrint(kgui::TPrinter&) override { return true; }
};

// The printer port over the application's printer, installed with the first print command.
void install_printing() {
  static app::WindowPrinting printing;
  if (&kestrin::printing() == &printing) return;
  Ports p = ports();
  p.printing = &printing;
  install_ports(p);
}

MethodResult print_file(const MethodArgs& a) {
  if (a.count() < 1) throw std::runtime_error("usage: PrintFile PATH");
  ensure_application();
  install_printing();
  static PrintingDialogs dialogs;
  kgui::setDialogs(&dialogs);
  kgui::printer().printToPdf(a.text(0));
  return {};
}

MethodResult print_peak_list(const MethodArgs&) {
  ensure_application();
  install_printing();
  print_peak_list_command();
  return {};
}

MethodResult save_image_view(const MethodArgs& a) {
  if (a.count() < 1 || a.count() == 3) throw std::runtime_error("usage: SaveImageView FILE [ZOOM [SCROLLX SCROLLY]]");
  ensure_application();
  ImageView& v = state().image_view;
  v.ViewWidth = v.ViewHeight = 600;
  const double zoom = a.count() > 1 ? a.number(1) : v.Zoom;
  if (!apply_image_zoom(zoom)) throw std::runtime_error("zoom refused");
  if (a.count() > 3) v.ScrollX = a.integer(2), v.ScrollY = a.integer(3);
  QImage picture(v.ViewWidth, v.ViewHeight, QImage::Format_RGB32);
  picture.fill(Qt::white);
  kgui::QtCanvas canvas(&picture);
  std::vector<uint32_t> view;
  if (!app::draw_part_view(canvas, view)) throw std::runtime_error("no view to draw (no image, or rows past the image)");
  if (!picture.save(QString::fromStdString(a.text(0)), "PNG")) throw std::runtime_error("cannot write " + a.text(0));
  return {};
}

}  // namespace

std::span<const KestrinMethod> view_commands() {
  static const std::vector<KestrinMethod> commands = {
      {"SaveImageView", 0, &save_image_view}, {"PrintFile", 0, &print_file}, {"PrintPeakList", 0, &print_peak_list}};
  return commands;
}

}  // namespace kestrin::harness
