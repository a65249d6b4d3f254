// The Kestrin object through the two headless drivers: kestrin-script runs it as a script
// object, kestrin-harness reads the same calls as lines; both give the same log lines and
// results over one table of calls, and a script finds the rings of a synthetic image
// where the forward model put them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

const std::string kScript = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-script";
const std::string kHarness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

// Runs a script file through kestrin-script; its output without the exit-code line.
std::string run_script(const TempDir& dir, const std::string& source) {
  EXPECT_TRUE(write_file_bytes(dir.file("script.js"), source));
  std::string out;
  // Standard output only: it carries the script's output, its errors and the log; standard
  // error has the questions and what Qt says about the session.
  EXPECT_EQ(run_command(kScript + " '" + dir.file("script.js") + "'", &out), 0);
  const std::string end = "exit code: 0\n";
  EXPECT_TRUE(out.size() >= end.size() && out.compare(out.size() - end.size(), end.size(), end) == 0) << out;
  return out.substr(0, out.size() - std::min(out.size(), end.size()));
}

std::string run_harness(const TempDir& dir, const std::string& lines) {
  EXPECT_TRUE(write_file_bytes(dir.file("lines.txt"), lines));
  std::string out;
  EXPECT_EQ(run_command(kHarness + " '" + dir.file("lines.txt") + "' 2>&1", &out), 0);
  return out;
}

// The calls that load the ring image, set its geometry and find its peaks.
std::string ring_analysis(const std::string& image) {
  const RingGeometry g = three_ring_spec().geometry;
  std::string s = "Kestrin.SetLoCheck(1);\nKestrin.SetPixelSizeXCheck(1);\nKestrin.SetPixelSizeYCheck(1);\n";
  s += "Kestrin.SetLo(" + FloatToStr(g.Lo) + ");\nKestrin.SetPixelSizeX(0.1);\nKestrin.SetPixelSizeY(0.1);\n";
  s += "Kestrin.LoadImageFile('" + image + "');\n";
  s += "Kestrin.SetCenterX(" + FloatToStr(g.X0) + ");\nKestrin.SetCenterY(" + FloatToStr(g.Y0) + ");\n";
  s += "Kestrin.SetPhi(0);\nKestrin.SetBeta(0);\nKestrin.Set2ThetaBegin(1);\nKestrin.Set2ThetaEnd(9);\n";
  s += "Kestrin.Set2ThetaStep(0.01);\nKestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\n";
  s += "Kestrin.SetRectDirection(6);\nKestrin.AngleIntensity();\nKestrin.PeakSearch();\n";
  return s;
}

// A script of calls: each call's result printed as the harness prints it ("= value"),
// nothing for undefined.
std::string as_script(const std::vector<std::string>& calls) {
  std::string s = "function show(v) { if (!isUndefined(v)) println(\"= \" + v); }\nKestrin = new Kestrin;\n";
  for (const std::string& c : calls) s += "show(" + c + ");\n";
  return s;
}

std::string as_lines(const std::vector<std::string>& calls) {
  std::string s = "Kestrin = new Kestrin;\n";
  for (const std::string& c : calls) s += c + ";\n";
  return s;
}

std::vector<std::string> split_calls(const std::string& lines) {
  std::vector<std::string> calls;
  for (std::string line : split_lines(lines)) {
    if (line.empty()) continue;
    if (line.back() == ';') line.pop_back();
    calls.push_back(line);
  }
  return calls;
}

TEST(KestrinScript, RingsOfAForwardModelAreFoundWhereTheyLie) {
  TempDir dir;
  const RingImageSpec spec = three_ring_spec();
  write_ring_tiff(dir.file("rings.tif"), spec);
  std::string script = ring_analysis(dir.file("rings.tif"));
  script += "println(Kestrin.GetMaxPeakNumber());\n"
            "for (var i = 0; i < Kestrin.GetMaxPeakNumber(); i++) println(Kestrin.GetPeakData(i, 1));\n";
  const std::string out = run_script(dir, script);
  std::vector<std::string> lines = split_lines(out);
  ASSERT_GE(lines.size(), 4u) << out;
  lines.erase(lines.begin(), lines.end() - 4);
  ASSERT_EQ(lines[0], "3") << out;
  for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(StrToFloat(lines[k + 1]), spec.rings[k].two_theta, 0.01) << out;
}

