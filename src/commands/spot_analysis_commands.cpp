// The spot analysis window's commands and its run state machine.
#include "commands/spot_analysis_commands.h"

#include <optional>

#include "analysis/spot_bg.h"
#include "analysis/spot_csv.h"
#include "analysis/spot_tables.h"
#include "base/convert.h"
#include "commands/file_commands.h"
#include "commands/osc_ana_commands.h"
#include "commands/spot_2theta.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/spot_analyze_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

AnalyzeRun& run_state() { return state().analyze; }
bool image_loaded() { return current_image().NoImageFlag == 0; }
std::string number(int32_t spot) { return Format("%d", {spot + 1}); }

void show_analysis_grid() {
  state().spot_analysis_grid = spot_analysis_grid();
  spot_analysis_window().show_grid();
}

void status(const std::string& text) { controls().set_text(frmSpotAnalyze::lblStepStatus, text); }

// The settings of the window, with the band of the spot's grid row when the window says so;
// nothing when a text does not convert.
std::optional<Spot2ThetaSettings> read_settings(int32_t spot) {
  const Controls& c = controls();
  const auto half_width = TryStrToFloat(c.text(frmSpotAnalyze::edt2ThetaHalfWidth));
  auto band = TryStrToInt(c.text(frmSpotAnalyze::edtAngleSetting));
  const auto allowance = TryStrToFloat(c.text(frmSpotAnalyze::edtDifference));
  if (!half_width || !band || !allowance) return std::nullopt;
  if (c.checked(frmSpotAnalyze::chkUseListBand)) {
    const StringGrid& grid = state().spot_analysis_grid;
    const size_t row = size_t(spot) + 1;
    if (row < grid.size() && size_t(kAnaBand) < grid[row].size())
      if (const auto listed = TryStrToInt(grid[row][kAnaBand]); listed && *listed > 0) band = listed;
  }
  Spot2ThetaSettings s;
  s.half_width = *half_width;
  s.band = *band;
  s.allowance = *allowance;
  s.fit_type = c.checked(frmSpotAnalyze::rbtnFitType1) ? 0 : 1;
  s.profile_kind = c.checked(frmSpotAnalyze::rbtnAngleKind1) ? 0 : 1;
  return s;
}

// The analysis of one spot with its log line; false (after the error steps) when the
// settings do not convert.
bool analyze_one(int32_t mode, int32_t spot, const Spot2ThetaAnalysis& analysis) {
  const std::optional<Spot2ThetaSettings> s = read_settings(spot);
  if (!s) {
    log_line(mode == kAnalyzeOneSpot ? "one spot execute mode. band error." : "step execute mode. parameter error.");
    run_state().AnalyzeState = kAnalyzeIdle;
    status("Aborted.");
    return false;
  }
  if (analysis) analysis(spot, *s);
  else analyze_spot_2theta(spot, *s);
  const bool band_shown = mode != kAnalyzeStepwise;
  log_line("Spot Analyze: Spot No:" + number(spot) + (band_shown ? " done. Band=" + Format("%d", {s->band}) : " done"));
  return true;
}

// Mode 0: every spot from start, the queue running after each; an abort or the program's
// end stops the loop.
bool run_all(int32_t start, const Spot2ThetaAnalysis& analysis) {
  for (int32_t k = start; k < state().spot_list.SpotCount; ++k) {
    if (!analyze_one(kAnalyzeAllSpots, k, analysis)) return false;
    status("Current No.=" + number(k));
    pump_events();
    if (run_state().AnalyzeState == kAnalyzeAbort || program_terminated()) break;
  }
  return true;
}

