// TKsDIB: storage sharing, scan lines, palette entries and BMP streams, against PIL.
#include <gtest/gtest.h>

#include <fstream>

#include "base/byte_reader.h"
#include "base/runtime_errors.h"
#include "image/display/ksdib.h"
#include "support/dib_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

// A BMP with a 40-byte header, `colors` palette entries and the given pixel bytes.
std::vector<uint8_t> make_bmp(int32_t w, int32_t h, uint16_t bits, uint32_t colors, const std::vector<uint8_t>& data,
                              uint32_t compression = 0, std::vector<uint32_t> masks = {}) {
  const uint32_t off = 54 + uint32_t(masks.size()) * 4 + 4 * colors;
  std::vector<uint8_t> b(off + data.size(), 0);
  put_u16le(&b[0], 19778);
  put_u32le(&b[2], uint32_t(b.size()));
  put_u32le(&b[10], off);
  put_u32le(&b[14], 40);
  put_u32le(&b[18], uint32_t(w));
  put_u32le(&b[22], uint32_t(h));
  put_u16le(&b[26], 1);
  put_u16le(&b[28], bits);
  put_u32le(&b[30], compression);
  put_u32le(&b[46], colors);
  for (size_t i = 0; i < masks.size(); ++i) put_u32le(&b[54 + 4 * i], masks[i]);
  for (uint32_t i = 0; i < colors; ++i) b[54 + masks.size() * 4 + 4 * i + 2] = uint8_t(i);  // red ramp
  std::copy(data.begin(), data.end(), b.begin() + off);
  return b;
}

TEST(KsDIB, NewBitmapIsOneBlackPixelAndSavesAs1082Bytes) {
  TKsDIB d;
  EXPECT_EQ(d.Width(), 1);
  EXPECT_EQ(d.Height(), 1);
  EXPECT_EQ(d.BitCount(), 8);
  EXPECT_EQ(d.PaletteSize(), 256);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(d.Color(i), 0);
  EXPECT_EQ(d.SaveToBytes().size(), 1082u);
}

TEST(KsDIB, ResizeClearsPixelsAndColoursButSameSizeKeepsThem) {
  TKsDIB d;
  d.SetWidth(4);
  d.SetHeight(3);
  d.SetColor(5, 0x123456);
  d.ScanLine(0)[0] = 7;
  d.SetWidth(4);
  EXPECT_EQ(d.ScanLine(0)[0], 7);
  EXPECT_EQ(d.Color(5), 0x123456);
  d.SetWidth(5);
  EXPECT_EQ(d.ScanLine(0)[0], 0);
  EXPECT_EQ(d.Color(5), 0);
  EXPECT_THROW(d.SetWidth(0), EKsDIBInvalidDIBPara);
  d.SetBitCount(24);
  EXPECT_THROW(d.SetWidth(INT32_MAX), EKsDIBInvalidDIBPara);  // 6 GB a row: refused, not wrapped
  EXPECT_THROW(d.SetBitCount(16), EKsDIBInvalidDIBPara);
}

TEST(KsDIB, APixelBlockOf2GiBIsRefused) {
  TKsDIB d;
  d.SetHeight(1);
  EXPECT_THROW(d.SetWidth(0x7FFFFFFF), EKsDIBInvalidDIBPara);  // 8 bits: exactly 2^31 bytes of row
  EXPECT_EQ(d.Width(), 1);
}

TEST(KsDIB, AssignSharesStorageAndWritesCopy) {
  TKsDIB a;
  a.SetColor(1, 0x0000FF);
  TKsDIB b;
  b = a;
  EXPECT_TRUE(b.SharesStorageWith(a));
  b.SetColor(1, 0x00FF00);
  EXPECT_FALSE(b.SharesStorageWith(a));
  EXPECT_EQ(a.Color(1), 0x0000FF);
  EXPECT_EQ(b.Color(1), 0x00FF00);
  TKsDIB c(a);
  c.ScanLine(0)[0] = 9;  // a scan line of shared storage makes it private first
  EXPECT_EQ(a.ScanLine(0)[0], 0);
}

