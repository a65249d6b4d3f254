// Bitmaps through the clipboard, offscreen: our DIBs come back byte for byte, other
// programs' images come in as DIBs, and an empty clipboard is refused with the message.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "app/ksdib_clipboard.h"
#include "base/runtime_errors.h"
#include "image/display/ksdib.h"
#include "offscreen_app.h"
#include "support/dib_fixture.h"

namespace kestrin::app {
namespace {

TEST(KsDIBClipboard, BitmapsComeBackByteForByteWithAPictureForOthers) {
  test::offscreen_app();
  TKsDIB rle = test::make_picture(4, 17, 3, [](int x, int y) { return test::runs_picture(x, y, 16); });
  rle.SetPixelFormat(KsPixelFormat::Bit4RLE);
  const TKsDIB bitmaps[] = {
      test::make_picture(8, 5, 3, [](int x, int y) { return uint32_t(x * 3 + y); }),
      test::make_picture(24, 4, -2, [](int x, int y) { return test::hash_color(x, y, 1); }), rle};
  for (const TKsDIB& dib : bitmaps) {
    save_to_clipboard(dib);
    TKsDIB back;
    assign_from_clipboard(back);
    EXPECT_EQ(back.SaveToBytes(), dib.SaveToBytes()) << dib.BitCount();
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(dib.Width(), dib.Height()));
    const test::RefPixel top_left = test::read_pixels(dib)[0];
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFu, uint32_t(top_left.red) << 16 | uint32_t(top_left.green) << 8 | top_left.blue);
  }
}

TEST(KsDIBClipboard, TextAndOtherProgramsImagesRoundTrip) {
  test::offscreen_app();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("2theta");
  EXPECT_EQ(clipboard->text(), "2theta");
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(qRgb(10, 20, 30));
  image.setPixel(2, 1, qRgb(200, 100, 50));
  clipboard->setImage(image);
  EXPECT_EQ(clipboard->image().pixel(2, 1), image.pixel(2, 1));
  TKsDIB dib;
  assign_from_clipboard(dib);
  ASSERT_EQ(dib.Width(), 3);
  ASSERT_EQ(dib.Height(), 2);
  EXPECT_EQ(test::read_pixels(dib)[5], (test::RefPixel{0, 200, 100, 50}));
}

TEST(KsDIBClipboard, NoBitmapOnTheClipboardRaisesTheMessage) {
  test::offscreen_app();
  QClipboard* clipboard = QGuiApplication::clipboard();
  for (bool text : {false, true}) {
    clipboard->clear();
    if (text) clipboard->setText("no picture");
    TKsDIB dib;
    dib.SetWidth(7);
    try {
      assign_from_clipboard(dib);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
    }
    EXPECT_EQ(dib.Width(), 7);
  }
}

}  // namespace
}  // namespace kestrin::app
