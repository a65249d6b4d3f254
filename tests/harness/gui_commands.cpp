// Harness-only commands of the windows that need the application object, which is made under
// the offscreen platform the first time one of them runs: SaveGraphPicture FILE W H draws the
// graph into a W x H picture laid out as the graph window lays out its picture and saves it
// as PNG; CopyPeakList copies the peak list as the window's button does with nothing selected
// and prints the clipboard's text as it stands; SaveImageView FILE [ZOOM [SCROLLX SCROLLY]]
// zooms the 600 x 600 part view (ZOOM 0 fits the whole image), scrolls it, redraws it with
// its overlays as the image window does and saves the picture as PNG.
#include <QImage>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include "analysis/peak_table.h"
#include "app/image_view_paint.h"
#include "app/peak_form.h"
#include "commands/graph_draw.h"
#include "commands/image_view_commands.h"
#include "commands/nax_graph_commands.h"
#include "harness/harness.h"
#include "model/state.h"
#include "platform/gui/app.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/qt_canvas.h"
#include "ports/log.h"

namespace kestrin::harness {

namespace {

// Pictures larger than this on a side are refused before any memory is taken.
constexpr int32_t kMaxPictureSide = 20000;

// The application object made here; main() ends it before the program's statics go.
std::unique_ptr<kgui::TApplication>& application() {
  static std::unique_ptr<kgui::TApplication> app;
  return app;
}

void need_application() {
  if (kgui::TApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "kestrin-harness";
  static char* argv[] = {name, nullptr};
  application() = std::make_unique<kgui::TApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
}

MethodResult save_graph_picture(const MethodArgs& a) {
  const int32_t w = a.integer(1), h = a.integer(2);
  if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide)
    throw std::runtime_error("a picture side must lie in 1.." + std::to_string(kMaxPictureSide));
  need_application();
  QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::white);
  kgui::QtCanvas canvas(&picture);
  set_graph_size_for_picture(w, h);
  draw_nax_graph(canvas, w, h);
  if (!picture.save(QString::fromStdString(a.text(0)), "PNG"))
    throw std::runtime_error("cannot write " + a.text(0));
  return {};
}

MethodResult copy_peak_list(const MethodArgs&) {
  need_application();
  app::copy_peak_rows(peak_list_rows(), {});
  log_line(kgui::Clipboard().asText());
  return {};
}

MethodResult save_image_view(const MethodArgs& a) {
  if (a.count() < 1 || a.count() == 3) throw std::runtime_error("usage: SaveImageView FILE [ZOOM [SCROLLX SCROLLY]]");
  need_application();
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

void end_gui_commands() { application().reset(); }

std::span<const KestrinMethod> gui_commands() {
  static const std::vector<KestrinMethod> commands = {{"SaveGraphPicture", 3, &save_graph_picture},
                                                      {"CopyPeakList", 0, &copy_peak_list},
                                                      {"SaveImageView", 0, &save_image_view}};
  return commands;
}

}  // namespace kestrin::harness
