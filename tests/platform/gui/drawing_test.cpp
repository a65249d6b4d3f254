// Drawing: the QPainter canvas's pixel rules, paint boxes drawn at any time, and a
// demonstration form saved as a picture for review.
#include <QDir>
#include <QFontInfo>
#include <QPainter>
#include <QPicture>
#include <QImage>
#include <QTest>

#include "gui_fixture.h"
#include "platform/gui/grid.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/qt_canvas.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/std_controls.h"

namespace kgui {
namespace {

using DrawingTest = GuiTest;

QImage whiteImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

bool isColor(const QImage& img, int x, int y, TColor c) {
  return img.pixelColor(x, y) == toQColor(c);
}

TEST(QtConvert, ColoursAreBgrWithSystemColours) {
  EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(0xFFE4CE), QColor(0xCE, 0xE4, 0xFF));
  EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
  EXPECT_EQ(toQColor(clNone).alpha(), 0);
  EXPECT_EQ(toQColor(clBtnFace), QColor(0xEC, 0xE9, 0xD8));
}

TEST_F(DrawingTest, RectangleCoversUpToButNotIncludingItsCorner) {
  QImage img = whiteImage(20, 20);
  QtCanvas c(&img);
  c.pen().color = clBlack;
  c.brush().color = clRed;
  c.rectangle(2, 3, 8, 9);
  EXPECT_TRUE(isColor(img, 2, 3, clBlack));
  EXPECT_TRUE(isColor(img, 7, 8, clBlack));
  EXPECT_TRUE(isColor(img, 8, 9, clWhite));
  EXPECT_TRUE(isColor(img, 8, 5, clWhite));
  EXPECT_TRUE(isColor(img, 4, 5, clRed));
  c.moveTo(0, 15);
  c.lineTo(10, 15);
  EXPECT_TRUE(isColor(img, 9, 15, clBlack));
  EXPECT_TRUE(isColor(img, 10, 15, clWhite));  // the end point is left out
  c.setPixel(19, 19, 0x00FF00);
  EXPECT_EQ(c.pixel(19, 19), 0x00FF00);
  EXPECT_EQ(c.pixel(20, 0), clNone);
}

TEST_F(DrawingTest, StretchDrawUsesNearestPixelsAndThePalette) {
  QImage img = whiteImage(8, 4);
  QtCanvas c(&img);
  const uint8_t bits[] = {0, 1, 2, 3, /* padding */ 9, 9};
  std::vector<TColor> palette(256, clBlack);
  palette[0] = clRed;
  palette[1] = 0x00FF00;
  palette[2] = clBlue;
  palette[3] = clWhite;
  c.stretchDraw({0, 0, 8, 4}, Raster8{4, 1, 6, bits, palette});
  for (int x = 0; x < 8; ++x) EXPECT_TRUE(isColor(img, x, 3, palette[static_cast<size_t>(x / 2)])) << x;
  c.stretchDraw({0, 0, 8, 4}, Raster8{4, 1, 6, bits, palette}, {2, 0, 3, 1});
  EXPECT_TRUE(isColor(img, 0, 0, clBlue));
  EXPECT_TRUE(isColor(img, 7, 3, clBlue));
}

// Bottom-up rows (negative stride), a destination partly off the image (only the visible
// part is drawn) and a 1:1 picture copied in, clipped at the edge.
TEST_F(DrawingTest, StretchDrawWalksBottomUpRowsAndRastersCopyClipped) {
  QImage img = whiteImage(6, 4);
  QtCanvas c(&img);
  const uint8_t stored[] = {1, 1, 0, 0, /* bottom row */ 2, 2, 0, 0 /* top row */};
  std::vector<TColor> palette(256, clBlack);
  palette[1] = clRed;
  palette[2] = clBlue;
  c.stretchDraw({-2, 0, 2, 4}, Raster8{2, 2, -4, stored + 4, palette});
  EXPECT_TRUE(isColor(img, 0, 0, clBlue));
  EXPECT_TRUE(isColor(img, 1, 3, clRed));
  EXPECT_TRUE(isColor(img, 2, 0, clWhite));
  const uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
  c.drawRaster(4, 3, Raster32{2, 2, 2, pixels});
  EXPECT_EQ(img.pixel(4, 3), 0xFFFF0000u);
  EXPECT_EQ(img.pixel(5, 3), 0xFF00FF00u);
  EXPECT_EQ(img.pixel(3, 3), 0xFFFFFFFFu);
}

TEST_F(DrawingTest, TextIsMeasuredAndDrawnInTheFontColour) {
  QImage img = whiteImage(120, 40);
  QtCanvas c(&img);
  c.font().setName("Arial");
  c.font().setSize(12);
  c.font().setColor(clBlue);
  c.brush().style = bsClear;
  TSize ext = c.textExtent("2theta");
  EXPECT_GT(ext.cx, 20);
  EXPECT_GE(ext.cy, 14);
  c.textOut(2, 2, "2theta");
  int blue = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) blue += img.pixelColor(x, y).blue() > 200 && img.pixelColor(x, y).red() < 100;
  EXPECT_GT(blue, 10);
}

TEST_F(DrawingTest, PaintBoxShowsWhatCodeDrewOutsideAPaintEvent) {
  TForm* form = makeForm(200, 200);
  auto* box = new TPaintBox(form);
  box->setParent(form);
  box->setBounds(10, 10, 100, 100);
  int paints = 0;
  box->OnPaint = [&](TComponent*) { ++paints; };
  testApp().processMessages();
  box->canvas().brush().color = clRed;
  box->canvas().pen().color = clRed;
  box->canvas().rectangle(20, 20, 60, 60);
  EXPECT_TRUE(isColor(box->image(), 30, 30, clRed));
  QImage shot = box->widget()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(30, 30), QColor(255, 0, 0));
  int before = paints;
  box->canvas().setPixel(0, 0, clBlue);
  box->widget()->repaint();
  EXPECT_EQ(paints, before);  // drawing repaints without asking OnPaint again
  box->invalidatePaint();
  box->widget()->repaint();
  EXPECT_EQ(paints, before + 1);
}

