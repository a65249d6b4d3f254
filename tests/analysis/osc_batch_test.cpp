// The oscillation batch over three small R-AXIS files: its output names, spots found from
// overlapping reference windows kept once, a stop between files, and the poll.
#include "analysis/osc_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "analysis/batch_state.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/report.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "support/raxis_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class CancellingPump : public EventPump {
public:
  int polls = 0;
  int stop_at = 0;  // the poll that presses Cancel; 0 never
  void process_messages() override {
    if (++polls == stop_at) state().BatchState = kBatchStop;
  }
};

class OscBatchTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    Ports p = ports();
    p.events = &pump_;
    install_ports(p);
    // Two spots 10 pixels apart on every frame, a third far away.
    for (int k = 0; k < 3; ++k) {
      RaxisFixture f;
      f.width = 90;
      f.height = 70;
      f.codes.assign(size_t(f.width * f.height), 100);
      for (const auto& [x, y] : {std::pair{30 + k, 30}, std::pair{40 + k, 30}, std::pair{70, 50}})
        f.codes[size_t(x + f.width * y)] = 4000;
      files_.push_back(f.write(dir_.file("s00" + std::to_string(k + 1) + ".img")));
    }
    state().spot_reference = {{30, 30, 1}, {40, 30, 1}};
  }
  void TearDown() override {
    Ports p = ports();
    p.events = nullptr;
    install_ports(p);
    AnalysisTest::TearDown();
  }
  std::string csv(int k, const std::string& suffix) { return dir_.path() + "s00" + std::to_string(k) + suffix + ".csv"; }
  // The batch with the oscillation window's start settings (boxes 1 and 9, thresholds 1.3
  // and 0.2, spots within 4 one, squares of +-20); each image searched counts a redraw.
  int32_t batch(const std::vector<std::string>& files, const std::string& suffix) {
    report_ = Report();
    const OscSteps steps{[](const std::string& name) { return load_image_command(name); }, [this] { ++searched_; }};
    return osc_ana_batch(files, dir_.path(), suffix, OscSettings{1, 9, 1.3, 0.2, 4, 20}, steps, report_);
  }

  Report report_;
  int searched_ = 0;

  TempDir dir_;
  std::vector<std::string> files_;
  CancellingPump pump_;
};

TEST_F(OscBatchTest, EachImageGetsItsCsvWithSpotsFromOverlappingWindowsOnce) {
  EXPECT_EQ(batch(files_, "_a"), 0);
  for (int k = 1; k <= 3; ++k) {
    std::string text;
    ASSERT_TRUE(read_file_bytes(csv(k, "_a"), text)) << k;
    const int x = 29 + k;
    EXPECT_EQ(text, "no,spotx(pixel),spoty(pixel),spotintensity\r\n" + Format("1,%d,30,4000\r\n2,%d,30,4000\r\n", {x, x + 10}))
        << k;
  }
  EXPECT_EQ(pump_.polls, 9);
  EXPECT_EQ(searched_, 3);
  EXPECT_TRUE(report_.lines().empty());
  EXPECT_EQ(current_image().ImageFilePath, files_[2]);
  EXPECT_EQ(osc_output_name("/out", "/data/s001.img", ""), "/out/s001.csv");
  EXPECT_EQ(osc_output_name("/out/", "/data/s001.img", "_b"), "/out/s001_b.csv");
}

// A frame that does not load gets no CSV file (the store still holds the frame before it)
// and a line naming it; the frames after it are searched and written as usual.
TEST_F(OscBatchTest, AFrameThatDoesNotLoadIsLoggedAndSkipped) {
  struct Case {
    const char* what;
    std::string (*make)(const std::string& path);  // writes the bad frame (or not) at path
    const char* name;
  };
  const Case cases[] = {
      {"missing", [](const std::string&) { return std::string(); }, "s002.img"},
      {"cut short", [](const std::string& p) { RaxisFixture f; f.width = 90; f.height = 70; return f.write(p, 3000); },
       "s002.img"},
      {"not an image name", [](const std::string& p) { write_file_bytes(p, "x"); return p; }, "s002.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(csv(1, "")), std::filesystem::remove(csv(2, "")), std::filesystem::remove(csv(3, ""));
    std::filesystem::remove(files_[1]);
    std::vector<std::string> series = files_;
    series[1] = dir_.file(c.name);
    c.make(series[1]);
    EXPECT_EQ(batch(series, ""), 0);
    EXPECT_TRUE(file_exists(csv(1, "")));
    EXPECT_FALSE(file_exists(csv(2, "")));
    std::string text;
    ASSERT_TRUE(read_file_bytes(csv(3, ""), text));
    EXPECT_EQ(text, "no,spotx(pixel),spoty(pixel),spotintensity\r\n1,32,30,4000\r\n2,42,30,4000\r\n");
    const std::vector<std::string>& lines = report_.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         " osc_ana_batch() : " + series[1] + " was not loaded; no spot list is written for it."),
              1);
    EXPECT_EQ(current_image().ImageFilePath, files_[2]);
  }
}

TEST_F(OscBatchTest, StopAfterTheSecondFileLeavesTwoCsvFiles) {
  pump_.stop_at = 7;  // the first poll of the third file
  EXPECT_EQ(batch(files_, ""), 0);
  EXPECT_TRUE(file_exists(csv(1, "")));
  EXPECT_TRUE(file_exists(csv(2, "")));
  EXPECT_FALSE(file_exists(csv(3, "")));
  EXPECT_EQ(current_image().ImageFilePath, files_[1]);
}

TEST_F(OscBatchTest, PollRunsTheEventsAndWaitsOutAPause) {
  state().BatchState = kBatchStop;
  EXPECT_EQ(poll_batch_state(), 1);
  state().BatchState = kBatchPause;  // the headless pump has no events to wait for: it goes on
  EXPECT_EQ(poll_batch_state(), 0);
  EXPECT_EQ(pump_.polls, 2);
}

}  // namespace
}  // namespace kestrin::test
