// Printing through the program's windows, offscreen, into PDF files read back with poppler:
// the whole image, the image window's view (with its information lines and BMP file) and
// the peak list; the dialogs' cancel paths. The pages are also rendered to PNG files under
// the build folder for a reviewer.
#include <algorithm>
#include <cctype>

#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/nax_graph_form.h"
#include "app/printing.h"
#include "app_fixture.h"
#include "base/paths.h"
#include "commands/print_commands.h"
#include "image/display/ksdib.h"
#include "model/state.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/printer.h"
#include "ports/log.h"
#include "support/pdf_pages.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class PrintingTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    pdf_ = dir_.file("out.pdf");
    print_to_pdf(pdf_);
  }
  void load_image() {
    dialogs_.answerFile(write_ring_image("ring.img"), 1);
    click_menu("File", "Load Image");
    the_log().clear_history();
  }
  // Keeps the printed pages as PNG files for a reviewer.
  void keep_pages(const std::string& name) {
    run_command("pdftoppm -png -r 40 '" + pdf_ + "' '" + std::string(KESTRIN_BINARY_DIR) + "/printed-" + name +
                "' 2>/dev/null");
  }
  std::string pdf_;
};

// The darkest grey of rows [y0, y1) of a rendered page.
int darkest(const std::vector<std::vector<uint8_t>>& page, size_t y0, size_t y1) {
  int least = 255;
  for (size_t y = y0; y < y1; ++y) least = std::min<int>(least, *std::min_element(page[y].begin(), page[y].end()));
  return least;
}

TEST_F(PrintingTest, PrintImageFillsAPortraitPageWidthWithTheSquareImage) {
  KESTRIN_REQUIRE_POPPLER();
  load_image();
  state().macro.MacroRecording = true;
  dialogs_.answerPrint();
  click_menu("File", "Print Image");
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PrintImage();"});
  EXPECT_TRUE(the_log().history().empty());
  ASSERT_EQ(pdf_pages(pdf_), 1);
  EXPECT_NE(pdf_page_size(pdf_).find("595"), std::string::npos);  // A4 portrait: 595 x 842 points
  const auto page = pdf_grey_page(pdf_, 1, 20);
  ASSERT_GT(page.size(), 200u);
  const size_t w = page[0].size();
  // The 200 x 200 image fills (0, 0)-(W, W): its dark rings reach down to its last rows (the
  // outer ring's corners), the paper below is white.
  EXPECT_LT(darkest(page, 0, 10), 60);
  EXPECT_LT(darkest(page, w - 10, w - 2), 60);
  EXPECT_GE(darkest(page, w + 2, page.size()), 250);
  keep_pages("image");
}

TEST_F(PrintingTest, CancelledOrRefusedPrintsWriteNothing) {
  click_menu("File", "Print Image");  // no image: refused before the dialog
  EXPECT_EQ(the_log().history(), std::vector<std::string>{" print_image(); image is not ready."});
  load_image();
  dialogs_.answerCancel();
  click_menu("File", "Print Image");
  click_menu("File", "Print Graph");  // no pattern: no dialog
  EXPECT_FALSE(file_exists(pdf_));
  EXPECT_EQ(dialogs_.questions().size(), 2u);  // the image dialog and the print dialog
  EXPECT_EQ(dialogs_.pending(), 0);
}