TEST(KsDIB, ScanLinesOfBottomUpAndTopDownBitmaps) {
  TKsDIB d;
  d.SetWidth(3);
  d.SetHeight(10);
  const uint8_t* bits = d.internal().bits.data();
  EXPECT_EQ(d.ScanLine(0), bits + 9 * d.Stride());
  EXPECT_EQ(d.ScanLine(9), bits);
  try {
    d.ScanLine(10);
    FAIL();
  } catch (const EKsDIBPixelPositionRange& e) {
    EXPECT_STREQ(e.what(), "TKsDIB.GetScanLine: y is Out of Range");
  }
  d.SetHeight(-10);
  EXPECT_EQ(d.ScanLine(0), d.internal().bits.data());
  EXPECT_THROW(d.Color(256), EKsDIBPaletteIndexRange);
}

TEST(KsDIB, SixteenBit555ConvertsTo24Bits) {
  // Two pixels: red 31 (0x7C00) and green 16 (16 << 5).
  std::vector<uint8_t> data = {0x00, 0x7C, 0x00, 0x02};
  TKsDIB d;
  d.LoadFromBytes(make_bmp(2, 1, 16, 0, data));
  EXPECT_EQ(d.BitCount(), 24);
  const uint8_t* row = d.ScanLine(0);
  EXPECT_EQ(row[2], 255);  // red of pixel 0
  EXPECT_EQ(row[4], 131);  // green of pixel 1
  // 32 bits with explicit masks.
  std::vector<uint8_t> px = {0x10, 0x20, 0x30, 0x00};
  d.LoadFromBytes(make_bmp(1, 1, 32, 0, px, 3, {0xFF0000, 0x00FF00, 0x0000FF}));
  EXPECT_EQ(d.ScanLine(0)[0], 0x10);
  EXPECT_EQ(d.ScanLine(0)[2], 0x30);
}

TEST(KsDIB, SaveLoadIsByteIdenticalAndCoreHeaderLoads) {
  TKsDIB d;
  d.SetWidth(5);
  d.SetHeight(3);
  for (int i = 0; i < 256; ++i) d.SetColor(i, rgb_to_color(uint8_t(i), uint8_t(255 - i), 7));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) d.ScanLine(y)[x] = uint8_t(10 * y + x);
  auto bytes = d.SaveToBytes();
  TKsDIB e;
  e.LoadFromBytes(bytes);
  EXPECT_EQ(e.SaveToBytes(), bytes);

  // OS/2 core header, 1 bit: 12-byte header, two RGB triples.
  std::vector<uint8_t> core(14 + 12 + 6 + 4, 0);
  put_u16le(&core[0], 19778);
  put_u32le(&core[2], uint32_t(core.size()));
  put_u32le(&core[10], 32);
  put_u32le(&core[14], 12);
  put_u16le(&core[18], 3);
  put_u16le(&core[20], 1);
  put_u16le(&core[22], 1);
  put_u16le(&core[24], 1);
  core[29] = 0xFF;  // second colour: blue 255, green 255, red 255
  core[30] = 0xFF;
  core[31] = 0xFF;
  core[32] = 0xA0;
  e.LoadFromBytes(core);
  EXPECT_EQ(e.BitCount(), 1);
  EXPECT_EQ(e.Color(1), 0xFFFFFF);
  EXPECT_EQ(e.ScanLine(0)[0], 0xA0);
}

struct BadBmp {
  const char* name;
  std::vector<uint8_t> bytes;
  const char* message;
};

