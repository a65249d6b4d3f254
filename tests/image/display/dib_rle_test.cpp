// The run-length codecs: the encoder's groups and room checks byte for byte, the decoder's
// refusals, and PIL decoding what we encode.
#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "base/runtime_errors.h"
#include "image/display/dib_rle.h"
#include "support/dib_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Bytes = std::vector<uint8_t>;
using test::make_picture;
using test::read_pixels;

// A bitmap whose picture rows (top first) are `rows`, each value an index.
TKsDIB picture_of_rows(int bits, const std::vector<std::vector<uint32_t>>& rows, bool top_down = false) {
  const int height = int(rows.size());
  return make_picture(bits, int(rows[0].size()), top_down ? -height : height,
                      [&](int x, int y) { return rows[size_t(y)][size_t(x)]; });
}

std::vector<uint32_t> repeat(std::initializer_list<std::pair<uint32_t, int>> runs) {
  std::vector<uint32_t> row;
  for (auto [v, n] : runs) row.insert(row.end(), size_t(n), v);
  return row;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<uint32_t> alternating(int n) {
  std::vector<uint32_t> row;
  for (int i = 0; i < n; ++i) row.push_back(uint32_t(i % 2 ? 7 : 9 + i % 5));
  return row;
}

TEST(RleEncode, GroupsRowsAsRunsStretchesAndAbsoluteRuns) {
  const std::vector<uint32_t> long_stretch = alternating(300);
  Bytes stretch_bytes(long_stretch.begin(), long_stretch.end());
  const struct {
    const char* name;
    int bits;
    std::vector<std::vector<uint32_t>> rows;  // top row first
    Bytes expected;
  } cases[] = {
      {"300 equal bytes", 8, {repeat({{6, 300}})}, {255, 6, 45, 6, 0, 0, 0, 1}},
      {"equal neighbours start runs",
       8,
       {{1, 2, 3, 3, 3, 4, 5, 6, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
       {1, 1, 1, 2, 3, 3, 1, 4, 1, 5, 2, 6, 15, 0, 0, 0, 0, 1}},
      {"absolute runs are padded", 8, {repeat({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {0, 19}})},
       {0, 5, 1, 2, 3, 4, 5, 0, 19, 0, 0, 0, 0, 1}},
      {"stretches end at 255",
       8,
       {repeat({{4, 300}}), long_stretch},
       concat({{0, 255}, Bytes(stretch_bytes.begin(), stretch_bytes.begin() + 255), {0, 0, 45},
               Bytes(stretch_bytes.begin() + 255, stretch_bytes.end()), {0, 0, 0, 255, 4, 45, 4, 0, 0, 0, 1}})},
      {"4-bit runs count pixels, cut at an odd row end", 4, {repeat({{1, 8}, {2, 8}, {3, 1}})},
       {8, 0x11, 8, 0x22, 1, 0x30, 0, 0, 0, 1}},
      {"4-bit absolute run of an odd row",
       4,
       {repeat({{5, 17}}), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1, 2}},
       {0, 17, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF1, 0x20, 0, 0, 0, 16, 0x55, 1, 0x50, 0, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    const TKsDIB source = picture_of_rows(c.bits, c.rows);
    const DibInfo out = c.bits == 8 ? Convert8BitRGBTo8BitRLE(source.internal()) : Convert4BitRGBTo4BitRLE(source.internal());
    EXPECT_EQ(out.bits, c.expected) << c.name;
    EXPECT_EQ(out.header.biSizeImage, c.expected.size()) << c.name;
    EXPECT_EQ(out.header.biCompression, c.bits == 8 ? BI_RLE8 : BI_RLE4) << c.name;
  }
}

// A top-down source is read from its last stored row, so the result is an ordinary
// bottom-up run-length bitmap of the same picture.
TEST(RleEncode, TopDownSourcesBecomeBottomUp) {
  for (int bits : {4, 8}) {
    TKsDIB d = picture_of_rows(bits, {repeat({{1, 16}, {2, 1}}), repeat({{3, 17}})}, true);
    const std::vector<test::RefPixel> before = read_pixels(d);
    d.SetPixelFormat(bits == 8 ? KsPixelFormat::Bit8RLE : KsPixelFormat::Bit4RLE);
    EXPECT_EQ(d.internal().header.biHeight, 2) << bits;
    EXPECT_EQ(d.internal().bits[1], bits == 8 ? 3 : 0x33) << bits;  // the bottom picture row first
    EXPECT_EQ(read_pixels(d), before) << bits;
  }
}

TEST(RleEncode, PicturesThatDoNotFitTheirRawSizeRaise) {
  for (int bits : {4, 8}) {
    TKsDIB d = make_picture(bits, 5, 3, [](int x, int y) { return uint32_t(x + 5 * y); });
    const Bytes before(d.internal().bits.begin(), d.internal().bits.end());
    try {
      d.SetPixelFormat(bits == 8 ? KsPixelFormat::Bit8RLE : KsPixelFormat::Bit4RLE);
      ADD_FAILURE() << bits;
    } catch (const EKsDIBCompressionFailed& e) {
      EXPECT_STREQ(e.what(), bits == 8 ? "Convert8BitRGBTo8BitRLE: Compression Failed"
                                       : "Convert4BitRGBTo4BitRLE: Compression Failed");
    }
    EXPECT_EQ(d.PixelFormat(), bits == 8 ? KsPixelFormat::Bit8 : KsPixelFormat::Bit4);
    EXPECT_EQ(d.internal().bits, before);
  }
  // The room check wants 6 bytes for a run that writes 2: one pixel never fits 4 bytes.
  TKsDIB one;
  EXPECT_THROW(one.SetPixelFormat(KsPixelFormat::Bit8RLE), EKsDIBCompressionFailed);
}

// A run-length bitmap (4 x 2 unless given) with the given data, loaded as a file would be.
TKsDIB rle_bitmap(int bits, const Bytes& data, int32_t width = 4, int32_t height = 2) {
  const uint32_t colors = bits == 8 ? 256 : 16;
  Bytes bmp(54 + 4 * colors + data.size(), 0);
  put_u16le(&bmp[0], 19778);
  put_u32le(&bmp[2], uint32_t(bmp.size()));
  put_u32le(&bmp[10], 54 + 4 * colors);
  put_u32le(&bmp[14], 40);
  put_u32le(&bmp[18], uint32_t(width));
  put_u32le(&bmp[22], uint32_t(height));
  put_u16le(&bmp[26], 1);
  put_u16le(&bmp[28], uint16_t(bits));
  put_u32le(&bmp[30], bits == 8 ? BI_RLE8 : BI_RLE4);
  put_u32le(&bmp[34], uint32_t(data.size()));
  put_u32le(&bmp[46], colors);
  std::copy(data.begin(), data.end(), bmp.begin() + 54 + 4 * colors);
  TKsDIB d;
  d.LoadFromBytes(bmp);
  return d;
}

TEST(RleDecode, RunsThatLeaveThePictureRaiseTheirMessage) {
  const struct {
    Bytes data;
    int message;  // for RLE8; RLE4 adds 4
  } cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 1}, 1},            // a third end of line passes the second row
      {{0, 2, 5, 0}, 2},                         // delta past the width
      {{0, 2, 0, 3}, 2},                         // delta past the height
      {{0, 5, 1, 2, 3, 4, 5, 0}, 3},             // literal past the width
      {{0, 0, 0, 0, 0, 3, 1, 2, 3, 0}, 3},       // literal below the last row
      {{3, 1, 2, 1}, 4},                         // run past the width
      {{0, 0, 0, 0, 1, 1}, 4},                   // run below the last row
  };
  for (const auto& c : cases)
    for (int bits : {8, 4}) {
      TKsDIB d = rle_bitmap(bits, c.data);
      const std::string name = bits == 8 ? "Convert8BitRLETo8BitRGB" : "Convert4BitRLETo4BitRGB";
      try {
        d.SetPixelFormat(bits == 8 ? KsPixelFormat::Bit8 : KsPixelFormat::Bit4);
        ADD_FAILURE() << name << " " << c.message;
      } catch (const EKsDIBInvalidDIB& e) {
        EXPECT_EQ(e.what(), name + ": Bad RLE Data " + std::to_string(c.message + (bits == 4 ? 4 : 0)));
      }
      EXPECT_EQ(d.PixelFormat(), bits == 8 ? KsPixelFormat::Bit8RLE : KsPixelFormat::Bit4RLE);
    }
}

// Deltas skip pixels (left 0); data cut short ends the picture where it stops.
TEST(RleDecode, DeltasSkipAndShortDataEndsThePicture) {
  auto indices = [](int bits, const Bytes& data) {
    TKsDIB d = rle_bitmap(bits, data);
    d.SetPixelFormat(bits == 8 ? KsPixelFormat::Bit8 : KsPixelFormat::Bit4);
    std::vector<int> got;
    for (const auto& p : read_pixels(d)) got.push_back(p.index);
    return got;
  };
  EXPECT_EQ(indices(8, {2, 7, 0, 2, 1, 1, 1, 9, 0, 1}), (std::vector<int>{0, 0, 0, 9, 7, 7, 0, 0}));
  EXPECT_EQ(indices(8, {2, 7, 0, 0, 0, 3, 4, 5}), (std::vector<int>{0, 0, 0, 0, 7, 7, 0, 0}));  // literal cut short
  EXPECT_EQ(indices(8, {2, 7, 0}), (std::vector<int>{0, 0, 0, 0, 7, 7, 0, 0}));
  EXPECT_EQ(indices(4, {3, 0x12, 0, 0, 0, 3, 0x45}), (std::vector<int>{0, 0, 0, 0, 1, 2, 1, 0}));
}

// A few bytes may describe a huge picture; a conversion whose result would not fit 2 GiB
// raises instead of allocating it.
TEST(RleDecode, HugePicturesOfFewBytesStopAtTheSizeLimit) {
  TKsDIB d = rle_bitmap(4, {0, 1}, 30000, 30000);
  try {
    d.SetPixelFormat(KsPixelFormat::Bit24);
    ADD_FAILURE() << "no error";
  } catch (const EOutOfResources& e) {
    EXPECT_STREQ(e.what(), "GetMemory: Cannot Make File Mapping Object");
  }
  EXPECT_EQ(d.PixelFormat(), KsPixelFormat::Bit4RLE);
}

std::string peer_bytes(const std::string& file, const std::string& expression) {
  std::string out;
  const int status = test::run_command(std::string(test::kPeerPython) + " -c \"import sys; from PIL import Image; im = Image.open('" +
                                       file + "'); sys.stdout.buffer.write(" + expression + ")\"",
                                       &out);
  return status == 0 ? out : "(PIL failed)";
}

// PIL 9.4 reads the last pixel of a 4-bit absolute run of odd length as 0 (the BMP format
// stores it in the high half of the run's last byte, as Qt reads it: see the app tests), so
// 4-bit rows given to PIL have an even width.
TEST(RlePeer, PilDecodesWhatWeEncode) {
  KESTRIN_REQUIRE_PEER("PIL");
  test::TempDir dir;
  for (int bits : {8, 4})
    for (int width : {61, 30, 17, 62})
      for (int height : {9, -4, 1}) {
        if (bits == 4 && width % 2) continue;
        TKsDIB d = make_picture(bits, width, height, [&](int x, int y) { return test::runs_picture(x, y, bits == 8 ? 256 : 16); });
        std::string want;
        for (const auto& p : read_pixels(d)) want += char(p.index);
        d.SetPixelFormat(bits == 8 ? KsPixelFormat::Bit8RLE : KsPixelFormat::Bit4RLE);
        std::string ours;
        for (const auto& p : read_pixels(d)) ours += char(p.index);
        EXPECT_EQ(ours, want) << bits << " bits " << width << " x " << height;
        const std::string file = dir.file("rle.bmp");
        d.SaveToFile(file);
        EXPECT_EQ(peer_bytes(file, "im.tobytes()"), want) << bits << " bits " << width << " x " << height;
      }
}

// PIL's colours of our indexed results equal our own expansion to 24 bits.
TEST(RlePeer, PilSeesTheColoursOfOurReductions) {
  KESTRIN_REQUIRE_PEER("PIL");
  test::TempDir dir;
  const TKsDIB source = make_picture(24, 40, 12, [](int x, int y) { return test::hash_color(x / 8, y / 2, 6); });
  for (KsPixelFormat f : {KsPixelFormat::Bit8, KsPixelFormat::Bit4, KsPixelFormat::Bit8RLE, KsPixelFormat::Bit4RLE, KsPixelFormat::Bit1})
    for (uint8_t mode : {0, 1}) {
      TKsDIB d = source;
      d.SetConversionMode(mode);
      d.SetMonoColor(rgb_to_color(0x1F, 0, 0));
      d.SetPixelFormat(f);
      const std::string file = dir.file("reduced.bmp");
      d.SaveToFile(file);
      TKsDIB wide = d;
      wide.SetPixelFormat(KsPixelFormat::Bit24);
      std::string want;
      for (const auto& p : read_pixels(wide)) want += {char(p.red), char(p.green), char(p.blue)};
      EXPECT_EQ(peer_bytes(file, "im.convert('RGB').tobytes()"), want) << pixel_format_name(f) << " mode " << int(mode);
    }
}

}  // namespace
}  // namespace kestrin
