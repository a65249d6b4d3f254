// The pattern file commands run through the harness: paths beside the image, the
// extensions that are refused, and the log of a save and a load.
#include <gtest/gtest.h>

#include "base/paths.h"
#include "commands/headless_ports.h"
#include "harness/harness.h"
#include "harness/harness_fixture.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/ports.h"
#include "support/pattern_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::harness {
namespace {

TEST(HarnessPatternCommands, SaveBesideImageAndLoadBack) {
  reset_state();
  reset_headless_ports();
  test::TempDir dir;
  current_image().ImageFolder = dir.path();
  current_image().ImageBaseName = "img01";
  state().nax_pattern = test::small_pattern(3, kPixelHistogram, "title");
  std::string err;
  const std::string out = run_lines(
      "SaveNaxFile2 tif\nSaveNaxFile2 ''\nSaveNaxFile2 XY\nKestrin.SaveNaxFile3('xy', 5);\n"
      "Kestrin.LoadNaxFile('" + dir.file("img01.XY") + "');\nSaveNaxFile3 csv 12.7\nSaveNaxFile3 pil 2.5\n", &err);
  EXPECT_TRUE(file_exists(dir.file("img01.XY")));
  EXPECT_TRUE(file_exists(dir.file("img01_  5.xy")));
  EXPECT_TRUE(file_exists(dir.file("img01_ 13.csv")));  // numbers round, ties to even
  EXPECT_TRUE(file_exists(dir.file("img01_  2.pil")));
  EXPECT_FALSE(file_exists(dir.file("img01.tif")));
  const std::string save_log = " Directory     = " + dir.path() + "\n Nax file name = img01.XY\n <<<<<   XY format   >>>>>\n Completed.\n";
  EXPECT_EQ(out.substr(0, save_log.size()), save_log);
  // Upper-case ".XY" is read as a nax file: the conversion error reaches the caller.
  EXPECT_NE(out.find(" <<<<<   Nax format   >>>>>\n"), std::string::npos);
  EXPECT_EQ(err, "line 5: LoadNaxFile: '0,7' is not a valid integer value\n");
  reset_state();
}

TEST(HarnessPatternCommands, LoadReportsWhatItRead) {
  reset_state();
  reset_headless_ports();
  test::TempDir dir;
  state().nax_pattern = test::small_pattern(3, kPixelHistogram, "title");
  state().peak_table = test::three_peaks();
  run_lines("SaveNaxFile " + dir.file("p.pil") + "\n");
  reset_state();
  EXPECT_EQ(run_lines("LoadNaxFile " + dir.file("p.pil") + "\n"),
            " <<<<<   PIL format   >>>>>\n  title\n Number of points =      3\n Max intensity    =    207\n"
            " Number of peaks  =      3\n Completed.\n");
  EXPECT_EQ(state().nax_pattern.values[2], 207);
  reset_state();
}

}  // namespace
}  // namespace kestrin::harness
