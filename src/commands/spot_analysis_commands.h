// What the spot analysis window's buttons do: loading and saving its list, the background
// of every spot, and the 2theta runs over all spots, step by step or for one spot, with
// their state (AnalyzeState, AnalyzeNext, AnalyzeRetry), status texts and log lines.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kestrin {

inline constexpr const char* kDiscardSpotsQuestion = "現在のスポットサーチデータは破棄されます。よろしいですか？";
inline constexpr const char* kSpotListSaveFilter = "Spot List (*.csv)|*.csv";

// Load List: the question above (No ends), the oscillation window's open dialog for spot
// lists, then load_spot_analysis_list.
void spot_analysis_load_command();
// load_spot_csv, then the grid refilled (also when the file raised part-way); the image's
// spot labels show h, k and l when the list has them.
void load_spot_analysis_list(const std::string& file_name);
// Save List: the result save dialog, then write_spot_analysis_list, or
// " save_spot_proc() : cancel " in the log.
void spot_analysis_save_command();

// B.G. Calculate: spot_bg_calc for every spot with the window's four settings, the records
// and grid columns 4 to 7, 15 and 16 written. Without an image only the log line.
void spot_bg_calculate_command();

// The settings of one 2theta analysis.
struct Spot2ThetaSettings {
  double half_width = 2;  // the profile window is 2theta0 -+ half_width
  int32_t band = 12;      // pixels
  double allowance = 0.05;
  int32_t fit_type = 1;      // 0 Lorentz, 1 Gaussian
  int32_t profile_kind = 0;  // 0 angle intensity, 1 fine
};
// The 2theta analysis of spot `spot` (0-based) with these settings.
using Spot2ThetaAnalysis = std::function<void(int32_t spot, const Spot2ThetaSettings&)>;

enum Spot2ThetaMode : int32_t { kAnalyzeAllSpots = 0, kAnalyzeStepwise = 1, kAnalyzeOneSpot = 2 };
// The run over the spots from `start`: all of them, one at a time waiting for Next (Retry
// does the spot again with the settings read again, Abort ends), or the one spot. The
// program ending during a run or a wait ends it as Abort does. `analysis` defaults to
// analyze_spot_2theta.
void run_spot_2theta(int32_t mode, int32_t start, const Spot2ThetaAnalysis& analysis = {});

// The buttons. Calc. All and Start Step start a run only while none is active; Start Step
// then means Next. 2Theta Calc runs one spot while idle or during a step wait. Abort acts
// only while a run is active.
void calc_all_command(const Spot2ThetaAnalysis& analysis = {});
void calc_step_command(const Spot2ThetaAnalysis& analysis = {});
void retry_command();
void abort_command();
void two_theta_calc_command(const Spot2ThetaAnalysis& analysis = {});
// The window's close: refused with "Now processing. Need to abort." while a run is
// active; true when the window may hide.
bool spot_analysis_close_query();

}  // namespace kestrin