// One table of calls, through the script object and through the harness: the same log
// lines and the same results, undefined where the harness prints nothing.
TEST(KestrinScript, HarnessAndScriptObjectAgreeOverOneTableOfCalls) {
  TempDir dir;
  write_ring_tiff(dir.file("rings.tif"), three_ring_spec());
  std::vector<std::string> calls = split_calls(ring_analysis(dir.file("rings.tif")));
  const std::vector<std::string> table = {
      // Setters and getters, conversions and rounding.
      "Kestrin.Set2ThetaBegin(5)", "Kestrin.Get2ThetaBegin()", "Kestrin.SetWaveLength(0.41328)",
      "Kestrin.GetWaveLength()", "Kestrin.SetBand(2.6)", "Kestrin.GetBand()", "Kestrin.SetBand(2.5)",
      "Kestrin.GetBand()", "Kestrin.SetBand(-3.5)", "Kestrin.GetBand()", "Kestrin.SetIntegrationMode(5)",
      "Kestrin.GetIntegrationMode()", "Kestrin.SetIntegrationMode(1)", "Kestrin.GetIntegrationMode()",
      "Kestrin.SetRectDirection(3)", "Kestrin.GetRectDirection()", "Kestrin.SetRectAngleMode(1)",
      "Kestrin.GetRectAngleMode()", "Kestrin.SetCenterY(300)", "Kestrin.GetCenterY()", "Kestrin.GetLo()",
      "Kestrin.SetClearMask(5)", "Kestrin.GetClearMask()", "Kestrin.SetWindowShow(7)",
      // Results of the analysis, in range and out of it.
      "Kestrin.GetMaxPeakNumber()", "Kestrin.GetPeakData(0, 0)", "Kestrin.GetPeakData(1, 1)",
      "Kestrin.GetPeakData(2, 2)", "Kestrin.GetPeakData(0, 3)", "Kestrin.GetPeakData(0, 4)",
      "Kestrin.GetPeakData(500, 1)", "Kestrin.GetPeakData(501, 1)", "Kestrin.GetPeakData(-1, 1)",
      "Kestrin.GetNaxIntensity(200)", "Kestrin.GetNaxIntensity(36000)", "Kestrin.GetNaxIntensity(36001)",
      "Kestrin.GetPixelIntensity(200, 199)", "Kestrin.GetPixelIntensity(400, 0)",
      "Kestrin.GetPixelIntensity(0, -1)",
      // Test and LineFit, with their arguments short and complete.
      "Kestrin.Test(2, 1, 2, 3, 4.5)", "Kestrin.Test(3, 1, 2)", "Kestrin.Test(0)", "Kestrin.Test(-2)",
      "Kestrin.LineFit(1, 2, 3)", "Kestrin.LineFit(2, 0, 1, 1, 3)", "Kestrin.GetValue1()",
      "Kestrin.GetValue2()", "Kestrin.LineFit(3, 0, 1, 1, 3)", "Kestrin.SetValue1(0.1)",
      "Kestrin.GetValue1()", "Kestrin.SetValue2(-1e-20)", "Kestrin.GetValue2()",
      // Missing arguments: nothing runs.
      "Kestrin.SetLo()", "Kestrin.GetPeakData(1)", "Kestrin.GetPixelIntensity(1)", "Kestrin.SaveNaxFile3('csv')",
      "Kestrin.LoadImageFile()", "Kestrin.GetLo()",
      // The clear-mask command, and the pattern beside the image.
      "Kestrin.ClearMask()", "Kestrin.SaveNaxFile2('tif')",
      "Kestrin.SaveNaxFile3('xy', 5)", "Kestrin.SaveNaxFile3('csv', 5)", "Kestrin.SaveNaxFile('" + dir.file("same.csv") + "')",
      "Kestrin.LoadImageFile('')",
  };
  calls.insert(calls.end(), table.begin(), table.end());
  const std::string script = replace_all(run_script(dir, as_script(calls)), "\r", "");
  const std::string harness = run_harness(dir, as_lines(calls));
  EXPECT_EQ(script, harness);
  EXPECT_NE(harness.find("= 0.41328\n"), std::string::npos) << harness;
  // A 2theta pattern has no xy form; the numbered csv is the same file SaveNaxFile writes.
  EXPECT_NE(harness.find(" save_nax_proc() : rings_  5.xy Bad extension for angle data\n"), std::string::npos);
  std::string numbered, named;
  ASSERT_TRUE(read_file_bytes(dir.file("rings_  5.csv"), numbered));
  ASSERT_TRUE(read_file_bytes(dir.file("same.csv"), named));
  EXPECT_EQ(numbered, named);
  EXPECT_GT(named.size(), 1000u);
}

}  // namespace
}  // namespace kestrin::test
