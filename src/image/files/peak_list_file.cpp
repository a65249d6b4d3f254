// Text of the peak list and fit list files.
#include "image/files/peak_list_file.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/text_file.h"

namespace kestrin {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The peak lines of a list of `count` peaks into `peaks` (x, 2theta, d as written).
void read_peak_lines(TextReader& lines, int32_t count, PeakList& peaks) {
  for (int32_t k = 0; k < count; ++k) {
    const std::string line = lines.next_line();
    const size_t j = size_t(k);
    peaks.x[j] = StrToFloat(line_field(line, 4, 12));
    peaks.two_theta[j] = StrToFloat(line_field(line, 16, 12));
    peaks.d[j] = StrToFloat(line_field(line, 28, 12));
    peaks.intensity[j] = 0.0;
  }
  peaks.count = count;
}

// Replaces x and 2theta from d, peak by peak; the number (from 1) of the first peak
// without a 2theta, or 0.
int32_t convert_spacings(PeakList& peaks, double wavelength) {
  for (int32_t k = 0; k < peaks.count; ++k) {
    const size_t j = size_t(k);
    peaks.x[j] = 0.0;
    const double d = peaks.d[j];
    const double s = wavelength / (2.0 * d);
    if (d <= 0.0 || d >= 1000.0 || !(s >= -1.0 && s <= 1.0)) return k + 1;
    peaks.two_theta[j] = 2.0 * std::asin(s) * kDegreesPerRadian;
  }
  return 0;
}

}  // namespace

std::string peak_list_text(const PeakList& peaks) {
  const int32_t count = std::clamp<int32_t>(peaks.count, 0, kMaxPeaks);
  std::string out;
  put_line(out, "*****   Peak list  by Kestrin   *****");
  put_line(out, Format("Number of peaks = %3d", {count}));
  put_line(out, "Peak  x(pixels)  2theta(deg)     d(A) ");
  for (int32_t k = 0; k < count; ++k) {
    const size_t j = size_t(k);
    put_line(out, Format("%3d  %10.4f  %10.5f  %10.6f", {k + 1, peaks.x[j], peaks.two_theta[j], peaks.d[j]}));
  }
  return out;
}

PeakListReadResult read_peak_list(std::string_view bytes, double wavelength) {
  PeakListReadResult r;
  TextReader lines{std::string(bytes)};
  lines.next_line();
  const std::string count_line = lines.next_line();
  const size_t eq = count_line.find('=');
  try {
    const auto count = eq == std::string::npos ? std::nullopt : std::optional(StrToInt(count_line.substr(eq + 1)));
    if (!count || *count < 0 || *count > kMaxPeaks) {
      r.outcome = PeakListReadResult::Outcome::kReadError;
      r.message = " load_peak_proc() : read error. ";
      return r;
    }
    lines.next_line();
    read_peak_lines(lines, *count, r.peaks);
  } catch (const ConversionError& e) {
    r.outcome = PeakListReadResult::Outcome::kFailed;
    r.message = e.what();
    return r;
  }
  if (const int32_t bad = convert_spacings(r.peaks, wavelength)) {
    r.outcome = PeakListReadResult::Outcome::kBadSpacing;
    r.message = Format(" Error in d(A) at peak number %3d.", {bad});
  }
  return r;
}

std::string fit_list_text(const FitTables& fits, int32_t peak_count) {
  std::string out;
  put_line(out, "*****   fit list  by Kestrin   *****");
  put_line(out, Format("Number of fits = %3d", {fits.count}));
  put_line(out, "Peak No,x,Intensity,Base Int.,Fwhm,Base Tilt,Ini.x,Ini.Int.,Ini.Off,Ini.Fwhm,Ini.Base Tilt");
  const size_t n = std::min({size_t(std::max(peak_count, 0)), fits.fitted.size(), fits.initial.size()});
  for (size_t k = 0; k < n; ++k) {
    const FitRecord& f = fits.fitted[k];
    const FitRecord& i = fits.initial[k];
    if (!f.fitted) continue;
    put_line(out, Format("%3d,%10.4f,%10.5f,%10.2f,%10.4f,%10.4f,%10.4f,%10.5f,%10.2f,%10.4f,%10.4f",
                         {int(k + 1), f.position, f.amplitude, f.base, 2.0 * f.half_width, f.base_tilt, i.position,
                          i.amplitude, i.base, 2.0 * i.half_width, i.base_tilt}));
  }
  return out;
}

}  // namespace kestrin
