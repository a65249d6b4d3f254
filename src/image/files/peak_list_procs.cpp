// The peak list and fit list routines between the chosen file and the tables.
#include "image/files/peak_list_procs.h"

#include <stdexcept>

#include "base/convert.h"
#include "base/file_budget.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/files/peak_list_file.h"
#include "model/state.h"

namespace kestrin {

namespace {

// A list of 500 peaks is about 20 kB; the budget leaves room for long lines.
constexpr std::uintmax_t kMaxPeakListBytes = 16u << 20;

void write_or_throw(const std::string& name, const std::string& text) {
  std::string error;
  if (!write_file_bytes(name, text, &error)) throw std::runtime_error("I/O error writing " + name + ": " + error);
}

}  // namespace

std::optional<std::string> peak_list_bytes(const std::string& name, Report& report) {
  if (name.empty()) {
    report.say(" load_peak_proc() : No file selected. ");
    return std::nullopt;
  }
  const std::string ext = extension_of(name);
  if (ext != ".std" && ext != ".STD") {
    report.say(" load_peak_proc() : " + name + " is not a peak file.. ");
    return std::nullopt;
  }
  return read_file_within(name, kMaxPeakListBytes);
}

bool load_peak_list(const std::string& bytes, Report& report) {
  SharedState& st = state();
  PeakListReadResult r = read_peak_list(bytes, st.integration_params.wavelength);
  using Outcome = PeakListReadResult::Outcome;
  switch (r.outcome) {
    case Outcome::kFailed: throw ConversionError(r.message);
    case Outcome::kReadError: report.say(r.message); return false;
    case Outcome::kBadSpacing:
      st.peak_table = std::move(r.peaks);
      report.say(r.message);
      return false;
    case Outcome::kRead: st.peak_table = std::move(r.peaks); return true;
  }
  return false;
}

void save_peak_proc(const std::string& name, Report& report) {
  if (name.empty()) {
    report.say(" save_peak_proc() : No file selected. ");
    return;
  }
  if (to_lower_ascii(extension_of(name)) != ".std") {
    report.say(" save_peak_proc() : " + name + " is not a peak file.. ");
    return;
  }
  write_or_throw(name, peak_list_text(state().peak_table));
}

void save_fit_proc(const std::string& name, Report& report) {
  if (name.empty()) {
    report.say(" save_fit_proc() : No file selected. ");
    return;
  }
  const std::string ext = to_lower_ascii(extension_of(name));
  if (ext != ".csv" && ext != ".fit") {
    report.say(" save_fit_proc() : " + name + " is not a fit file.. ");
    return;
  }
  const SharedState& st = state();
  write_or_throw(name, fit_list_text(st.fit_tables, st.peak_table.count));
}

}  // namespace kestrin