TEST_F(PrintingTest, PeakListPrintsItsFiveLinesInThePeakFont) {
  KESTRIN_REQUIRE_POPPLER();
  PeakList& peaks = state().peak_table;
  peaks.count = 2;
  peaks.x[0] = 123.45678, peaks.two_theta[0] = 10.123456, peaks.d[0] = 8.7654321, peaks.intensity[0] = 1234.5;
  peaks.x[1] = 1500, peaks.two_theta[1] = 45.5, peaks.d[1] = 1.9919, peaks.intensity[1] = 99999;
  dialogs_.answerPrint();
  print_peak_list_command();
  ASSERT_EQ(pdf_pages(pdf_), 1);
  const std::string text = pdf_text(pdf_);
  EXPECT_NE(text.find("Peak list"), std::string::npos) << text;
  EXPECT_NE(text.find("2theta(deg)"), std::string::npos) << text;
  EXPECT_NE(text.find("123.4568"), std::string::npos) << text;
  EXPECT_NE(text.find("1.991900"), std::string::npos) << text;
  EXPECT_NE(text.find("99999"), std::string::npos) << text;
  keep_pages("peaks");
}

TEST_F(PrintingTest, ManyPeaksGoOnToASecondPage) {
  KESTRIN_REQUIRE_POPPLER();
  PeakList& peaks = state().peak_table;
  peaks.count = int32_t(std::min<size_t>(peaks.x.size(), 120));
  dialogs_.answerPrint();
  print_peak_list_command();
  EXPECT_EQ(pdf_pages(pdf_), 2);
  // The last row, on the second page, with pdftotext's spacing collapsed.
  std::string words;
  for (char c : pdf_text(pdf_))
    if (!std::isspace(static_cast<unsigned char>(c)))
      words += c;
    else if (!words.empty() && words.back() != ' ')
      words += ' ';
  EXPECT_NE(words.find(" 120 0.0000 0.00000 0.000000 0"), std::string::npos) << words;
}

TEST_F(PrintingTest, APrinterThatCannotStartIsLoggedAndNothingIsPrinted) {
  print_to_pdf(dir_.file("no such folder/out.pdf"));
  state().peak_table.count = 1;
  dialogs_.answerPrint();
  print_peak_list_command();
  EXPECT_EQ(the_log().history(), std::vector<std::string>{" print_peak_proc() : Printer selected is not valid"});
  EXPECT_FALSE(kgui::printer().printing());
}

class WindowImagePrint : public PrintingTest {
protected:
  void click_print() {
    app::TfrmImage* form = app::form_of<app::TfrmImage>();
    ASSERT_NE(form, nullptr);
    form->pbtnPrintImage->click();
  }
};

TEST_F(WindowImagePrint, InformationLinesBitmapFileAndPrintedPage) {
  KESTRIN_REQUIRE_POPPLER();
  load_image();
  const std::string bmp = dir_.file("view.bmp");
  dialogs_.answerModal(kgui::mrYes);  // Add information?
  dialogs_.answerModal(kgui::mrYes);  // Output to Image File (*.bmp)
  dialogs_.answerFile(bmp, 1);
  dialogs_.answerPrint();
  click_print();
  const auto& q = dialogs_.questions();
  ASSERT_EQ(q.size(), 5u);
  EXPECT_EQ(q[1].text, "Add information?");
  EXPECT_EQ(q[2].text, "Output to Image File (*.bmp) ");
  EXPECT_EQ(q[3].text, "BITMAP (*.bmp)|*.BMP");
  EXPECT_EQ(q[4].kind, "print");
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageSave], dir_.path());
  EXPECT_TRUE(the_log().history().empty());

  TKsDIB saved;
  saved.LoadFromFile(bmp);
  const app::TfrmImage* form = app::form_of<app::TfrmImage>();
  EXPECT_EQ(saved.BitCount(), 24);
  EXPECT_EQ(saved.Width(), form->pbxPart->image().width());
  EXPECT_EQ(saved.Height(), form->pbxPart->image().height());
  // The black information text is on the saved picture's top-left corner and not in the view.
  const QImage& view = form->pbxPart->image();
  int differing = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint8_t* p = saved.ScanLine(y) + 3 * x;
      differing += qRgb(p[2], p[1], p[0]) != (view.pixel(x, y) | 0xFF000000u);
    }
  EXPECT_GT(differing, 20);
  ASSERT_EQ(pdf_pages(pdf_), 1);
  keep_pages("view");
}

