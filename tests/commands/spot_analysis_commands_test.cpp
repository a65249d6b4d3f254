// The spot analysis window's commands without widgets: the run state machine with a fake
// analysis and a scripted pump (Next, Retry, Abort, the program ending), the close query,
// the error lines, B.G. Calculate's settings and columns, and Load List's question.
#include "commands/spot_analysis_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>

#include "analysis/spot_bg.h"
#include "analysis/spot_csv.h"
#include "analysis/spot_tables.h"
#include "analysis/spot_list.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/spot_analyze_form_names.h"
#include "support/ring_image.h"
#include "support/spot_image.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// Each wait for events runs the next scripted action (a button press) before testing the
// condition; with no action left the wait ends as the program's end would.
class ScriptedPump : public EventPump {
public:
  std::deque<std::function<void()>> actions;
  bool ended = false;
  int pumps = 0;
  std::function<void(int)> at_pump;
  void process_messages() override {
    ++pumps;
    if (at_pump) at_pump(pumps);
  }
  void wait_until(const std::function<bool()>& done) override {
    if (actions.empty()) {
      ended = true;
      return;
    }
    auto action = actions.front();
    actions.pop_front();
    action();
    (void)done;
  }
  bool terminated() const override { return ended; }
};

class RecordingPrompts : public Prompts {
public:
  std::vector<bool> answers;
  std::vector<std::string> asked, messages;
  bool confirm(std::string_view q) override {
    asked.emplace_back(q);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void message(std::string_view text) override { messages.emplace_back(text); }
};

class SpotAnalysisCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.events = &pump_;
    p.prompts = &prompts_;
    install_ports(p);
    load_into_current_image(std::vector<uint16_t>(64 * 64, 100), 64, 64);
    SpotList& l = state().spot_list;
    set_spot_count(l, 3);
    for (int i = 0; i < 3; ++i) l.SpotRecords[size_t(i)].x = l.SpotX[size_t(i)] = 10.0 * (i + 1);
  }
  void TearDown() override { reset_headless_ports(); }

  // A fake analysis that lists the spots it was given and the band it saw.
  Spot2ThetaAnalysis fake() {
    return [this](int32_t spot, const Spot2ThetaSettings& s) { done_.push_back(Format("%d/%d", {spot, s.band})); };
  }
  static std::string text(ControlName n) { return controls().text(n); }

  ScriptedPump pump_;
  RecordingPrompts prompts_;
  std::vector<std::string> done_;
};

TEST_F(SpotAnalysisCommandsTest, StepModeGoesOnAtNextRepeatsAtRetryWithNewSettingsAndStopsAtAbort) {
  std::vector<std::string> states;
  pump_.actions = {
      [&] {
        states.push_back(text(frmSpotAnalyze::btnCalcStep) + "|" + text(frmSpotAnalyze::lblStepStatus));
        EXPECT_FALSE(spot_analysis_close_query());
        calc_step_command(fake());  // Start Step now means Next
      },
      [&] {
        edit(frmSpotAnalyze::edtAngleSetting, "20");
        retry_command();
      },
      [&] { abort_command(); },
  };
  calc_step_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"0/12", "1/12", "1/20"}));
  EXPECT_EQ(states, (std::vector<std::string>{"Next Spot|Current No.=1"}));
  EXPECT_EQ(prompts_.messages, (std::vector<std::string>{"Now processing. Need to abort."}));
  EXPECT_EQ(log(), (std::vector<std::string>{"Spot Analyze: Spot No:1 done", "Spot Analyze: Spot No:2 done",
                                             "Spot Analyze: Spot No:2 done", "Spot Analyze: Aborted.",
                                             "Spot Analyze: calc 2theta done."}));
  EXPECT_EQ(text(frmSpotAnalyze::lblStepStatus), "Aborted.");
  EXPECT_EQ(text(frmSpotAnalyze::btnCalcStep), "Start Step");
  EXPECT_EQ(state().analyze.AnalyzeState, kAnalyzeIdle);
  EXPECT_TRUE(spot_analysis_close_query());
}

TEST_F(SpotAnalysisCommandsTest, TheProgramEndingDuringTheStepWaitEndsTheRun) {
  calc_step_command(fake());  // no scripted press: the wait ends with the program
  EXPECT_EQ(done_, (std::vector<std::string>{"0/12"}));
  EXPECT_EQ(state().analyze.AnalyzeState, kAnalyzeIdle);
  EXPECT_EQ(log().at(1), "Spot Analyze: Aborted.");
}

TEST_F(SpotAnalysisCommandsTest, CalcAllRunsFromTheStartSpotAndStopsAtAnAbortFromThePump) {
  edit(frmSpotAnalyze::edtStartSpotAll, "2");
  calc_all_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"1/12", "2/12"}));
  EXPECT_EQ(log().back(), "Spot Analyze: calc 2theta done.");
  EXPECT_EQ(log().front(), "Spot Analyze: Spot No:2 done. Band=12");
  EXPECT_EQ(text(frmSpotAnalyze::lblStepStatus), "Done.");
  EXPECT_EQ(pump_.pumps, 2);

  done_.clear();
  edit(frmSpotAnalyze::edtStartSpotAll, "1");
  pump_.ended = true;  // the program ends during the first spot
  calc_all_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"0/12"}));
}

