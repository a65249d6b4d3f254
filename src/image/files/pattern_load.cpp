// The pattern load command: reads the file, applies what was read to the shared state and
// shows it.
#include <stdexcept>

#include "base/convert.h"
#include "base/file_budget.h"
#include "base/paths.h"
#include "image/files/pattern_files.h"
#include "image/files/pattern_reader.h"
#include "model/state.h"

namespace kestrin {

namespace {

// The largest pattern file read: far above any file of 36,001 points and 500 peaks.
constexpr std::uintmax_t kMaxPatternFileBytes = 64u << 20;

// Header values are kept whatever the outcome: a refused file leaves the ones it read.
void apply_header(const PatternReadResult& r, SharedState& st) {
  if (r.title) st.nax_pattern.PatternTitle = *r.title;
  IntegrationParams& a = st.integration_params;
  if (r.begin) a.two_theta_begin = *r.begin;
  if (r.end) a.two_theta_end = *r.end;
  if (r.step) a.two_theta_step = *r.step;
  if (r.wavelength) a.wavelength = *r.wavelength;
}

void apply_pattern(const PatternReadResult& r, SharedState& st) {
  NaxPattern& p = st.nax_pattern;
  std::copy(r.values.begin(), r.values.end(), p.values.begin());
  p.N = int32_t(r.values.size());
  p.maximum = r.maximum;
  p.set_kind(r.kind);
  st.peak_table = r.peaks;
  st.fit_tables.count = 0;
  IntegrationParams& a = st.integration_params;
  if (r.graph_angle_range) {
    a.graph_2theta_begin = r.graph_angle_range->first;
    a.graph_2theta_end = r.graph_angle_range->second;
  }
  a.graph_y_begin = 0;
  a.graph_y_end = r.graph_y_end;
}

}  // namespace

std::optional<std::vector<ShownParameter>> load_nax_proc(const std::string& file_name, int filter_index,
                                                         Report& report) {
  SharedState& st = state();
  st.dialog_slots.folder[kSlotPatternOpen] = folder_of(file_name);
  st.dialog_slots.filter_index[kSlotPatternOpen] = filter_index;
  if (file_name.empty()) {
    report.say(" load_nax_proc() : No file selected. ");
    return std::nullopt;
  }
  NaxPattern& pattern = st.nax_pattern;
  pattern.FilePath = file_name;
  const PatternFileKind kind = pattern_file_kind(file_name);
  report.say(pattern_reader_banner(kind));
  std::fill(pattern.values.begin(), pattern.values.end(), 0);
  pattern.N = 0;
  st.peak_table.count = 0;
  const std::string bytes = read_file_within(file_name, kMaxPatternFileBytes);
  const PatternReadResult r = read_pattern_text(kind, file_name, bytes, pattern.PatternTitle);
  for (const std::string& line : r.log) report.say(line);
  apply_header(r, st);
  if (r.outcome == PatternReadResult::Outcome::kFailed) throw ConversionError(r.error);
  if (r.outcome == PatternReadResult::Outcome::kRefused) return std::nullopt;
  apply_pattern(r, st);
  return r.edits;
}

}  // namespace kestrin
