// Printing and copying the program's pictures and lists: the menu and script commands (macro
// lines, the checks and their log lines) in front of the printer port, and the page layout
// and printed texts as pure functions of their inputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands/graph_draw.h"
#include "model/state.h"
#include "platform/classes/graphics.h"

namespace kestrin {

// The printed graph: four times the screen graph's size and font, a white plot, no fitted
// curves and the y-axis numbers at (0.02 W, 1.01 H) and (0.02 W, 0.11 H).
GraphStyle printed_graph_style();

// The graph's picture in logical units: 4 W + 400 by 4 H + 400 for a W x H graph.
kgui::TSize graph_picture_size(int32_t W, int32_t H);
// Where the graph picture goes on a page of page_w x page_h printer pixels (the size read
// before the switch to landscape): the height limits when page_h / H <= page_w / W.
kgui::TRect graph_page_rect(int32_t page_w, int32_t page_h, int32_t W, int32_t H);
// Where a w x h picture goes on a page, from the top-left corner, as large as it fits with
// its proportions kept.
kgui::TRect picture_page_rect(int32_t page_w, int32_t page_h, int32_t w, int32_t h);

// The two information lines written on a saved or printed image view: the top-left one
// with the scroll position, the display window's edges and the image's file name; the
// bottom-right one with the image pixel just past the view's bottom-right corner.
struct ViewInfoTexts {
  std::string top_left, bottom_right;
};
ViewInfoTexts view_info_texts(const ImageView& view, const DisplayScale& scale, const std::string& image_path);

// The printed peak list: banner, blank line, header and one numbered line per peak.
std::vector<std::string> peak_print_lines(const PeakList& peaks);

// print_image: records "Kestrin.PrintImage();", then without an image logs
// " print_image(); image is not ready."; else prints through the printer port.
void print_image_command();
// print_nax_proc: records "Kestrin.PrintNax();", then with a pattern prints the graph.
void print_graph_command();
// copy_graph_to_clipboard: the graph as a picture on the clipboard when there is a pattern.
void copy_graph_command();
// print_peak_proc: an empty peak table logs "print_peak_proc() : No peak."; else the peak
// lines are printed.
void print_peak_list_command();

}  // namespace kestrin