TEST(KsDIB, CorruptFilesRaiseAndKeepThePreviousBitmap) {
  auto offset_in_palette = make_bmp(2, 2, 8, 256, std::vector<uint8_t>(8, 1));
  put_u32le(&offset_in_palette[10], 60);
  auto huge = make_bmp(1, 1, 8, 256, {0, 0, 0, 0});
  put_u32le(&huge[18], 0x7FFFFFFF);
  put_u32le(&huge[22], 0x7FFFFFFF);
  auto far_past_the_file = make_bmp(1, 1, 8, 2, {0, 0, 0, 0});  // 40000 x 40000 rows from 4 bytes
  put_u32le(&far_past_the_file[18], 40000);
  put_u32le(&far_past_the_file[22], 40000);
  auto zero_width = make_bmp(0, 2, 8, 2, {});
  auto bad_header = make_bmp(1, 1, 8, 2, {0, 0, 0, 0});
  put_u32le(&bad_header[14], 64);
  auto bad_bits = make_bmp(1, 1, 7, 2, {0, 0, 0, 0});
  auto wide_rle16 = make_bmp(1, 1, 16, 0, {0, 0, 0, 0}, 1);  // read as plain rows: far past the file
  put_u32le(&wide_rle16[18], 402653187);
  const BadBmp cases[] = {
      {"not BM", {'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}, "TKsInternalDIB.LoadFromFile: File type is invalid"},
      {"offset in palette", offset_in_palette, "TKsInternalDIB.LoadFromFile: bfOffBits is too small"},
      {"huge", huge, "TKsInternalDIB.LoadFromStream: Invalid Width or Height"},
      {"rows far past the file", far_past_the_file, "TKsInternalDIB.LoadFromStream: Invalid Width or Height"},
      {"wide 16-bit with a compression field", wide_rle16, "TKsInternalDIB.LoadFromStream: Invalid Width or Height"},
      {"zero width", zero_width, "TKsInternalDIB.LoadFromStream: Invalid Width or Height"},
      {"header size", bad_header, "TKsInternalDIB.LoadFromStream: Invalid Bitmap Header Size"},
      {"bit count", bad_bits, "TKsInternalDIB.LoadFromStream: Invalid BitCout"},
      {"truncated", {'B', 'M', 1}, "TKsInternalDIB.LoadFromFile: File type is invalid"},
  };
  for (const auto& c : cases) {
    TKsDIB d;
    d.SetWidth(3);
    try {
      d.LoadFromBytes(c.bytes);
      ADD_FAILURE() << c.name;
    } catch (const EKsDIBError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
    EXPECT_EQ(d.Width(), 3) << c.name;
  }
}

TEST(KsDIB, SizeFieldTooSmallStillGivesWholeRows) {
  auto bmp = make_bmp(4, 100, 8, 2, std::vector<uint8_t>(16, 3));  // 400 bytes needed, 16 present
  put_u32le(&bmp[2], 0);                                              // bfSize 0
  TKsDIB d;
  d.LoadFromBytes(bmp);
  EXPECT_GE(d.internal().bits.size(), size_t(400));
  EXPECT_EQ(d.ScanLine(0)[0], 0);  // the top row lies past the data: zero
}

TEST(KsDIB, PeerPilReadsOursAndWeReadPils) {
  KESTRIN_REQUIRE_PEER("PIL");
  test::TempDir dir;
  TKsDIB d;
  d.SetWidth(5);
  d.SetHeight(3);
  for (int i = 0; i < 256; ++i) d.SetColor(i, rgb_to_color(uint8_t(i), 0, 0));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) d.ScanLine(y)[x] = uint8_t(10 * y + x);
  d.SaveToFile(dir.file("ours.bmp"));
  std::string out;
  ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " -c \"from PIL import Image; im=Image.open('" +
                                  dir.file("ours.bmp") + "'); print(im.size, im.mode, [im.getpixel((x,y)) for y in range(3) for x in range(5)])\"",
                              &out), 0);
  EXPECT_EQ(out, "(5, 3) P [0, 1, 2, 3, 4, 10, 11, 12, 13, 14, 20, 21, 22, 23, 24]\n");

  for (const char* mode : {"1", "P", "RGB"}) {
    const std::string file = dir.file(std::string("pil_") + mode + ".bmp");
    ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " -c \"from PIL import Image; im=Image.new('" + mode +
                                "',(7,4)); [im.putpixel((x,y), ((x+y)%2 if '" + mode + "'=='1' else ((x*30,y*40,5) if '" +
                                mode + "'=='RGB' else x*10+y))) for x in range(7) for y in range(4)]; im.save('" + file + "')\""),
              0) << mode;
    TKsDIB p;
    p.LoadFromFile(file);
    EXPECT_EQ(p.Width(), 7);
    EXPECT_EQ(p.Height(), 4);
    const std::string m = mode;
    if (m == "RGB") {
      EXPECT_EQ(p.ScanLine(2)[3 * 3 + 2], 90);  // red of (3, 2)
      EXPECT_EQ(p.ScanLine(2)[3 * 3 + 1], 80);  // green
    } else if (m == "P") {
      EXPECT_EQ(p.ScanLine(2)[3], 32);
    } else {
      EXPECT_EQ(p.BitCount(), 1);
      EXPECT_EQ((p.ScanLine(1)[0] >> 7) & 1, 1);  // (0,1) is set
    }
  }
}

