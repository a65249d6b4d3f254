// kestrin-harness end to end: a command file that loads an R-AXIS frame, reads and sets
// the geometry and round-trips a parameter file; the printed output is compared whole.
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "support/raxis_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

TEST(LoadingHarness, LoadSetGetAndParameterFileGolden) {
  TempDir dir;
  RaxisFixture f;
  f.codes = {0, 1, 2, 3, 100, 32768, 40000, 5, 7, 8, 9, 10};
  f.write(dir.file("Run1.IMG"));
  const std::string commands =
      "Kestrin = new Kestrin;\n"
      "Kestrin.SetLoCheck(1);\n"
      "Kestrin.SetWaveLengthCheck(0);\n"
      "Kestrin.SetLo(300);\n"
      "Kestrin.LoadImageFile('@Run1.IMG');\n"
      "GetLo\n"
      "GetWaveLength\n"
      "GetPixelIntensity 2 1\n"
      "GetPixelIntensity 4 0\n"
      "SetWaveLength 0.71073\n"
      "GetWaveLength\n"
      "SetCenterX 512.5\n"
      "SetBand 2.6\n"
      "GetBand\n"
      "SaveParamFile '@Run1.kes'\n"
      "SaveParamFile '@Run1.KES'\n"
      "SetLo 1\n"
      "LoadParamFile '@Run1.kes'\n"
      "GetLo\n"
      "SetCenterX 1\n"
      "LoadImageFile '@Run1.IMG'\n"
      "GetCenterX\n"
      "GetBand\n"
      "LoadImageFile\n";
  ASSERT_TRUE(write_file_bytes(dir.file("commands.txt"), replace_all(commands, "@", dir.path())));
  const std::string expected =
      " Directory = @\n"
      " Inf  name = @Run1.inf\n"
      " Img  name = @Run1.IMG\n"
      " Base name = Run1\n"
      " Swapping byte order...\n"
      "Min to Max / Saturated intensity(log) = 0 to 8789 / 10000\n"
      "Min to Max / Saturated intensity(linear) = 0 to 57856 / 262136\n"
      " No parameter file @Run1.kes   Default values are used.\n"
      "= -1\n"
      "= 300\n"
      "= 1.5418\n"
      "= 57856\n"
      "= 0.71073\n"
      "= 3\n"
      " save_param_proc() : @Run1.KES is not a param file.. \n"
      "= 300\n"
      " Directory = @\n"
      " Inf  name = @Run1.inf\n"
      " Img  name = @Run1.IMG\n"
      " Base name = Run1\n"
      " Swapping byte order...\n"
      "Min to Max / Saturated intensity(log) = 0 to 8789 / 10000\n"
      "Min to Max / Saturated intensity(linear) = 0 to 57856 / 262136\n"
      " Load parameter file @Run1.kes \n"
      "= -1\n"
      "= 512.5\n"
      "= 3\n";
  std::string out;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  EXPECT_EQ(run_command(harness + " '" + dir.file("commands.txt") + "' 2>'" + dir.file("err.txt") + "'", &out), 0);
  EXPECT_EQ(out, replace_all(expected, "@", dir.path()));
  std::string err;
  ASSERT_TRUE(read_file_bytes(dir.file("err.txt"), err));
  EXPECT_EQ(err, "line 9: GetPixelIntensity: pixel outside the image\n");
}

// Commands on standard input, in both forms, with failing, unknown and malformed lines in
// between: every line is reported and the harness still ends with status 0.
TEST(LoadingHarness, StandardInputRunsBothFormsPastFailingLines) {
  TempDir dir;
  const std::string commands =
      "Kestrin.SetLo(321);\n"
      "LoadNaxFile '@missing.xy'\n"
      "Kestrin.Bogus();\n"
      "Kestrin.GetLo(\n"
      "SetBand abc\n"
      "LoadImageFile @a.ipf\n"
      "GetLo\n";
  ASSERT_TRUE(write_file_bytes(dir.file("commands.txt"), replace_all(commands, "@", dir.path())));
  std::string out, err;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  EXPECT_EQ(run_command(harness + " <'" + dir.file("commands.txt") + "' 2>'" + dir.file("err.txt") + "'", &out), 0);
  EXPECT_EQ(out, replace_all(" <<<<<   XY format   >>>>>\n load_img_proc() : @a.ipf is not a image file.. \n= -1\n= 321\n", "@", dir.path()));
  ASSERT_TRUE(read_file_bytes(dir.file("err.txt"), err));
  const std::vector<std::string> lines = split_lines(err);
  ASSERT_EQ(lines.size(), 4u) << err;
  EXPECT_EQ(lines[0].rfind("line 2: LoadNaxFile: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "line 3: unknown command Bogus");
  EXPECT_EQ(lines[2], "line 4: bad macro line");
  EXPECT_EQ(lines[3], "line 5: SetBand: 'abc' is not a valid floating point value");
}

// A mask file made by hand goes in with LoadMaskFile and comes out of SaveMaskFile the same;
// the names are checked, a missing file is reported, and ClearMask empties the mask.
TEST(LoadingHarness, MaskFilesInAndOut) {
  TempDir dir;
  RaxisFixture f;
  f.width = 12;
  f.height = 2;
  f.write(dir.file("m.img"));
  // Pixel 0 of row 0, pixels 7 to 11 of row 1, and pad bits (pixels 12 to 15) that are ignored.
  const std::string mask = std::string("\x0c\0\0\0\x02\0\0\0", 8) + "\x80\x0f\x01\xf0";
  ASSERT_TRUE(write_file_bytes(dir.file("in.bgz"), mask));
  const std::string commands =
      "Kestrin.LoadImageFile('@m.img');\n"
      "LoadMaskFile '@in.bgz'\n"
      "Kestrin.SaveMaskFile('@out.BGZ');\n"
      "LoadMaskFile '@in.Bgz'\n"
      "LoadMaskFile '@missing.bgz'\n"
      "SaveMaskFile\n"
      "ClearMask\n"
      "SaveMaskFile '@clear.bgz'\n";
  ASSERT_TRUE(write_file_bytes(dir.file("commands.txt"), replace_all(commands, "@", dir.path())));
  std::string out, err;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  EXPECT_EQ(run_command(harness + " '" + dir.file("commands.txt") + "' 2>'" + dir.file("err.txt") + "'", &out), 0);
  const std::vector<std::string> lines = split_lines(out);
  ASSERT_GE(lines.size(), 4u);
  const std::vector<std::string> tail(lines.end() - 4, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{" load_mask_proc : Successfully loaded ",
                                            " save_mask_proc : Successfully saved to " + dir.file("out.BGZ"),
                                            " load_mask_proc() : " + dir.file("in.Bgz") + " is not a mask file. ",
                                            " save_mask_proc : Successfully saved to " + dir.file("clear.bgz")}));
  std::string written, cleared;
  ASSERT_TRUE(read_file_bytes(dir.file("out.BGZ"), written));
  ASSERT_TRUE(read_file_bytes(dir.file("clear.bgz"), cleared));
  EXPECT_EQ(written, std::string(mask.data(), 8) + std::string("\x80\0\x01\xf0", 4));
  EXPECT_EQ(cleared, std::string(mask.data(), 8) + std::string(4, '\0'));
  ASSERT_TRUE(read_file_bytes(dir.file("err.txt"), err));
  EXPECT_EQ(err, "line 5: LoadMaskFile: File not found\n");
}

}  // namespace
}  // namespace kestrin::test
