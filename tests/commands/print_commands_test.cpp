// The print and copy commands: the page layout with the documented numbers, the printed
// texts, and what each command records, logs and hands to the printer.
#include "commands/print_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/peak_fixture.h"
#include "commands/kestrin_methods.h"
#include "image/image_store.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

struct RectCase {
  int32_t page_w, page_h, w, h;
  kgui::TRect want;
};

void expect_rect(const kgui::TRect& got, const kgui::TRect& want) {
  EXPECT_EQ(got.left, want.left);
  EXPECT_EQ(got.top, want.top);
  EXPECT_EQ(got.right, want.right);
  EXPECT_EQ(got.bottom, want.bottom);
}

TEST(PrintLayout, GraphPictureIsFourTimesTheGraphWithAMargin) {
  const kgui::TSize s = graph_picture_size(495, 396);
  EXPECT_EQ(s.cx, 2380);
  EXPECT_EQ(s.cy, 1984);
}

TEST(PrintLayout, GraphRectangleKeepsTheGraphsProportionsInsideA50PixelMargin) {
  const RectCase cases[] = {
      {4960, 7016, 495, 396, {50, 50, 4910, 3918}},  // the width limits
      {7016, 4960, 495, 396, {50, 50, 6150, 4910}},  // the height limits (ry <= rx)
      {1000, 800, 500, 400, {50, 50, 950, 750}},     // equal ratios: the height rule
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.page_w) + "x" + std::to_string(c.page_h));
    expect_rect(graph_page_rect(c.page_w, c.page_h, c.w, c.h), c.want);
  }
}

TEST(PrintLayout, PictureRectangleFillsThePageFromTheTopLeft) {
  const RectCase cases[] = {
      {4960, 7016, 3000, 3000, {0, 0, 4960, 4960}},
      {4960, 7016, 1000, 3000, {0, 0, 2338, 7016}},   // tall: the height limits, width truncated
      {4960, 7016, 600, 601, {0, 0, 4960, 4968}},     // 4960 * 601 / 600 = 4968.26
      {4958, 7017, 0, 10, {0, 0, 0, 0}},              // nothing to place
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    expect_rect(picture_page_rect(c.page_w, c.page_h, c.w, c.h), c.want);
  }
}

TEST(PrintLayout, ViewInformationNamesPositionEdgesAndFileAndTheFarCorner) {
  ImageView view;
  view.ScrollX = 120, view.ScrollY = 7, view.ViewCols = 300, view.ViewRows = 250;
  DisplayScale scale;
  scale.LowEdge = -5, scale.HighEdge = 4095;
  const ViewInfoTexts t = view_info_texts(view, scale, "/data/run 1/frame.img");
  EXPECT_EQ(t.top_left, "(120, 7)  Gradation Min:-5, Max:4095      FileName:frame.img");
  EXPECT_EQ(t.bottom_right, "(420, 257)");
}

TEST(PrintLayout, PeakLinesAreBannerBlankHeaderAndOneNumberedRowPerPeak) {
  PeakList peaks;
  peaks.count = 2;
  peaks.x[0] = 123.45678, peaks.two_theta[0] = 10.123456, peaks.d[0] = 8.7654321, peaks.intensity[0] = 1234.5;
  peaks.x[1] = 1500, peaks.two_theta[1] = 45.5, peaks.d[1] = 1.9919, peaks.intensity[1] = 99999;
  const std::vector<std::string> lines = peak_print_lines(peaks);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].rfind("*****   Peak list", 0), 0u);
  EXPECT_EQ(lines[1], "  ");
  EXPECT_EQ(lines[2], "  Peak     x(pixel)    2theta(deg)      d(A)      Intensity");
  EXPECT_EQ(lines[3], "    1      123.4568      10.12346      8.765432        1235");
  EXPECT_EQ(lines[4], "    2     1500.0000      45.50000      1.991900       99999");
}

using PrintedGraph = PeakTest;

bool has_call(const std::vector<std::string>& calls, const std::string& start, const std::string& part = "") {
  return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) {
    return c.rfind(start, 0) == 0 && c.find(part) != std::string::npos;
  });
}

