// The printer and the clipboard as Qt-free commands reach them. The commands decide what to
// print (macro lines, checks, log lines, the text of printed lines); the program's
// implementation runs the main window's print dialog and draws on the printer. The headless
// default has no printer: every print dialog counts as cancelled and nothing is copied.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

class Printing {
public:
  virtual ~Printing() = default;
  // The whole image's display picture on one portrait page, after the print dialog.
  virtual void print_image() {}
  // The pattern graph on one landscape page, after the print dialog.
  virtual void print_graph() {}
  // The graph as a picture on the clipboard.
  virtual void copy_graph() {}
  // Lines printed as on a text device in the peak list's font, after the print dialog.
  virtual void print_lines(const std::vector<std::string>& lines) { (void)lines; }
};

}  // namespace kestrin
