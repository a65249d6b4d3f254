// Harness-only commands of the image window that need no window: PixelInformation X Y runs
// the Shift-click routine on image pixel (X, Y); ImageReadout X Y logs the five readouts
// after a move there (X, Y, Int, Distance, Chi joined by "|").
#include <stdexcept>
#include <vector>

#include "analysis/pixel_readout.h"
#include "commands/image_form_commands.h"
#include "harness/harness.h"
#include "image/image_store.h"
#include "ports/log.h"
#include "ports/names/image_form_names.h"
#include "ports/ports.h"

namespace kestrin::harness {

namespace {

// The pixel of the arguments, which must lie inside the loaded image.
std::pair<int32_t, int32_t> image_pixel(const MethodArgs& a, const char* usage) {
  if (a.count() < 2) throw std::runtime_error(std::string("usage: ") + usage);
  const ImageStore& img = current_image();
  const int32_t x = a.integer(0), y = a.integer(1);
  if (img.NoImageFlag == 1) throw std::runtime_error("no image loaded");
  if (x < 0 || y < 0 || x >= img.ImageWidth || y >= img.ImageHeight) throw std::runtime_error("pixel outside the image");
  return {x, y};
}

MethodResult pixel_info(const MethodArgs& a) {
  const auto [x, y] = image_pixel(a, "PixelInformation X Y");
  Report report = log_report();
  pixel_information(x, y, report);
  return {};
}

MethodResult image_readout(const MethodArgs& a) {
  const auto [x, y] = image_pixel(a, "ImageReadout X Y");
  show_pixel_readouts(x, y);
  std::string line;
  for (ControlName name : {frmImage::edtCursorX, frmImage::edtCursorY, frmImage::edtIntensity, frmImage::edtDistance,
                           frmImage::edtAngle})
    line += (line.empty() ? "" : "|") + controls().text(name);
  log_line(line);
  return {};
}

}  // namespace

std::span<const KestrinMethod> image_window_commands() {
  static const std::vector<KestrinMethod> commands = {{"PixelInformation", 0, &pixel_info},
                                                      {"ImageReadout", 0, &image_readout}};
  return commands;
}

}  // namespace kestrin::harness
