// The part view painted into a paint box, bitmaps drawn stretched on a canvas, and Qt's
// BMP reader opening the bitmaps we write.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "app/image_view_paint.h"
#include "image/display/ksdib.h"
#include "offscreen_app.h"
#include "support/dib_fixture.h"
#include "platform/gui/form.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/qt_canvas.h"

namespace kestrin::app {
namespace {

using namespace kgui;

QRgb opaque(uint32_t rgb) { return 0xFF000000u | rgb; }
uint32_t grey(int g) { return uint32_t(g) << 16 | uint32_t(g) << 8 | uint32_t(g); }

// 4 x 3 levels 0, 10, ..., 110 (reversed grey palette: level = grey), pixel (1, 1) masked
// with red, in a 10 x 8 paint box at zoom 2: one view column and row past the image.
TEST(ImageViewPaint, PaintBoxShowsTheZoomedLevelsMaskAndMargins) {
  test::offscreen_app();
  TForm form(nullptr);
  auto* box = new TPaintBox(&form);
  box->setParent(&form);
  box->setBounds(0, 0, 10, 8);
  const std::vector<uint8_t> levels{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110};
  const std::vector<uint8_t> mask{0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  ImageView v;
  v.ViewWidth = 10;
  v.ViewHeight = 8;
  set_image_zoom(v, 2.0, 4, 3);
  ASSERT_TRUE(paint_image_view(*box, levels, mask, 4, 3, v, 0, 0, image_palette(true, false),
                               mask_palette(0x0000FF)));
  const QImage& img = box->image();
  const uint32_t margin = to_rgb32(kMarginColour);
  const struct {
    int x, y;
    uint32_t rgb;
  } probes[] = {
      {0, 0, grey(0)},   {1, 1, grey(0)},   {2, 0, grey(10)},  {7, 1, grey(30)}, {0, 2, grey(40)},
      {2, 2, grey(50) ^ 0x00FFFF},          {3, 3, grey(50) ^ 0x00FFFF},       {7, 5, grey(110)},
      {9, 0, margin},    {9, 7, margin},    {0, 7, margin},    {5, 7, margin},
  };
  for (const auto& p : probes) EXPECT_EQ(img.pixel(p.x, p.y), opaque(p.rgb)) << p.x << "," << p.y;

  // A view that would pass the last image row draws nothing.
  const QImage before = img.copy();
  EXPECT_FALSE(paint_image_view(*box, levels, mask, 4, 3, v, 0, 1, image_palette(true, false),
                                mask_palette(0x0000FF)));
  EXPECT_EQ(box->image(), before);
}

TEST(ImageViewPaint, DibDrawsStretchedWithItsColoursTopRowFirst) {
  QImage img(8, 6, QImage::Format_RGB32);
  img.fill(Qt::white);
  QtCanvas canvas(&img);
  for (int height : {3, -3}) {  // bottom-up and top-down storage
    TKsDIB dib;
    dib.SetWidth(4);
    dib.SetHeight(height);
    dib.SetColor(1, 0x0000FF);  // red
    dib.SetColor(2, 0xFF0000);  // blue
    dib.ScanLine(0)[3] = 1;     // top right
    dib.ScanLine(2)[0] = 2;     // bottom left
    draw_dib(canvas, {0, 0, 8, 6}, dib);
    EXPECT_EQ(img.pixel(7, 0), opaque(0xFF0000)) << height;
    EXPECT_EQ(img.pixel(6, 1), opaque(0xFF0000)) << height;
    EXPECT_EQ(img.pixel(0, 5), opaque(0x0000FF)) << height;
    EXPECT_EQ(img.pixel(3, 3), opaque(0)) << height;
  }
  // Scaled down by two: every other source pixel.
  TKsDIB wide;
  wide.SetWidth(4);
  wide.SetHeight(2);
  wide.SetColor(5, 0x00FF00);
  wide.ScanLine(0)[2] = 5;
  img.fill(Qt::white);
  draw_dib(canvas, {0, 0, 2, 1}, wide);
  EXPECT_EQ(img.pixel(1, 0), opaque(0x00FF00));
  EXPECT_EQ(img.pixel(0, 0), opaque(0));
  EXPECT_EQ(img.pixel(2, 0), 0xFFFFFFFFu);
}

// Palette modes 1 and 2 draw the halftone forms; other depths draw through 8 bits.
TEST(ImageViewPaint, DibDrawsHalftonesAndOtherDepths) {
  QImage img(2, 1, QImage::Format_RGB32);
  QtCanvas canvas(&img);
  TKsDIB dib;
  dib.SetWidth(2);
  dib.SetBitCount(24);
  uint8_t* row = dib.ScanLine(0);
  row[2] = 255;                                     // red
  row[3] = 255, row[4] = 255, row[5] = 255;         // white
  const struct {
    uint8_t mode;
    uint32_t left, right;
  } cases[] = {{1, 0xFF0000, 0xFFFFFF}, {2, 0x000000, 0xFFFFFF}};
  for (const auto& c : cases) {
    img.fill(Qt::blue);
    dib.SetPaletteMode(c.mode);
    draw_dib(canvas, {0, 0, 2, 1}, dib);
    EXPECT_EQ(img.pixel(0, 0), opaque(c.left)) << int(c.mode);
    EXPECT_EQ(img.pixel(1, 0), opaque(c.right)) << int(c.mode);
  }
  const TKsDIB four = test::make_picture(4, 2, 1, [](int x, int) { return x ? 3u : 0u; }, [](int i) { return i == 3 ? 0x00FF00u : 0u; });
  img.fill(Qt::blue);
  draw_dib(canvas, {0, 0, 2, 1}, four);
  EXPECT_EQ(img.pixel(1, 0), opaque(0x00FF00));
}

// Qt's own BMP reader opens what we write, at every depth we store.
TEST(ImageViewPaint, QtOpensOurBitmaps) {
  for (int bits : {1, 4, 8, 24}) {
    TKsDIB dib;
    dib.SetWidth(5);
    dib.SetHeight(3);
    dib.SetBitCount(bits);
    if (bits != 24) {
      dib.SetColor(0, 0x000000);
      dib.SetColor(1, 0x00FFFF);  // yellow
    }
    // Pixel (0, 0) (top left) gets colour 1 (yellow in 24 bits: B 0, G 255, R 255).
    uint8_t* top = dib.ScanLine(0);
    if (bits == 1) top[0] = 0x80;
    if (bits == 4) top[0] = 0x10;
    if (bits == 8) top[0] = 1;
    if (bits == 24) { top[0] = 0; top[1] = 255; top[2] = 255; }
    const std::vector<uint8_t> bytes = dib.SaveToBytes();
    QImage img;
    ASSERT_TRUE(img.loadFromData(bytes.data(), int(bytes.size()), "BMP")) << bits;
    EXPECT_EQ(img.size(), QSize(5, 3)) << bits;
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFFu, 0xFFFF00u) << bits;
    EXPECT_EQ(img.pixel(1, 0) & 0xFFFFFFu, 0u) << bits;
    EXPECT_EQ(img.pixel(0, 2) & 0xFFFFFFu, 0u) << bits;
  }
}

// Qt reads our run-length encodings, odd widths and odd absolute runs included.
TEST(ImageViewPaint, QtDecodesOurRunLengthBitmaps) {
  for (KsPixelFormat f : {KsPixelFormat::Bit8RLE, KsPixelFormat::Bit4RLE})
    for (int width : {17, 61})
      for (int height : {5, -2}) {
        const int colours = f == KsPixelFormat::Bit8RLE ? 256 : 16;
        TKsDIB dib = test::make_picture(f == KsPixelFormat::Bit8RLE ? 8 : 4, width, height,
                                        [&](int x, int y) { return test::runs_picture(x, y, colours); },
                                        [](int i) { return test::hash_color(i, 2, 3); });
        const std::vector<test::RefPixel> want = test::read_pixels(dib);
        dib.SetPixelFormat(f);
        const std::vector<uint8_t> bytes = dib.SaveToBytes();
        QImage img;
        ASSERT_TRUE(img.loadFromData(bytes.data(), int(bytes.size()), "BMP")) << width;
        for (int y = 0; y < std::abs(height); ++y)
          for (int x = 0; x < width; ++x) {
            const test::RefPixel& p = want[size_t(y * width + x)];
            ASSERT_EQ(img.pixel(x, y), opaque(uint32_t(p.red) << 16 | uint32_t(p.green) << 8 | p.blue))
                << pixel_format_name(f) << " " << width << "x" << height << " at " << x << "," << y;
          }
      }
}

}  // namespace
}  // namespace kestrin::app
