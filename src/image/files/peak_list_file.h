// The ".std" peak list (d-spacings of the peak table, written and read) and the fit list
// (results of the peak fits, written only): file text in, file text out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/state.h"

namespace kestrin {

// The peak list of the table: banner, count, header and one line per peak (CR LF).
std::string peak_list_text(const PeakList& peaks);

struct PeakListReadResult {
  enum class Outcome {
    kRead,         // every peak converted
    kReadError,    // no "=" in the count line, or a count outside 0..500: table untouched
    kBadSpacing,   // a d without a 2theta: `peaks` is converted up to that peak
    kFailed,       // a number did not convert: `message` is the conversion error
  };
  Outcome outcome = Outcome::kRead;
  std::string message;  // the log line, or the conversion error's text
  PeakList peaks;
};

// Reads a peak list; each peak gets x 0, intensity 0 and the 2theta of its d at the
// wavelength (angstrom). A d of 0 or less, of 1000 or more, or below half the wavelength
// stops the conversion with " Error in d(A) at peak number %3d.".
PeakListReadResult read_peak_list(std::string_view bytes, double wavelength);

// The fit list: banner, fit count, header and one line per fitted peak among the first
// `peak_count` records.
std::string fit_list_text(const FitTables& fits, int32_t peak_count);

}  // namespace kestrin
