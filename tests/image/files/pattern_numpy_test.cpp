// The comma-separated pattern files as another program reads them: numpy's loadtxt
// gives back the positions and intensities of the pattern in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/convert.h"
#include "base/text_file.h"
#include "commands/headless_ports.h"
#include "image/files/pattern_files.h"
#include "image/program_state.h"
#include "ports/ports.h"
#include "support/pattern_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

// Rows "x y" as numpy reads the first n lines of the file.
std::vector<std::pair<double, double>> numpy_rows(const std::string& path, int n) {
  const std::string script =
      "import numpy, sys\n"
      "a = numpy.loadtxt(sys.argv[1], delimiter=',', max_rows=int(sys.argv[2]), ndmin=2)\n"
      "for x, y in a: print(repr(float(x)), repr(float(y)))\n";
  const std::string script_path = path + ".py";
  EXPECT_TRUE(write_file_bytes(script_path, script));
  std::string out;
  const int status = test::run_command(std::string(test::kPeerPython) + " " + script_path + " " + path + " " +
                                           std::to_string(n) + " 2>&1",
                                       &out);
  EXPECT_EQ(status, 0) << out;
  std::vector<std::pair<double, double>> rows;
  for (const std::string& line : split_lines(out)) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    rows.push_back({StrToFloat(line.substr(0, blank)), StrToFloat(line.substr(blank + 1))});
  }
  return rows;
}

TEST(PatternNumpy, CommaSeparatedFormsLoadWithSamePositionsAndIntensities) {
  KESTRIN_REQUIRE_PEER("numpy");
  reset_state();
  reset_headless_ports();
  test::TempDir dir;
  const int n = 50;
  struct Case {
    const char* name;
    PatternKind kind;
  };
  const Case cases[] = {{"a.xy", kPixelHistogram},
                        {"a.pil", kPixelHistogram},
                        {"a.csv", kPixelHistogram},
                        {"a.raw", kAngleHistogram},
                        {"b.csv", kAngleHistogram}};
  for (const Case& c : cases) {
    state().nax_pattern = test::small_pattern(n, c.kind, "title");
    state().integration_params = test::angle_axis(5.5, 0.013, n);
    state().peak_table = test::three_peaks();
    Report report;
    save_nax_proc(dir.file(c.name), report);
    const auto rows = numpy_rows(dir.file(c.name), n);
    ASSERT_EQ(rows.size(), size_t(n)) << c.name;
    for (int i = 0; i < n; ++i) {
      const double position = c.kind == kPixelHistogram ? double(i) : 5.5 + i * 0.013;
      EXPECT_NEAR(rows[size_t(i)].first, position, 5e-7) << c.name << " row " << i;
      EXPECT_EQ(rows[size_t(i)].second, double(state().nax_pattern.values[size_t(i)])) << c.name << " row " << i;
    }
  }
  reset_state();
}

}  // namespace
}  // namespace kestrin