// Mode 1: one spot, then a wait for Next (events run; the thread sleeps while there are
// none). A wait that ends without Next (the program ending, or no windows to press it)
// counts as Abort.
bool run_steps(int32_t start, const Spot2ThetaAnalysis& analysis, bool& aborted) {
  AnalyzeRun& r = run_state();
  for (int32_t k = start; k < state().spot_list.SpotCount;) {
    if (!analyze_one(kAnalyzeStepwise, k, analysis)) return false;
    status("Current No.=" + number(k));
    spot_analysis_window().uncover();
    wait_for_events([&r] { return r.AnalyzeNext; });
    if (!r.AnalyzeNext || program_terminated()) r.AnalyzeState = kAnalyzeAbort;
    r.AnalyzeNext = false;
    if (r.AnalyzeState == kAnalyzeAbort) {
      log_line("Spot Analyze: Aborted.");
      status("Aborted.");
      aborted = true;
      break;
    }
    if (r.AnalyzeRetry) r.AnalyzeRetry = false;
    else ++k;
  }
  return true;
}

void finish(bool keep_status) {
  run_state().AnalyzeState = kAnalyzeIdle;
  if (!keep_status) status("Done.");
  log_line("Spot Analyze: calc 2theta done.");
  spot_analysis_window().enable_runs(true);
}

}  // namespace

void spot_analysis_load_command() {
  if (!prompts().confirm(kDiscardSpotsQuestion)) return;
  const std::string name = run_spot_csv_open_dialog();
  if (!name.empty()) load_spot_analysis_list(name);
}

void load_spot_analysis_list(const std::string& file_name) {
  // A list that carries h, k and l is labelled with them on the image.
  struct ShowAfter {
    ~ShowAfter() {
      state().spot_list.AnalysisLabels = has_hkl_columns();
      show_analysis_grid();
    }
  } show;
  load_spot_csv(file_name);
}

void spot_analysis_save_command() {
  const std::string name = run_result_save_dialog(kSpotListSaveFilter, "csv");
  if (name.empty()) log_line(" save_spot_proc() : cancel ");
  else write_spot_analysis_list(name);
}

void spot_bg_calculate_command() {
  if (!image_loaded()) {
    log_line(" SpotAnalyze():Image data does not exist");
    return;
  }
  const Controls& c = controls();
  const int32_t start_size = StrToInt(c.text(frmSpotAnalyze::edtBGSizeStart));
  const int32_t end_size = StrToInt(c.text(frmSpotAnalyze::edtBGSizeEnd));
  const double threshold_end = StrToFloat(c.text(frmSpotAnalyze::edtShikii)) / 100 + 1;
  const double threshold_start = StrToFloat(c.text(frmSpotAnalyze::edtShikii2)) / 100 + 1;
  SpotList& list = state().spot_list;
  if (state().spot_analysis_grid.size() < size_t(list.SpotCount) + 1) state().spot_analysis_grid = spot_analysis_grid();
  for (int32_t i = 0; i < list.SpotCount; ++i) {
    SpotRecord& r = list.SpotRecords[size_t(i)];
    double bg = 0, threshold = 0, amplitude = 0, net = 0;
    int32_t size = 0, distance = 0;
    spot_bg_calc(start_size, end_size, bg, size, threshold, amplitude, net, distance, threshold_start, threshold_end,
                 double(r.intensity), r.y, r.x);
    r.background = bg;
    r.net_amplitude = amplitude;
    r.net_intensity = net;
    r.bg_distance = distance;
    r.threshold = threshold;
    r.start_distance = size;
    const int32_t row = i + 1;
    set_analysis_cell(kAnaBg, row, Format("%7.3f", {bg}));
    set_analysis_cell(kAnaAmp, row, Format("%7.3f", {amplitude}));
    set_analysis_cell(kAnaNet, row, Format("%7.3f", {net}));
    set_analysis_cell(kAnaDistance, row, Format("%d", {distance}));
    set_analysis_cell(kAnaShikii, row, Format("%d", {threshold_percent(threshold)}));
    set_analysis_cell(kAnaStartDistance, row, Format("%d", {size}));
  }
}

