// Printing on the application's printer after the main window's print dialog: the whole
// image, the pattern graph, the peak list's lines and the image window's view
// (print_img_proc2); the graph as a picture on the clipboard. The program's implementation
// of the printer port.
#pragma once

#include <string>
#include <vector>

#include "ports/printing.h"

class QImage;

namespace kestrin::app {

class WindowPrinting : public Printing {
public:
  void print_image() override;
  void print_graph() override;
  void copy_graph() override;
  void print_lines(const std::vector<std::string>& lines) override;
};

// The image window's print button: the part view as it shows now (`view`), with the
// information lines when the user wants them, saved as a 24-bit BMP file and/or printed.
void print_img_proc2(const QImage& view);

}  // namespace kestrin::app