TEST_F(WindowImagePrint, NoInformationNoFileThenTheCancelledFileDialogStops) {
  load_image();
  dialogs_.answerModal(kgui::mrNo);
  dialogs_.answerModal(kgui::mrNo);
  dialogs_.answerCancel();  // the print dialog
  click_print();
  EXPECT_EQ(dialogs_.questions().back().kind, "print");
  EXPECT_TRUE(the_log().history().empty());

  dialogs_.answerModal(kgui::mrNo);
  dialogs_.answerModal(kgui::mrYes);
  dialogs_.answerCancel();  // the file dialog
  const size_t asked = dialogs_.questions().size();
  click_print();
  EXPECT_EQ(dialogs_.questions().size(), asked + 3);  // no print dialog after the cancel
  EXPECT_EQ(the_log().history(), std::vector<std::string>{" print_img_proc2() : cancel "});
  EXPECT_FALSE(file_exists(pdf_));
}

TEST_F(PrintingTest, PrintGraphGivesOneLandscapePageWithTheAxesAndKeepsTheOrientation) {
  KESTRIN_REQUIRE_POPPLER();
  integrate_ring_image(4);
  the_log().clear_history();
  state().macro.MacroRecording = true;
  const GraphLayout before = state().graph;
  dialogs_.answerPrint();
  click_menu("File", "Print Graph");
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PrintNax();"});
  EXPECT_EQ(kgui::printer().orientation(), kgui::poPortrait);
  EXPECT_EQ(state().graph.GraphWidth, before.GraphWidth);  // the screen graph's layout is back
  EXPECT_EQ(state().graph.GraphXScale, before.GraphXScale);
  ASSERT_EQ(pdf_pages(pdf_), 1);
  EXPECT_NE(pdf_page_size(pdf_).find("842"), std::string::npos) << pdf_page_size(pdf_);
  const std::string page_size = pdf_page_size(pdf_);
  EXPECT_LT(page_size.find("842"), page_size.find("595")) << page_size;  // wider than high
  const std::string text = pdf_text(pdf_);
  EXPECT_NE(text.find("2theta (degrees)"), std::string::npos) << text;
  for (const char* number : {"10", "20", "30"}) EXPECT_NE(text.find(number), std::string::npos) << number;
  keep_pages("graph");
}

