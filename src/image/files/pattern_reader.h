// Reading a one-dimensional pattern file's text back: the nax, xy, RIETAN, WPP, RAW, pil
// and csv forms and the peak block that ends them. The result says what was read, what to
// log and what to show; the caller applies it to the shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/state.h"

namespace kestrin {

enum class PatternFileKind { kNax, kXy, kRietan, kWpp, kRaw, kPil, kCsv };

// The form by the file's extension, compared with case (".t", ".xy", ...); any other
// extension, upper-case ones included, is a nax file.
PatternFileKind pattern_file_kind(std::string_view file_name);
std::string_view pattern_reader_banner(PatternFileKind kind);

// A text a parameter's control shows after a read: the parameter by its field (one of the two).
struct ShownParameter {
  double IntegrationParams::*real = nullptr;
  int32_t IntegrationParams::*integer = nullptr;
  std::string text;
};

struct PatternReadResult {
  enum class Outcome {
    kRead,     // a pattern (possibly cut short by a bad number) to show
    kRefused,  // a header check failed; its log line is the last of `log`
    kFailed,   // a number that must convert did not: `error` is the conversion error
  };
  Outcome outcome = Outcome::kRead;
  std::string error;
  std::vector<std::string> log;  // in order, after the banner
  std::vector<int32_t> values;   // the N points
  PatternKind kind = kPixelHistogram;
  // Values the form read before any refusal; each one, when set, replaces the current one.
  std::optional<std::string> title;
  std::optional<double> begin, end, step, wavelength;
  // For a read pattern: the graph's 2theta range (RAW and angle csv) and the texts its
  // parameters' edits show (the main window's 2theta step, the graph window's Y end).
  std::optional<std::pair<double, double>> graph_angle_range;
  std::vector<ShownParameter> edits;
  int32_t graph_y_end = 0;
  int32_t maximum = 0;
  PeakList peaks;
};

// Reads `bytes` as a file of the given form; `file_name` is only quoted in messages.
// Forms that may end without a title line log `previous_title` instead.
PatternReadResult read_pattern_text(PatternFileKind kind, std::string_view file_name, std::string_view bytes,
                                    const std::string& previous_title);

// The peak line's x, 2theta, d and intensity: from the ten blank-separated fields when the
// line has exactly ten, else from the columns the writer puts them in (a peak number of
// three digits shifts the columns, the fields stay). Throws ConversionError.
struct PeakLineValues {
  double x, two_theta, d, intensity;
};
PeakLineValues parse_peak_line(std::string_view line);

}  // namespace kestrin
