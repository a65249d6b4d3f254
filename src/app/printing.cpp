// The printer side of the print commands: one document per print, opened after the print
// dialog; a printer that cannot start is logged and nothing is printed.
#include "app/printing.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <exception>
#include <functional>

#include "app/form_lookup.h"
#include "app/image_view_paint.h"
#include "app/peak_form.h"
#include "base/paths.h"
#include "commands/file_commands.h"
#include "commands/print_commands.h"
#include "image/display_picture.h"
#include "image/image_store.h"
#include "model/state.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/printer.h"
#include "platform/gui/qt_canvas.h"
#include "ports/ports.h"

namespace kestrin::app {

namespace {

// Runs the print dialog; false when the user cancels.
bool print_dialog(kgui::TPrinter& printer) { return kgui::dialogs().executePrint(printer); }

// Opens the document, lets `draw` fill it and closes it. A printer that cannot start logs
// " <routine>() : <reason>" and prints nothing.
void print_pages(kgui::TPrinter& printer, const char* routine, const std::function<void()>& draw) {
  try {
    printer.beginDoc();
  } catch (const std::exception& e) {
    log_line(std::string(" ") + routine + "() : " + e.what());
    return;
  }
  try {
    draw();
  } catch (...) {
    printer.abort();
    throw;
  }
  printer.endDoc();
}

// The print dialog, then the document.
void print_document(const char* routine, const std::function<void(kgui::TPrinter&)>& draw) {
  kgui::TPrinter& printer = kgui::printer();
  if (!print_dialog(printer)) return;
  print_pages(printer, routine, [&] { draw(printer); });
}

// Pixels of a font of `points` on a device of `dpi` dots per inch, as a negative font height.
int font_height(int points, int dpi) { return -(points * dpi + 36) / 72; }

// The peak window's list font, or its design when the window does not exist.
void set_peak_list_font(kgui::TFont& font, int dpi) {
  const TfrmPeak* form = form_of<TfrmPeak>();
  font.setName(form ? form->lstPeak->font()->name() : kPeakListFont);
  font.setHeight(font_height(form ? form->lstPeak->font()->size() : kPeakListFontSize, dpi));
  font.setStyle(form ? form->lstPeak->font()->style() : 0);
  font.setColor(kgui::clBlack);
}

// Puts the printer's orientation back when printing ends, however it ends.
class OrientationKept {
public:
  explicit OrientationKept(kgui::TPrinter& printer) : printer_(printer), kept_(printer.orientation()) {}
  ~OrientationKept() { printer_.setOrientation(kept_); }

private:
  kgui::TPrinter& printer_;
  kgui::TPrinterOrientation kept_;
};

// The graph in the printed style, its picture of graph_picture_size units stretched into r.
// Drawing through the painter's transformation keeps lines and text as vectors on a printed
// page. False without a pattern.
bool draw_printed_graph(QPainter& painter, const kgui::TRect& r) {
  const GraphLayout& g = state().graph;
  const kgui::TSize size = graph_picture_size(g.GraphWidth, g.GraphHeight);
  if (size.cx <= 0 || size.cy <= 0) return false;
  painter.save();
  painter.translate(r.left, r.top);
  painter.scale(double(r.right - r.left) / size.cx, double(r.bottom - r.top) / size.cy);
  kgui::QtCanvas canvas(&painter);
  const bool drawn = draw_graph_on_canvas(canvas, printed_graph_style()) == 0;
  painter.restore();
  return drawn;
}

}  // namespace

void WindowPrinting::print_image() {
  print_document("print_image", [](kgui::TPrinter& printer) {
    const DisplayLevels& levels = state().display_levels;
    const TKsDIB picture = display_picture();
    draw_dib(printer.canvas(),
             picture_page_rect(printer.pageWidth(), printer.pageHeight(), levels.width, levels.height), picture);
  });
}

void WindowPrinting::print_graph() {
  kgui::TPrinter& printer = kgui::printer();
  if (!print_dialog(printer)) return;
  const GraphLayout& g = state().graph;
  // The page as it is before the switch to landscape places the graph.
  const kgui::TRect target = graph_page_rect(printer.pageWidth(), printer.pageHeight(), g.GraphWidth, g.GraphHeight);
  OrientationKept kept(printer);
  printer.setOrientation(kgui::poLandscape);
  print_pages(printer, "print_nax_proc", [&] { draw_printed_graph(printer.painter(), target); });
}

namespace {

// The graph as an SVG picture of the same size: lines and text stay vectors for a drawing
// program. Empty without a pattern.
std::vector<uint8_t> graph_svg(const kgui::TSize& size) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(size.cx, size.cy));
  svg.setViewBox(QRect(0, 0, size.cx, size.cy));
  svg.setTitle("Kestrin graph");
  QPainter painter(&svg);
  painter.fillRect(QRect(0, 0, size.cx, size.cy), Qt::white);
  const bool drawn = draw_printed_graph(painter, {0, 0, size.cx, size.cy});
  painter.end();
  if (!drawn) return {};
  const QByteArray bytes = buffer.data();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

// The clipboard gets one content in two forms: the bitmap, and the vector picture as
// image/svg+xml.
void WindowPrinting::copy_graph() {
  const GraphLayout& g = state().graph;
  const kgui::TSize size = graph_picture_size(g.GraphWidth, g.GraphHeight);
  if (size.cx <= 0 || size.cy <= 0) return;
  QImage image(size.cx, size.cy, QImage::Format_RGB32);
  if (image.isNull()) {
    log_line(" copy_graph_to_clipboard() : the picture is too large");
    return;
  }
  image.fill(Qt::white);
  QPainter painter(&image);
  const bool drawn = draw_printed_graph(painter, {0, 0, size.cx, size.cy});
  painter.end();
  if (!drawn) return;
  const std::vector<uint8_t> svg = graph_svg(size);
  kgui::TClipboard& clipboard = kgui::Clipboard();
  clipboard.open();
  clipboard.setImage(image);
  if (!svg.empty()) clipboard.setData("image/svg+xml", svg);
  clipboard.close();
}

void WindowPrinting::print_lines(const std::vector<std::string>& lines) {
  print_document("print_peak_proc", [&lines](kgui::TPrinter& printer) {
    kgui::Canvas& canvas = printer.canvas();
    set_peak_list_font(canvas.font(), printer.qprinter().resolution());
    canvas.brush().style = kgui::bsClear;
    const int advance = canvas.textHeight("Ag");
    int y = 0;
    for (const std::string& line : lines) {
      if (y > 0 && y + advance > printer.pageHeight()) {
        printer.newPage();
        y = 0;
      }
      canvas.textOut(0, y, line);
      y += advance;
    }
  });
}

namespace {

// The view's information lines on the picture, in the gauge's reversed colour when the
// gradation is reversed.
void write_view_info(QImage& picture) {
  kgui::QtCanvas canvas(&picture);
  canvas.font().setSize(14);
  canvas.font().setColor(state().options.GradationReverse ? kgui::clWhite : kgui::clBlack);
  canvas.brush().style = kgui::bsClear;
  const ViewInfoTexts texts =
      view_info_texts(state().image_view, state().display_scale, current_image().ImageFileName);
  canvas.textOut(0, 0, texts.top_left);
  const kgui::TSize size = canvas.textExtent(texts.bottom_right);
  canvas.textOut(picture.width() - size.cx, picture.height() - size.cy, texts.bottom_right);
}

// The picture as a 24-bit bitmap file.
void save_picture_bmp(const QImage& picture, const std::string& path) {
  TKsDIB dib;
  dib.SetBitCount(24);
  dib.SetWidth(picture.width());
  dib.SetHeight(picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    uint8_t* to = dib.ScanLine(y);
    for (int x = 0; x < picture.width(); ++x, to += 3) {
      to[0] = uint8_t(qBlue(from[x]));
      to[1] = uint8_t(qGreen(from[x]));
      to[2] = uint8_t(qRed(from[x]));
    }
  }
  dib.SaveToFile(path);
}

// The save dialog for the view's bitmap; "" after a cancel. A chosen name is remembered as
// the image-save folder and filter index.
std::string choose_bitmap_file() {
  FileDialogSlots& remembered = state().dialog_slots;
  FileDialogSetup setup = bitmap_save_setup();
  setup.overwrite_prompt = true;
  const std::string name = file_dialogs().run_save(setup);
  if (name.empty()) return name;
  remembered.folder[kSlotImageSave] = folder_of(name);
  remembered.filter_index[kSlotImageSave] = file_dialogs().save_filter_index();
  return name;
}

}  // namespace

void print_img_proc2(const QImage& view) {
  QImage picture = view.convertToFormat(QImage::Format_RGB32);
  if (prompts().confirm("Add information?")) write_view_info(picture);
  if (prompts().confirm("Output to Image File (*.bmp) ")) {
    const std::string name = choose_bitmap_file();
    if (name.empty()) {
      log_line(" print_img_proc2() : cancel ");
      return;
    }
    save_picture_bmp(picture, name);
  }
  print_document("print_img_proc2", [&picture](kgui::TPrinter& printer) {
    const kgui::TRect r =
        picture_page_rect(printer.pageWidth(), printer.pageHeight(), picture.width(), picture.height());
    printer.painter().drawImage(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), picture);
  });
}

}  // namespace kestrin::app