TEST_F(PrintedGraph, DrawsFourTimesLargerWithAWhitePlotAndTheLayoutRestored) {
  set_pattern(std::vector<int32_t>(300, 900), kAngleHistogram);
  GraphLayout& g = state().graph;
  g.GraphWidth = 500, g.GraphHeight = 400;
  kgui::RecordingCanvas canvas;
  const int font_height = canvas.font().height();
  ASSERT_EQ(draw_graph_on_canvas(canvas, printed_graph_style()), 0);
  const auto& calls = canvas.calls();
  EXPECT_TRUE(has_call(calls, "Rectangle ", "brush=$FFFFFF"));
  EXPECT_FALSE(has_call(calls, "Rectangle ", "brush=$DCFFFF"));  // the screen's light yellow
  // The y numbers at (0.02 W, 1.01 H) and (0.02 W, 0.11 H) of the 2000 x 1600 drawing.
  EXPECT_TRUE(has_call(calls, "TextOut 40,1616 "));
  EXPECT_TRUE(has_call(calls, "TextOut 40,176 "));
  EXPECT_TRUE(has_call(calls, "TextOut ", "'2theta (degrees)'"));
  EXPECT_EQ(g.GraphWidth, 500);
  EXPECT_EQ(g.GraphHeight, 400);
  EXPECT_EQ(canvas.font().height(), font_height);
}

// The printer port as a list of what was asked of it.
class RecordingPrinting : public Printing {
public:
  void print_image() override { calls.push_back("image"); }
  void print_graph() override { calls.push_back("graph"); }
  void copy_graph() override { calls.push_back("copy"); }
  void print_lines(const std::vector<std::string>& l) override {
    calls.push_back("lines");
    lines = l;
  }
  std::vector<std::string> calls, lines;
};

class PrintCommands : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.printing = &printer_;
    install_ports(p);
    state().macro.MacroRecording = true;
  }
  const std::vector<std::string>& macro() { return state().macro.MacroList; }
  static void run(const char* method) {
    struct NoArgs : MethodArgs {
      size_t count() const override { return 0; }
      double number(size_t) const override { return 0; }
      int32_t integer(size_t) const override { return 0; }
      std::string text(size_t) const override { return {}; }
    } none;
    const KestrinMethod* m = find_kestrin_method(method);
    ASSERT_NE(m, nullptr) << method;
    call_kestrin_method(*m, none);
  }
  RecordingPrinting printer_;
};

TEST_F(PrintCommands, PrintImageRecordsItsLineThenRefusesWithoutAnImage) {
  run("PrintImage");
  EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.PrintImage();"});
  EXPECT_EQ(log(), std::vector<std::string>{" print_image(); image is not ready."});
  EXPECT_TRUE(printer_.calls.empty());

  current_image().NoImageFlag = 0;
  print_image_command();
  EXPECT_EQ(printer_.calls, std::vector<std::string>{"image"});
  EXPECT_EQ(log().size(), 1u);
}

TEST_F(PrintCommands, PrintNaxRecordsItsLineAndPrintsOnlyWithAPattern) {
  run("PrintNax");
  copy_graph_command();
  EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.PrintNax();"});
  EXPECT_TRUE(printer_.calls.empty());
  EXPECT_TRUE(log().empty());

  state().nax_pattern.set_kind(PatternKind(0));
  print_graph_command();
  copy_graph_command();
  EXPECT_EQ(printer_.calls, (std::vector<std::string>{"graph", "copy"}));
  EXPECT_EQ(macro().size(), 2u);
}

TEST_F(PrintCommands, PeakListWithoutPeaksLogsAndPrintsNothing) {
  print_peak_list_command();
  EXPECT_EQ(log(), std::vector<std::string>{"print_peak_proc() : No peak."});
  EXPECT_TRUE(printer_.calls.empty());

  state().peak_table.count = 2;
  print_peak_list_command();
  EXPECT_EQ(printer_.calls, std::vector<std::string>{"lines"});
  EXPECT_EQ(printer_.lines.size(), 5u);
  EXPECT_TRUE(macro().empty());
}

}  // namespace
}  // namespace kestrin::test
