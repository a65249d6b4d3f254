// What image and analysis code asks of the windows besides their controls: redraws,
// showing windows, view resets. The program's windows implement it; the default does
// nothing, which is what tests and the harness need.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

class Views {
public:
  virtual ~Views() = default;
  // Repaints the image window and its overlays.
  virtual void redraw_image() {}
  // Redraws the pattern graph window from the current pattern.
  virtual void draw_nax_graph() {}
  // Shows (and raises) a window by its form name, e.g. "frmLog", "frmImage".
  virtual void show_form(std::string_view) {}
  // The image loader's view steps after a successful load: scroll bars, zoom, display
  // range, the caption and the spot-window edits.
  virtual void image_loaded() {}
  // Refills the peak list window from the peak table.
  virtual void show_peak_list() {}
  // Lets the windows handle their queued events once during a long command.
  virtual void process_messages() {}
  // Draws one line on the pattern graph's picture in the given colour (0x00BBGGRR) and
  // leaves the picture's pen colour as it was: peak markers are drawn and erased this way.
  virtual void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) {
    (void)x1, (void)y1, (void)x2, (void)y2, (void)colour;
  }
};

// Questions to the user. The default answers yes without asking (headless runs).
class Prompts {
public:
  virtual ~Prompts() = default;
  virtual bool confirm(std::string_view question) { (void)question; return true; }
  virtual void message(std::string_view text) { (void)text; }
};

}  // namespace kestrin
