// The print and copy commands and their page layout.
#include "commands/print_commands.h"

#include <algorithm>
#include <string>

#include "base/convert.h"
#include "base/paths.h"
#include "image/image_store.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

int32_t trunc_ratio(double a, double b, double c) { return int32_t(a * b / c); }

}  // namespace

GraphStyle printed_graph_style() {
  GraphStyle style;
  style.scale = 4;
  style.plot_fill = rgb_to_color(255, 255, 255);
  style.fitted_curves = false;
  style.y_numbers_left = 0.02;
  style.ymin_top = 1.01;
  style.ymax_top = 0.11;
  return style;
}

kgui::TSize graph_picture_size(int32_t W, int32_t H) { return {4 * W + 400, 4 * H + 400}; }

kgui::TRect graph_page_rect(int32_t page_w, int32_t page_h, int32_t W, int32_t H) {
  if (W <= 0 || H <= 0) return {50, 50, page_w - 50, page_h - 50};
  const double rx = double(page_w) / W, ry = double(page_h) / H;
  if (ry <= rx) return {50, 50, trunc_ratio(W, page_h, H) - 50, page_h - 50};
  return {50, 50, page_w - 50, trunc_ratio(H, page_w, W) - 50};
}

kgui::TRect picture_page_rect(int32_t page_w, int32_t page_h, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return {0, 0, 0, 0};
  if (double(page_w) / w >= double(page_h) / h) return {0, 0, trunc_ratio(page_h, w, h), page_h};
  return {0, 0, page_w, trunc_ratio(page_w, h, w)};
}

ViewInfoTexts view_info_texts(const ImageView& view, const DisplayScale& scale, const std::string& image_path) {
  ViewInfoTexts t;
  t.top_left = "(" + std::to_string(view.ScrollX) + ", " + std::to_string(view.ScrollY) + ")" + "  Gradation Min:" +
               std::to_string(scale.LowEdge) + ", Max:" + std::to_string(scale.HighEdge) + "      FileName:" +
               file_name_of(image_path);
  t.bottom_right =
      "(" + std::to_string(view.ScrollX + view.ViewCols) + ", " + std::to_string(view.ScrollY + view.ViewRows) + ")";
  return t;
}

std::vector<std::string> peak_print_lines(const PeakList& peaks) {
  std::vector<std::string> lines = {"*****   Peak list   (Kestrin, by the Kestrin developers)", "  ",
                                    "  Peak     x(pixel)    2theta(deg)      d(A)      Intensity"};
  const int32_t n = std::clamp<int32_t>(peaks.count, 0, int32_t(peaks.x.size()));
  for (int32_t i = 0; i < n; ++i) {
    const size_t k = size_t(i);
    lines.push_back(Format("  %3d  %12.4f  %12.5f  %12.6f  %10.0f",
                           {i + 1, peaks.x[k], peaks.two_theta[k], peaks.d[k], peaks.intensity[k]}));
  }
  return lines;
}

void print_image_command() {
  state().macro.record("Kestrin.PrintImage();");
  if (current_image().NoImageFlag == 1) {
    log_line(" print_image(); image is not ready.");
    return;
  }
  printing().print_image();
}

void print_graph_command() {
  state().macro.record("Kestrin.PrintNax();");
  if (state().nax_pattern.empty()) return;
  printing().print_graph();
}

void copy_graph_command() {
  if (state().nax_pattern.empty()) return;
  printing().copy_graph();
}

void print_peak_list_command() {
  if (state().peak_table.count <= 0) {
    log_line("print_peak_proc() : No peak.");
    return;
  }
  printing().print_lines(peak_print_lines(state().peak_table));
}

}  // namespace kestrin