// A pattern flat at mid-height but for one peak, printed: the flat stretch left of the peak
// is one unbroken line on the page, not a row of stubs.
TEST_F(PrintingTest, PrintedGraphDrawsALongFlatStretchWithoutGaps) {
  KESTRIN_REQUIRE_POPPLER();
  integrate_ring_image(4);
  // A pixel pattern of 20000 points over the graph's 2000 units: ten points to a unit.
  NaxPattern& p = state().nax_pattern;
  p.set_kind(kPixelHistogram);
  p.N = 20000;
  const int32_t flat = 5000;
  for (int32_t i = 0; i < p.N; ++i) p.values[size_t(i)] = i > p.N / 2 && i < p.N / 2 + 50 ? 10000 : flat;
  auto& graph = form<app::TfrmNaxGraph>();
  graph.edtXBegin->setText("0");
  graph.edtXEnd->setText("20000");
  graph.edtYBegin->setText("0");
  graph.edtYEnd->setText("10000");
  dialogs_.answerPrint();
  click_menu("File", "Print Graph");
  ASSERT_EQ(pdf_pages(pdf_), 1);
  const auto page = pdf_grey_page(pdf_, 1, 200);
  ASSERT_GT(page.size(), 400u);
  const auto dark = [](uint8_t v) { return v < 230; };  // a line of about one pixel, anti-aliased
  // The plot frame's top and bottom edges are the longest rows (with the axis ticks on
  // them); the flat stretch is the longest row between them, away from the ticks.
  std::vector<size_t> counts;
  for (const auto& row : page) counts.push_back(size_t(std::count_if(row.begin(), row.end(), dark)));
  const size_t longest = *std::max_element(counts.begin(), counts.end());
  std::vector<std::pair<size_t, size_t>> edges;  // first and last row of each long line
  for (size_t y = 0; y < counts.size(); ++y) {
    if (counts[y] * 20 < longest * 19) continue;
    if (!edges.empty() && edges.back().second + 1 == y) edges.back().second = y;
    else edges.emplace_back(y, y);
  }
  ASSERT_GE(edges.size(), 2u);
  constexpr size_t kTicks = 40;  // rows of the ticks along the edges, and more
  const size_t top = edges.front().second + kTicks, bottom = edges.back().first - kTicks;
  ASSERT_GT(bottom, top);
  size_t best = top;
  for (size_t y = top; y < bottom; ++y)
    if (counts[y] > counts[best]) best = y;
  EXPECT_GT(counts[best] * 2, longest) << "no long line between the frame's edges";
  std::vector<bool> covered(page[best].size(), false);
  for (size_t y = best - 2; y <= best + 2; ++y)
    for (size_t x = 0; x < covered.size(); ++x) covered[x] = covered[x] || dark(page[y][x]);
  const auto first = std::find(covered.begin(), covered.end(), true) - covered.begin();
  const auto last = covered.rend() - std::find(covered.rbegin(), covered.rend(), true) - 1;
  ASSERT_GT(last - first, 1000);  // the line crosses the plot
  // From the frame to a third of the way along (well left of the peak): no gap.
  int gap = 0, widest = 0;
  for (auto x = first; x < first + (last - first) / 3; ++x) {
    gap = covered[size_t(x)] ? 0 : gap + 1;
    widest = std::max(widest, gap);
  }
  EXPECT_LE(widest, 1) << "row " << best << " from column " << first;
  keep_pages("flat-graph");
}

TEST_F(PrintingTest, CopiedGraphIsAnImageAndAVectorPictureFourTimesTheGraphWithAWhitePlot) {
  integrate_ring_image(4);
  state().graph.GraphWidth = 500;
  state().graph.GraphHeight = 400;
  kgui::Clipboard().setAsText("");
  app::form_of<app::TfrmNaxGraph>()->pbtnCopyClipboard->click();
  const QImage image = kgui::Clipboard().image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.width(), 2400);
  ASSERT_EQ(image.height(), 2000);
  int white = 0, yellow = 0, dark = 0;
  for (int y = 0; y < image.height(); y += 4)
    for (int x = 0; x < image.width(); x += 4) {
      const QRgb p = image.pixel(x, y) & 0xFFFFFF;
      white += p == 0xFFFFFF;
      yellow += p == 0xFFFFDC;
      dark += qGray(p) < 64;
    }
  EXPECT_EQ(yellow, 0);  // the screen graph's plot colour
  EXPECT_GT(white, 200 * 200);
  EXPECT_GT(dark, 100);  // frame, ticks, numbers and the curve
  EXPECT_EQ(state().graph.GraphWidth, 500);
  // Beside the bitmap, the same picture as vectors: lines as paths, numbers as text.
  ASSERT_TRUE(kgui::Clipboard().hasFormat("image/svg+xml"));
  const std::vector<uint8_t> bytes = kgui::Clipboard().data("image/svg+xml");
  const std::string svg(bytes.begin(), bytes.end());
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 2400 2000\""), std::string::npos);
  EXPECT_TRUE(svg.find("<polyline") != std::string::npos || svg.find("<path") != std::string::npos)
      << "the curve and the frame as lines: " << svg.substr(0, 3000);
  EXPECT_NE(svg.find("<text"), std::string::npos) << "the axis numbers as text";
  EXPECT_TRUE(kgui::Clipboard().hasFormat("application/x-qt-image")) << "the bitmap stays";
}

}  // namespace
}  // namespace kestrin::test
