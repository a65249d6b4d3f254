// Batched drawing gives the pixels of call-by-call drawing; the exclusive-or pen undoes itself;
// the clipboard keeps text, pictures and named data.
#include <QImage>
#include <random>

#include "gui_fixture.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/qt_canvas.h"
#include "platform/gui/qt_convert.h"

namespace kgui {
namespace {

QImage blank(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  return img;
}

// Segments of every direction and length (zero included) in two pens and two widths, dashes, a
// rectangle and text in between, partly outside the picture; then a dense curve whose columns
// hold many points each, as a pattern of many more points than columns draws it.
void scene(Canvas& c) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coord(-20, 140);
  for (int i = 0; i < 600; ++i) {
    c.pen().color = i % 97 < 60 ? clBlack : clRed;
    c.pen().width = i % 113 < 100 ? 1 : 2;
    c.pen().style = i % 151 == 0 ? psDash : psSolid;
    if (i % 50 == 0) c.moveTo(coord(random), coord(random));
    c.lineTo(coord(random), coord(random));
    if (i % 200 == 100) {
      c.brush().color = 0xDCFFFF;
      c.rectangle(10, 10, 60, 40);
      c.textOut(20, 20, "12");
    }
  }
  c.pen().width = 1;
  c.pen().style = psSolid;
  std::uniform_int_distribution<int> height(0, 110);
  c.moveTo(0, 60);
  for (int i = 1; i < 3000; ++i) c.lineTo(i / 30, i % 200 < 3 ? height(random) : std::abs(60 - i % 90) + i % 7);
  // Runs in one column that end above, below and inside the range they covered.
  for (const auto& run : {std::vector<int>{10, 30, 20, 40}, {30, 10, 25, 5}, {10, 30, 20}, {50, 51}, {51, 50}}) {
    const int x = 105 + int(run.size()) * 3 + run[0] % 7;
    c.moveTo(x, run[0]);
    for (size_t i = 1; i < run.size(); ++i) c.lineTo(x, run[i]);
  }
}

TEST_F(GuiTest, ABatchDrawsTheSamePixelsAsDrawingCallByCall) {
  QImage one = blank(120, 120), batched = blank(120, 120);
  QtCanvas direct(&one);
  scene(direct);
  int repaints = 0;
  QtCanvas held(&batched, [&repaints] { ++repaints; });
  {
    CanvasBatch outer(held);
    CanvasBatch inner(held);
    scene(held);
  }
  EXPECT_EQ(repaints, 1);  // the owner hears of the change once, at the end
  ASSERT_EQ(one.size(), batched.size());
  for (int y = 0; y < one.height(); ++y)
    for (int x = 0; x < one.width(); ++x) ASSERT_EQ(one.pixel(x, y), batched.pixel(x, y)) << x << "," << y;
}

TEST_F(GuiTest, ReadingAPixelInsideABatchSeesTheHeldLines) {
  QImage img = blank(20, 20);
  QtCanvas c(&img);
  CanvasBatch batch(c);
  c.moveTo(0, 5);
  c.lineTo(10, 5);
  EXPECT_EQ(c.pixel(3, 5), clBlack);
}

TEST_F(GuiTest, AnExclusiveOrOutlineDrawnTwiceLeavesThePictureAsItWas) {
  QImage img = blank(40, 40);
  QtCanvas c(&img);
  c.brush().color = 0xDCFFFF;
  c.rectangle(0, 0, 40, 40);
  const QImage before = img.copy();
  c.pen().mode = pmXor;
  c.pen().color = 0x408040;
  for (int pass = 0; pass < 2; ++pass) {
    c.polyline({{5, 5}, {30, 5}, {30, 25}, {5, 25}, {5, 5}});
    if (pass == 0) {
      EXPECT_EQ(fromQColor(img.pixelColor(10, 5)), TColor(0xDCFFFF ^ 0x408040));
      EXPECT_EQ(img.pixelColor(10, 5).alpha(), 255);
    }
  }
  EXPECT_EQ(img, before);
}

TEST_F(GuiTest, TheClipboardKeepsTextPicturesAndNamedData) {
  TClipboard& clip = Clipboard();
  clip.clear();
  EXPECT_EQ(clip.asText(), "");  // an empty clipboard may have no content at all
  EXPECT_FALSE(clip.hasFormat("image/bmp"));
  EXPECT_TRUE(clip.data("image/bmp").empty());
  clip.setAsText("a\r\nb\r\n");
  EXPECT_EQ(clip.asText(), "a\r\nb\r\n");
  clip.setData("application/x-kestrin", {1, 2, 3});
  EXPECT_EQ(clip.data("application/x-kestrin"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(clip.asText(), "");  // a set outside open/close replaces the content
  clip.open();
  clip.setAsText("both");
  QImage pic(3, 2, QImage::Format_RGB32);
  pic.fill(Qt::red);
  clip.setImage(pic);
  clip.close();
  EXPECT_EQ(clip.asText(), "both");
  EXPECT_EQ(clip.image().size(), QSize(3, 2));
}

}  // namespace
}  // namespace kgui
