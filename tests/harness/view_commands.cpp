// Harness-only command that needs Qt: SaveImageView FILE [ZOOM [SCROLLX SCROLLY]] zooms the
// 600 x 600 part view (ZOOM 0 fits the whole image), scrolls it, redraws it with its
// overlays as the image window does and saves the picture as PNG. The application object
// is made on first use, on the offscreen platform unless another one is chosen.
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "app/image_view_paint.h"
#include "commands/image_view_commands.h"
#include "harness/harness.h"
#include "model/state.h"
#include "platform/gui/qt_canvas.h"

namespace kestrin::harness {

namespace {

void ensure_application() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "kestrin-harness";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
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
  static const std::vector<KestrinMethod> commands = {{"SaveImageView", 0, &save_image_view}};
  return commands;
}

}  // namespace kestrin::harness
