// ConvertBitmap through the harness: a conversion written to a file, and errors reported as
// every harness error is.
#include <gtest/gtest.h>

#include <sstream>

#include "base/text_file.h"
#include "harness/harness.h"
#include "support/dib_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::harness {
namespace {

std::string run_bitmap(const std::string& script, std::string& err) {
  std::istringstream in(script);
  std::ostringstream out, errors;
  run_commands(in, out, errors, bitmap_commands());
  err = errors.str();
  return out.str();
}

TEST(HarnessBitmapCommands, ConvertBitmapWritesTheConvertedFileOrReportsWhy) {
  test::TempDir dir;
  test::make_picture(24, 9, 4, [](int x, int y) { return test::hash_color(x, y, 3); }).SaveToFile(dir.file("in.bmp"));
  ASSERT_TRUE(write_file_bytes(dir.file("bad.bmp"), "BMnot a bitmap at all"));
  std::string err;
  run_bitmap("ConvertBitmap " + dir.file("in.bmp") + " " + dir.file("low.bmp") + " 3\n" +
          "Kestrin.ConvertBitmap('" + dir.file("in.bmp") + "', '" + dir.file("high.bmp") + "', 1, 1);\n" +
          "ConvertBitmap " + dir.file("bad.bmp") + " " + dir.file("x.bmp") + " 3\n" +
          "ConvertBitmap " + dir.file("in.bmp") + " " + dir.file("x.bmp") + " 6\n" +
          "ConvertBitmap " + dir.file("in.bmp") + " " + dir.file("x.bmp") + " 3 9\n",
      err);
  TKsDIB low, high;
  low.LoadFromFile(dir.file("low.bmp"));
  EXPECT_EQ(low.PixelFormat(), KsPixelFormat::Bit8);
  high.LoadFromFile(dir.file("high.bmp"));
  EXPECT_EQ(high.PixelFormat(), KsPixelFormat::Bit4);
  EXPECT_EQ(err,
            "line 3: ConvertBitmap: TKsInternalDIB.LoadFromStream: Invalid Bitmap Header Size\n"
            "line 4: ConvertBitmap: Invalid pixel format 6\n"
            "line 5: ConvertBitmap: TKsIntenalDIB.SetPixelsFormat: PixelFormat Error\n");
  std::string bytes;
  EXPECT_FALSE(read_file_bytes(dir.file("x.bmp"), bytes));
}

}  // namespace
}  // namespace kestrin::harness