// Run-length files keep their compressed data as stored (decoding is a pixel-format
// conversion); PIL decodes the fixtures and our copies to the same pixels.
TEST(KsDIB, RunLengthBitmapsKeepTheirDataAsStored) {
  KESTRIN_REQUIRE_PEER("PIL");
  test::TempDir dir;
  struct Case {
    const char* name;
    uint16_t bits;
    uint32_t compression;
    std::vector<uint8_t> data;  // 4 x 2, bottom row first
    KsPixelFormat format;
    const char* pixels;  // PIL's reading, top row first
  };
  const Case cases[] = {
      {"rle8", 8, 1, {3, 5, 1, 7, 0, 0, /* absolute 1 2 3, padded */ 0, 3, 1, 2, 3, 0, 1, 9, 0, 1},
       KsPixelFormat::Bit8RLE, "[1, 2, 3, 9, 5, 5, 5, 7]"},
      {"rle4", 4, 2, {4, 0x12, 0, 0, 3, 0x33, 1, 0x40, 0, 1}, KsPixelFormat::Bit4RLE, "[3, 3, 3, 4, 1, 2, 1, 2]"},
  };
  for (const auto& c : cases) {
    auto bmp = make_bmp(4, 2, c.bits, c.bits == 8 ? 256 : 16, c.data, c.compression);
    put_u32le(&bmp[34], uint32_t(c.data.size()));  // biSizeImage
    put_u32le(&bmp[38], 3780);
    put_u32le(&bmp[42], 3780);
    TKsDIB d;
    d.LoadFromBytes(bmp);
    EXPECT_EQ(d.PixelFormat(), c.format) << c.name;
    EXPECT_EQ(d.internal().bits, c.data) << c.name;
    EXPECT_EQ(d.SaveToBytes(), bmp) << c.name;
    EXPECT_THROW(d.ScanLine(0), EKsDIBBadDIBType) << c.name;
    const std::string ours = dir.file(std::string(c.name) + ".bmp");
    d.SaveToFile(ours);
    std::string out;
    ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " -c \"from PIL import Image; im=Image.open('" + ours +
                                    "'); print(list(im.getdata()))\"",
                                &out),
              0)
        << c.name;
    EXPECT_EQ(out, std::string(c.pixels) + "\n") << c.name;

    // Size field past the end of a cut file: only the bytes present are taken. Size field
    // 0: biSizeImage bytes.
    auto cut = bmp;
    cut.resize(cut.size() - 4);
    put_u32le(&cut[2], uint32_t(bmp.size() + 1000));
    d.LoadFromBytes(cut);
    EXPECT_EQ(d.internal().bits, std::vector<uint8_t>(c.data.begin(), c.data.end() - 4)) << c.name;
    auto no_size = bmp;
    no_size.resize(no_size.size() + 8, 0xEE);  // trailing bytes that are not pixel data
    put_u32le(&no_size[2], 0);
    d.LoadFromBytes(no_size);
    EXPECT_EQ(d.internal().bits, c.data) << c.name;
  }
}

// 32-bit files (PIL writes RGBA this way) become 24 bits.
TEST(KsDIB, PilThirtyTwoBitFileLoadsAsTwentyFourBits) {
  KESTRIN_REQUIRE_PEER("PIL");
  test::TempDir dir;
  const std::string file = dir.file("rgba.bmp");
  ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " -c \"from PIL import Image; im=Image.new('RGBA',(3,2),(0,0,0,255)); im.putpixel((2,0),(200,100,50,255)); im.save('" + file + "')\""),
            0);
  TKsDIB d;
  d.LoadFromFile(file);
  EXPECT_EQ(d.BitCount(), 24);
  EXPECT_EQ(d.Width(), 3);
  const uint8_t* top = d.ScanLine(0);
  EXPECT_EQ(top[6], 50);  // blue, green, red of (2, 0)
  EXPECT_EQ(top[7], 100);
  EXPECT_EQ(top[8], 200);
  EXPECT_EQ(d.ScanLine(1)[8], 0);
}

struct ProgressEvent {
  TProgressStage stage;
  int percent;
  std::string text;
  bool operator==(const ProgressEvent&) const = default;
};

