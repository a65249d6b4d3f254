// Drawing on a bitmap's pixels through TKsDIBCanvas: 24 bits in place (bottom-up and
// top-down), indexed bitmaps through their palette, and the refusals.
#include <gtest/gtest.h>

#include <QImage>

#include "app/ksdib_canvas.h"
#include "base/runtime_errors.h"
#include "image/display/ksdib.h"
#include "offscreen_app.h"
#include "support/dib_fixture.h"

namespace kestrin::app {
namespace {

// A few shapes of each kind the canvas draws.
void draw_shapes(kgui::Canvas& c) {
  c.pen().color = 0x0000FF;
  c.moveTo(1, 1);
  c.lineTo(8, 1);
  c.moveTo(3, 3);
  c.lineTo(9, 8);
  c.brush().color = 0x00FF00;
  c.rectangle(4, 2, 7, 5);
  c.brush().color = 0xFF0000;
  c.fillRect({5, 6, 8, 9});
  c.setPixel(0, 9, 0xFFFFFF);
  c.ellipse(10, 2, 16, 8);
  c.polygon({{12, 10}, {18, 10}, {15, 14}});
}

// The same shapes on a plain image, top row first.
std::vector<test::RefPixel> reference_shapes(int width, int height, uint32_t background) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(QColor::fromRgb(background));
  kgui::QtCanvas c(&img);
  draw_shapes(c);
  std::vector<test::RefPixel> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const QRgb p = img.pixel(x, y);
      out.push_back(test::RefPixel{0, uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))});
    }
  return out;
}

TEST(KsDIBCanvas, TrueColourShapesAreInTheScanLinesWhileTheCanvasLives) {
  test::offscreen_app();
  for (int height : {16, -16}) {
    TKsDIB dib = test::make_picture(24, 20, height, [](int, int) { return 0x102030u; });
    int changes = 0;
    dib.OnChange = [&](TKsDIB&) { ++changes; };
    {
      TKsDIBCanvas canvas(&dib);
      draw_shapes(canvas);
      EXPECT_EQ(test::read_pixels(dib), reference_shapes(20, 16, 0x102030)) << height;
      EXPECT_EQ(changes, 0);
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dib.internal().header.biHeight, height);
    EXPECT_EQ(test::read_pixels(dib), reference_shapes(20, 16, 0x102030)) << height;
  }
}

// Painted colours go back as the first index of exactly that colour, else the nearest one;
// pixels not painted keep their index even where an earlier entry has the same colour.
TEST(KsDIBCanvas, IndexedBitmapsTakeBackPaintedColoursThroughThePalette) {
  test::offscreen_app();
  const uint32_t palette[6] = {0x000000, 0xFF0000, 0x0000FF, 0x00FF00, 0x0000FF, 0xFFFFFF};
  TKsDIB dib = test::make_picture(
      8, 10, 4, [](int x, int) { return x == 9 ? 4u : 0u; }, [&](int i) { return i < 6 ? palette[i] : 0x808080u; });
  dib.SetPaletteSize(6);
  {
    TKsDIBCanvas canvas(&dib);
    canvas.pen().color = rgb_to_color(0, 0, 255);  // blue: entries 2 and 4
    canvas.moveTo(0, 1);
    canvas.lineTo(5, 1);
    canvas.pen().color = rgb_to_color(230, 20, 10);  // nearest: red
    canvas.moveTo(0, 2);
    canvas.lineTo(5, 2);
    EXPECT_EQ(dib.ScanLine(1)[0], 0);  // written back when the canvas is freed
  }
  const std::vector<test::RefPixel> pixels = test::read_pixels(dib);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(pixels[size_t(10 + x)].index, x < 5 ? 2 : x == 9 ? 4 : 0) << x;
    EXPECT_EQ(pixels[size_t(20 + x)].index, x < 5 ? 1 : x == 9 ? 4 : 0) << x;
    EXPECT_EQ(pixels[size_t(x)].index, x == 9 ? 4 : 0) << x;
  }
  for (int bits : {1, 4}) {
    TKsDIB small = test::make_picture(bits, 9, -3, [](int, int) { return 0u; }, [](int i) { return i ? 0xFFFFFFu : 0u; });
    {
      TKsDIBCanvas canvas(&small);
      canvas.pen().color = 0xFFFFFF;
      canvas.moveTo(2, 1);
      canvas.lineTo(9, 1);
    }
    const std::vector<test::RefPixel> p = test::read_pixels(small);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(p[size_t(9 + x)].index, x >= 2 ? 1 : 0) << bits << " " << x;
  }
}

TEST(KsDIBCanvas, RefusesBitmapsItCannotDrawOn) {
  test::offscreen_app();
  try {
    TKsDIBCanvas canvas(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EKsDIBCanvasFailed& e) {
    EXPECT_STREQ(e.what(), "TKsDIBCanvas.Create: Cannot Create Canvas");
  }
  TKsDIB::DefaultUseFMO = false;
  TKsDIB without;
  TKsDIB::DefaultUseFMO = true;
  EXPECT_THROW(TKsDIBCanvas{&without}, EKsDIBCanvasFailed);
  TKsDIB rle = test::make_picture(8, 17, 1, [](int, int) { return 3u; });
  rle.SetPixelFormat(KsPixelFormat::Bit8RLE);
  const TKsDIB other = rle;
  EXPECT_THROW(TKsDIBCanvas{&rle}, EOutOfResources);
  EXPECT_FALSE(rle.SharesStorageWith(other));  // the bitmap owns its storage now
}

}  // namespace
}  // namespace kestrin::app