TEST_F(SpotAnalysisCommandsTest, AbortDuringCalcAllEndsTheLoopAfterTheCurrentSpot) {
  pump_.at_pump = [](int n) {
    if (n == 1) abort_command();
  };
  calc_all_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"0/12"}));
  EXPECT_EQ(state().analyze.AnalyzeState, kAnalyzeIdle);
  EXPECT_EQ(text(frmSpotAnalyze::lblStepStatus), "Done.");
  EXPECT_EQ(log().back(), "Spot Analyze: calc 2theta done.");
}

TEST_F(SpotAnalysisCommandsTest, ListBandAndErrorLines) {
  state().spot_analysis_grid = spot_analysis_grid();
  state().spot_analysis_grid[2][kAnaBand] = "7";
  state().spot_analysis_grid[3][kAnaBand] = "0";
  check(frmSpotAnalyze::chkUseListBand);
  calc_all_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"0/12", "1/7", "2/12"}));

  the_log().clear_history();
  edit(frmSpotAnalyze::edtIndex, "4");
  two_theta_calc_command(fake());
  edit(frmSpotAnalyze::edtIndex, "1");
  edit(frmSpotAnalyze::edtAngleSetting, "x");
  two_theta_calc_command(fake());
  EXPECT_EQ(text(frmSpotAnalyze::lblStepStatus), "Aborted.");
  calc_step_command(fake());
  current_image().NoImageFlag = 1;
  two_theta_calc_command(fake());
  spot_bg_calculate_command();
  EXPECT_EQ(log(), (std::vector<std::string>{"TwoThetaCalcAll:spot no. error", "one spot execute mode. band error.",
                                             "step execute mode. parameter error.",
                                             " Spot2ThetaCalc():Image data does not exist",
                                             " SpotAnalyze():Image data does not exist"}));
}

TEST_F(SpotAnalysisCommandsTest, OneSpotShowsItsNumberAndAbortWhileIdleChangesNothing) {
  abort_command();
  EXPECT_EQ(state().analyze.AnalyzeState, kAnalyzeIdle);
  edit(frmSpotAnalyze::edtIndex, "2");
  two_theta_calc_command(fake());
  EXPECT_EQ(done_, (std::vector<std::string>{"1/12"}));
  EXPECT_EQ(text(frmSpotAnalyze::lblStepStatus), "Done.");
  EXPECT_EQ(log(), (std::vector<std::string>{"Spot Analyze: Spot No:2 done. Band=12", "Spot Analyze: calc 2theta done."}));
}

TEST_F(SpotAnalysisCommandsTest, BackgroundCalculationScansTheWindowsRangesAndFillsItsColumns) {
  SpotImageSpec spec;
  spec.width = 96;
  spec.height = 96;
  spec.spots = 3;
  spec.min_separation = 30;
  std::vector<SpotTruth> truth;
  load_into_current_image(make_spot_image(spec, &truth), spec.width, spec.height);
  SpotList& l = state().spot_list;
  for (size_t i = 0; i < 3; ++i) {
    l.SpotRecords[i].x = std::round(truth[i].x);
    l.SpotRecords[i].y = std::round(truth[i].y);
    l.SpotRecords[i].intensity = int32_t(truth[i].amplitude + 100);
  }
  spot_bg_calculate_command();
  const StringGrid& grid = state().spot_analysis_grid;
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const SpotRecord& r = l.SpotRecords[i];
    double bg = 0, t = 0, amp = 0, net = 0;
    int32_t size = 0, distance = 0;
    spot_bg_calc(20, 3, bg, size, t, amp, net, distance, 1.30, 1.10, double(r.intensity), r.y, r.x);
    EXPECT_DOUBLE_EQ(r.background, bg);
    EXPECT_EQ(r.bg_distance, distance);
    EXPECT_EQ(r.start_distance, size);
    EXPECT_DOUBLE_EQ(r.threshold, t);
    EXPECT_EQ(grid[i + 1][kAnaBg], Format("%7.3f", {bg}));
    EXPECT_EQ(grid[i + 1][kAnaNet], Format("%7.3f", {net}));
    EXPECT_EQ(grid[i + 1][kAnaShikii], Format("%d", {Round((t - 1) / 0.01)}));
    EXPECT_EQ(grid[i + 1][kAnaStartDistance], Format("%d", {size}));
  }
}

TEST_F(SpotAnalysisCommandsTest, LoadListAnsweredNoChangesNothing) {
  spot_analysis_load_command();
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"現在のスポットサーチデータは破棄されます。よろしいですか？"}));
  EXPECT_EQ(state().spot_list.SpotCount, 3);
}

TEST_F(SpotAnalysisCommandsTest, AListWithHklLabelsTheSpotsWithItAndAnyOtherListDoesNot) {
  init_spot_columns();
  TempDir dir;
  const std::string with_hkl = dir.file("hkl.csv"), plain = dir.file("plain.csv");
  ASSERT_TRUE(write_file_bytes(with_hkl, "no,spotx(pixel),spoty(pixel),spotintensity,hcalc,kcalc,lcalc\r\n1,5,6,7,1,-2,3\r\n"));
  ASSERT_TRUE(write_file_bytes(plain, "1,5,6,7\r\n"));
  load_spot_analysis_list(with_hkl);
  EXPECT_TRUE(state().spot_list.AnalysisLabels);
  EXPECT_EQ(state().spot_list.SpotRecords.at(0).k, -2);
  load_spot_analysis_list(plain);
  EXPECT_FALSE(state().spot_list.AnalysisLabels);
  load_spot_analysis_list(with_hkl);
  load_spot_csv(plain);  // the spot window's Load List
  EXPECT_FALSE(state().spot_list.AnalysisLabels);
}

}  // namespace
}  // namespace kestrin::test