void run_spot_2theta(int32_t mode, int32_t start, const Spot2ThetaAnalysis& analysis) {
  AnalyzeRun& r = run_state();
  if (!image_loaded()) {
    log_line(" Spot2ThetaCalc():Image data does not exist");
    return;
  }
  if (!read_settings(start)) {
    log_line(mode == kAnalyzeOneSpot ? "one spot execute mode. band error." : "step execute mode. parameter error.");
    r.AnalyzeState = kAnalyzeIdle;
    status("Aborted.");
    return;
  }
  if (start < 0 || start >= state().spot_list.SpotCount) {
    log_line("TwoThetaCalcAll:spot no. error");
    r.AnalyzeState = kAnalyzeIdle;
    return;
  }
  graph_window().show();
  log_window().show();
  bool aborted = false;
  if (mode == kAnalyzeStepwise) {
    r.AnalyzeState = kAnalyzeStep;
    r.AnalyzeNext = false;
    controls().set_text(frmSpotAnalyze::btnCalcStep, "Next Spot");
    status("Step Mode");
    const bool ended = run_steps(start, analysis, aborted);
    controls().set_text(frmSpotAnalyze::btnCalcStep, "Start Step");
    if (!ended) return;
  } else if (mode == kAnalyzeAllSpots) {
    r.AnalyzeState = kAnalyzeAll;
    if (!run_all(start, analysis)) return;
  } else {
    if (!analyze_one(kAnalyzeOneSpot, start, analysis)) return;
    if (r.AnalyzeState == kAnalyzeStep) {
      status("Current No.=" + number(start) + " Done.");
      return;
    }
    status("No.=" + number(start) + " Done.");
  }
  finish(aborted);
}

void calc_all_command(const Spot2ThetaAnalysis& analysis) {
  if (run_state().AnalyzeState != kAnalyzeIdle) return;
  const int32_t start = StrToInt(controls().text(frmSpotAnalyze::edtStartSpotAll)) - 1;
  if (start < 0) return;
  run_long("run_spot_2theta", [&] {
    spot_analysis_window().enable_runs(false);
    run_spot_2theta(kAnalyzeAllSpots, start, analysis);
    spot_analysis_window().enable_runs(true);
  });
}

void calc_step_command(const Spot2ThetaAnalysis& analysis) {
  AnalyzeRun& r = run_state();
  if (r.AnalyzeState != kAnalyzeIdle) {
    r.AnalyzeNext = true;
    return;
  }
  const int32_t start = StrToInt(controls().text(frmSpotAnalyze::edtStartSpotStep)) - 1;
  if (start < 0) return;
  run_long("run_spot_2theta", [&] {
    r.AnalyzeState = kAnalyzeStep;
    run_spot_2theta(kAnalyzeStepwise, start, analysis);
  });
}

void retry_command() {
  AnalyzeRun& r = run_state();
  if (r.AnalyzeState != kAnalyzeStep) return;
  r.AnalyzeNext = true;
  r.AnalyzeRetry = true;
}

void abort_command() {
  AnalyzeRun& r = run_state();
  // Idle, an abort would leave the state at 3 and every run button dead.
  if (r.AnalyzeState != kAnalyzeStep && r.AnalyzeState != kAnalyzeAll) return;
  r.AnalyzeNext = true;
  r.AnalyzeState = kAnalyzeAbort;
}

void two_theta_calc_command(const Spot2ThetaAnalysis& analysis) {
  if (!image_loaded()) {
    log_line(" Spot2ThetaCalc():Image data does not exist");
    return;
  }
  const int32_t spot = StrToInt(controls().text(frmSpotAnalyze::edtIndex)) - 1;
  switch (run_state().AnalyzeState) {
    case kAnalyzeIdle:
      run_long("run_spot_2theta", [&] { run_spot_2theta(kAnalyzeOneSpot, spot, analysis); });
      break;
    case kAnalyzeStep:  // from inside the step wait: the spot, and the step run goes on
      run_spot_2theta(kAnalyzeOneSpot, spot, analysis);
      break;
    default:
      break;
  }
}

bool spot_analysis_close_query() {
  const int32_t s = run_state().AnalyzeState;
  if (s == kAnalyzeStep || s == kAnalyzeAll) {
    prompts().message("Now processing. Need to abort.");
    return false;
  }
  return true;
}

}  // namespace kestrin
