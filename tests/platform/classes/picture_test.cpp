// Pictures: which BMP streams a bitmap takes (headers checked against the length before any
// pixel), and the stored form of a graphic read back to the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/classes/picture.h"
#include "support/bmp_stream.h"

namespace kgui {
namespace {

using kestrin::test::make_bmp24;

std::vector<uint8_t> Bmp(int w, int h, bool top_down = false) {
  return make_bmp24(w, h, [](int x, int y) { return uint32_t(x * 40) << 16 | uint32_t(y * 40); }, top_down);
}

TEST(Picture, ABitmapTakesOnlyAWholeBmpStream) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
    bool ok;
  };
  const Case cases[] = {
      {"a good stream", [](auto&) {}, true},
      {"the last pixel byte missing", [](auto& b) { b.pop_back(); }, false},
      {"no BM signature", [](auto& b) { b[1] = 'X'; }, false},
      {"zero width", [](auto& b) { kestrin::put_u32le(&b[18], 0); }, false},
      {"twelve bits a pixel", [](auto& b) { kestrin::put_u16le(&b[28], 12); }, false},
      {"a header longer than the stream", [](auto& b) { kestrin::put_u32le(&b[14], 4000); }, false},
      {"pixels offset past the end", [](auto& b) { kestrin::put_u32le(&b[10], 1u << 30); }, false},
      {"an unknown compression", [](auto& b) { kestrin::put_u32le(&b[30], 9); }, false},
      {"a huge height", [](auto& b) { kestrin::put_u32le(&b[22], 0x7FFFFFFF); }, false},
      {"only the file header", [](auto& b) { b.resize(14); }, false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bmp = Bmp(3, 2);
    c.spoil(bmp);
    TPicture picture;
    picture.setBitmap(Bmp(1, 1));
    if (c.ok) {
      picture.setBitmap(bmp);
      EXPECT_EQ(picture.width(), 3) << c.what;
      EXPECT_EQ(picture.height(), 2) << c.what;
    } else {
      EXPECT_THROW(picture.setBitmap(bmp), EInvalidGraphic) << c.what;
      EXPECT_EQ(picture.width(), 1) << c.what << ": the picture stays as it was";
    }
  }
}

TEST(Picture, ATopDownBitmapHasItsHeightPositive) {
  TPicture picture;
  picture.setBitmap(Bmp(4, 5, true));
  EXPECT_EQ(picture.height(), 5);
  EXPECT_EQ(picture.graphicClassName(), "TBitmap");
}

TEST(Picture, TheStoredFormReadsBackToTheSameBytes) {
  TPicture a;
  int changes = 0;
  a.OnChange = [&] { ++changes; };
  const std::vector<uint8_t> bmp = Bmp(3, 2);
  a.setBitmap(bmp);
  const std::vector<uint8_t> stored = a.storedData();
  ASSERT_GT(stored.size(), 12u);
  EXPECT_EQ(std::string(stored.begin(), stored.begin() + 8), "\x07TBitmap");
  EXPECT_EQ(*kestrin::ByteReader(stored).u32le(8), bmp.size());

  TPicture b;
  b.readStoredData(stored);
  EXPECT_EQ(b.storedData(), stored);
  EXPECT_EQ(std::vector<uint8_t>(b.bitmapStream().begin(), b.bitmapStream().end()), bmp);
  EXPECT_EQ(b.width(), 3);

  // Another graphic class is kept as it came, with no size known.
  std::vector<uint8_t> other = {10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 1, 2, 3};
  b.readStoredData(other);
  EXPECT_EQ(b.graphicClassName(), "TJPEGImage");
  EXPECT_EQ(b.storedData(), other);
  EXPECT_TRUE(b.bitmapStream().empty());
  EXPECT_EQ(b.width(), 0);

  a.assign(b);
  EXPECT_EQ(a.storedData(), other);
  a.readStoredData({});
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(changes, 3);
}

TEST(Picture, BadStoredDataLeavesThePictureAsItWas) {
  TPicture picture;
  picture.setBitmap(Bmp(2, 2));
  const std::vector<uint8_t> before = picture.storedData();
  std::vector<uint8_t> wrong_length = before;
  kestrin::put_u32le(&wrong_length[8], 5);
  std::vector<uint8_t> spoilt_bmp = before;
  spoilt_bmp[12] = 'Q';
  const std::vector<std::vector<uint8_t>> bad = {
      wrong_length, spoilt_bmp, {7, 'T', 'B', 'i'}, {0, 1, 2}, {7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 1}};
  for (const auto& data : bad) {
    EXPECT_THROW(picture.readStoredData(data), EInvalidGraphic);
    EXPECT_EQ(picture.storedData(), before);
  }
}

}  // namespace
}  // namespace kgui