std::vector<ProgressEvent> record_progress(TKsDIB& d, KsPixelFormat to) {
  std::vector<ProgressEvent> events;
  d.OnProgress = [&](TKsDIB&, TProgressStage stage, int percent, const std::string& text) {
    events.push_back({stage, percent, text});
  };
  try {
    d.SetPixelFormat(to);
  } catch (const std::exception&) {
    events.push_back({psEnding, -1, "raised"});
  }
  return events;
}

// Reducing conversions report 16 or 256 steps between a start and an end; a conversion that
// raises after its start reports no end; other conversions report nothing.
TEST(KsDIB, ReducingConversionsReportProgress) {
  const TKsDIB true_color = test::make_picture(24, 25, 3, [](int x, int y) { return test::hash_color(x / 8, y, 1); });
  TKsDIB d = true_color;
  auto events = record_progress(d, KsPixelFormat::Bit8);
  ASSERT_EQ(events.size(), 258u);
  EXPECT_EQ(events.front(), (ProgressEvent{psStarting, 0, "PixelFormat 24Bit -> 8Bit"}));
  for (int k = 1; k <= 256; ++k) ASSERT_EQ(events[size_t(k)], (ProgressEvent{psRunning, k * 100 / 256, "PixelFormat 24Bit -> 8Bit"}));
  EXPECT_EQ(events.back(), (ProgressEvent{psEnding, 100, "PixelFormat 24Bit -> 8Bit"}));

  events = record_progress(d, KsPixelFormat::Bit8RLE);
  EXPECT_TRUE(events.empty());
  events = record_progress(d, KsPixelFormat::Bit4RLE);
  ASSERT_EQ(events.size(), 18u);
  EXPECT_EQ(events[1], (ProgressEvent{psRunning, 6, "PixelFormat 8BitRLE -> 4BitRLE"}));
  EXPECT_EQ(events.back().stage, psEnding);

  d = true_color;
  d.SetConversionMode(3);
  events = record_progress(d, KsPixelFormat::Bit4);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], (ProgressEvent{psStarting, 0, "PixelFormat 24Bit -> 4Bit"}));
  EXPECT_EQ(events[1], (ProgressEvent{psEnding, -1, "raised"}));
}

TEST(KsDIB, AssignSharesAndCopiesTheConversionSettings) {
  TKsDIB a;
  a.SetConversionMode(1);
  a.SetMonoColor(0x00FF00);
  a.SetPaletteMode(2);
  int changes = 0;
  a.OnChange = [&](TKsDIB&) { ++changes; };
  TKsDIB b;
  EXPECT_EQ(b.ConversionMode(), 0);
  EXPECT_EQ(b.MonoColor(), 0xFFFFFF);
  EXPECT_EQ(b.PaletteMode(), 0);
  int b_changes = 0;
  b.OnChange = [&](TKsDIB&) { ++b_changes; };
  b = a;
  EXPECT_EQ(b_changes, 1);
  EXPECT_TRUE(b.Modified());
  EXPECT_TRUE(b.PaletteModified());
  EXPECT_EQ(b.ConversionMode(), 1);
  EXPECT_EQ(b.MonoColor(), 0x00FF00);
  EXPECT_EQ(b.PaletteMode(), 2);
  const TKsDIB c(a);
  EXPECT_TRUE(c.SharesStorageWith(a));
  EXPECT_EQ(c.PaletteMode(), 2);
  EXPECT_FALSE(c.OnChange);
  a.SetColor(3, 0x0000FF);
  a.SetPixelFormat(KsPixelFormat::Bit24);
  EXPECT_EQ(changes, 2);
  b.Assign(nullptr);
  EXPECT_EQ(b.Width(), 1);
  EXPECT_EQ(b.PaletteSize(), 256);
}

TEST(KsDIB, UseFmoComesFromTheDefaultAndStaysWithTheStorage) {
  EXPECT_TRUE(TKsDIB().UseFMO());
  TKsDIB::DefaultUseFMO = false;
  TKsDIB d;
  TKsDIB::DefaultUseFMO = true;
  EXPECT_FALSE(d.UseFMO());
  d.SetWidth(7);
  d.SetBitCount(24);
  d.SetPixelFormat(KsPixelFormat::Bit8);
  d.LoadFromBytes(TKsDIB().SaveToBytes());
  EXPECT_FALSE(d.UseFMO());
}