TEST_F(DrawingTest, CanvasOnAnOpenPainterRecordsIntoAPicture) {
  QPicture picture;
  {
    QPainter painter(&picture);
    QtCanvas c(&painter);
    c.pen().color = clBlue;
    c.brush().color = clBlue;
    c.rectangle(0, 0, 10, 10);
    EXPECT_EQ(c.pixel(1, 1), clNone);  // a picture cannot be read back
  }
  QImage img = whiteImage(20, 20);
  QPainter replay(&img);
  replay.drawPicture(0, 0, picture);
  replay.end();
  EXPECT_TRUE(isColor(img, 5, 5, clBlue));
  EXPECT_TRUE(isColor(img, 12, 12, clWhite));
}

TEST_F(DrawingTest, OverlayIsDrawnOverThePictureButNotKept) {
  TForm* form = makeForm(120, 120);
  auto* box = new TPaintBox(form);
  box->setParent(form);
  box->setBounds(0, 0, 100, 100);
  box->OnOverlay = [](Canvas& c) {
    c.pen().color = clRed;
    c.moveTo(0, 50);
    c.lineTo(100, 50);
  };
  QImage shot = box->widget()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(40, 50), QColor(255, 0, 0));
  EXPECT_FALSE(isColor(box->image(), 40, 50, clRed));
}

TEST(Fonts, WindowsNamesMapToInstalledFonts) {
  testApp();
  TFont gothic;
  gothic.setName("ＭＳ Ｐゴシック");
  EXPECT_EQ(QFontInfo(toQFont(gothic)).family().left(3), "IPA");
  TFont spot_labels;  // the image overlays' spot numbers
  spot_labels.setName("MS ゴシック");
  EXPECT_EQ(QFontInfo(toQFont(spot_labels)).family(), "IPAGothic");
  QFont arial("Arial");
  EXPECT_EQ(QFontInfo(arial).family(), "DejaVu Sans");
}

// Builds a small window like the program's parameter panel and saves it under the build
// folder (demo_form.png) for a reviewer to look at.
TEST_F(DrawingTest, DemonstrationFormIsSavedAsAPicture) {
  TForm* form = makeForm(360, 300);
  form->setCaption("KES for Windows (Main)");
  form->setColor(0xFFE4CE);
  form->font()->setName("ＭＳ Ｐゴシック");
  auto* menu = new TMainMenu(form);
  for (const char* caption : {"File", "Tool", "Window", "IPmain"}) {
    auto* item = new TMenuItem(form);
    item->setCaption(caption);
    menu->items()->add(item);
  }
  form->setMenu(menu);
  auto* panel = new TPanel(form);
  panel->setParent(form);
  panel->setBounds(0, 0, 360, 30);
  panel->setAlign(alTop);
  panel->setColor(0xD0D1D9);
  panel->setCaption("Load Image");
  panel->font()->setStyle(setOf({fsBold}));
  panel->font()->setColor(0x804000);
  auto* params = new TPanel(form);
  params->setParent(form);
  params->setAlign(alClient);
  params->setColor(0xFFF2E8);
  params->setBevelOuter(bvLowered);
  const char* labels[] = {"2Theta begin(deg)", "Lo (mm)", "画像反転"};
  const char* texts[] = {"1.0", "500", "0.1"};
  for (int i = 0; i < 3; ++i) {
    auto* l = new TLabel(form);
    l->setParent(params);
    l->setLeft(8);
    l->setTop(12 + 28 * i);
    l->setCaption(labels[i]);
    auto* e = new TEdit(form);
    e->setParent(params);
    e->setBounds(170, 8 + 28 * i, 90, 21);
    e->setColor(0xECFFFE);
    e->setText(texts[i]);
  }
  auto* combo = new TComboBox(form);
  combo->setParent(params);
  combo->setBounds(170, 92, 90, 21);
  combo->setStyle(csDropDownList);
  combo->items()->setCommaText("TOP,BOTTOM,RIGHT");
  combo->setItemIndex(2);
  auto* radio = new TRadioButton(form);
  radio->setParent(params);
  radio->setBounds(8, 120, 200, 17);
  radio->setCaption("Sectored division - Integration");
  radio->setChecked(true);
  auto* box = new TPaintBox(form);
  box->setParent(params);
  box->setBounds(270, 8, 80, 80);
  box->canvas().brush().color = clWhite;
  box->canvas().rectangle(0, 0, 80, 80);
  box->canvas().pen().color = clRed;
  box->canvas().ellipse(10, 10, 70, 70);
  auto* grid = new TStringGrid(form);
  grid->setParent(params);
  grid->setBounds(8, 150, 340, 100);
  grid->setColCount(3);
  grid->setRowCount(3);
  grid->setCell(1, 0, "2theta");
  grid->setCell(2, 0, "d");
  grid->setCell(0, 1, "1");
  grid->setCell(1, 1, "10.512");
  grid->setCell(2, 1, "3.3812");
  testApp().processMessages();
  QImage shot = form->widget()->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(360, 300));  // the menu bar takes its height from the client area
  QString path = QDir(KESTRIN_BINARY_DIR).filePath("demo_form.png");
  EXPECT_TRUE(shot.save(path));
}

}  // namespace
}  // namespace kgui