TEST(KsDIB, ClipboardFormatIsThePackedDibAndLoadsBackIdentical) {
  TKsDIB rle = test::make_picture(8, 25, 3, [](int x, int y) { return test::runs_picture(x, y, 256); });
  rle.SetPixelFormat(KsPixelFormat::Bit8RLE);
  const TKsDIB pictures[] = {
      test::make_picture(1, 9, 2, [](int x, int) { return uint32_t(x % 2); }),
      test::make_picture(4, 5, -3, [](int x, int y) { return uint32_t(x + y); }),
      test::make_picture(24, 3, 2, [](int x, int y) { return test::hash_color(x, y, 2); }), rle};
  for (const TKsDIB& p : pictures) {
    uint16_t format = 0;
    const std::vector<uint8_t> packed = p.SaveToClipboardFormat(format);
    EXPECT_EQ(format, 8);
    const std::vector<uint8_t> file = p.SaveToBytes();
    EXPECT_EQ(packed, std::vector<uint8_t>(file.begin() + 14, file.end()));
    TKsDIB back;
    back.LoadFromClipboardFormat(8, &packed);
    EXPECT_EQ(back.SaveToBytes(), file);
  }
}

TEST(KsDIB, ClipboardDataThatIsNotADibRaises) {
  uint16_t format = 0;
  const std::vector<uint8_t> good = test::make_picture(8, 4, 2, [](int x, int) { return uint32_t(x); }).SaveToClipboardFormat(format);
  auto with = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> b = good;
    put_u32le(&b[at], v);
    return b;
  };
  const std::vector<uint8_t> short_header(good.begin(), good.begin() + 30);
  const std::vector<uint8_t> cut_in_colours(good.begin(), good.begin() + 40 + 100);
  const std::vector<uint8_t> no_width = with(4, 0), huge_colours = with(32, 0x40000000), size_64 = with(0, 64);
  const struct {
    uint16_t format;
    const std::vector<uint8_t>* data;
    const char* message;
  } cases[] = {
      {2, &good, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data"},
      {8, nullptr, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data"},
      {8, &size_64, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Data"},
      {8, &short_header, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Data"},
      {8, &cut_in_colours, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Data"},
      {8, &huge_colours, "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Data"},
      {8, &no_width, "TKsInternalDIB.LoadFromStream: Invalid Width or Height"},
  };
  for (const auto& c : cases) {
    TKsDIB d;
    d.SetWidth(3);
    try {
      d.LoadFromClipboardFormat(c.format, c.data);
      ADD_FAILURE() << c.message;
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), c.message);
      EXPECT_EQ(dynamic_cast<const EInvalidGraphic*>(&e) != nullptr, c.format != 8 || !c.data) << c.message;
    }
    EXPECT_EQ(d.Width(), 3);
  }
  // A 16-bit packed DIB becomes 24 bits as a file would.
  std::vector<uint8_t> sixteen(40 + 4, 0);
  put_u32le(&sixteen[0], 40);
  put_u32le(&sixteen[4], 1);
  put_u32le(&sixteen[8], 1);
  put_u16le(&sixteen[12], 1);
  put_u16le(&sixteen[14], 16);
  put_u16le(&sixteen[40], 0x7C00);
  TKsDIB d;
  d.LoadFromClipboardFormat(8, &sixteen);
  EXPECT_EQ(d.BitCount(), 24);
  EXPECT_EQ(d.ScanLine(0)[2], 255);
}

TEST(KsDIB, RegistersAsTheDibPictureFormat) {
  kgui::PictureFormats formats;
  register_ksdib_picture_format(formats);
  const kgui::PictureFormat* f = formats.findExtension("DIB");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->description, "Device Independent Bitmap");
  EXPECT_EQ(formats.findClipboardFormat(8), f);
  test::TempDir dir;
  test::make_picture(8, 6, 2, [](int x, int) { return uint32_t(x); }).SaveToFile(dir.file("pic.dib"));
  const std::unique_ptr<kgui::TGraphic> g = formats.loadFromFile(dir.file("pic.dib"));
  const auto* dib = dynamic_cast<const TKsDIB*>(g.get());
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->Width(), 6);
}

}  // namespace
}  // namespace kestrin

