// The one-dimensional pattern file forms (nax, xy, RIETAN, WPP, RAW, pil, csv, sectoring,
// NPD): choosing the form from the pattern's kind and the extension, and making the
// file's text (CR LF lines) from the pattern, its axis and the peak table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/state.h"

namespace kestrin {

enum class PatternForm { kNone, kNax, kXy, kPil, kCsvPixel, kNpd, kRietan, kWpp, kRaw, kCsvAngle, kSector };

// Which of the three refusals applies when no form suits.
enum class PatternKindClass { kNoPattern, kPixel, kAngle, kSector };
PatternKindClass pattern_kind_class(const NaxPattern& pattern);

// The form for the pattern's kind and the extension (compared without case, with its dot);
// kNone when the extension does not suit the kind.
PatternForm choose_pattern_form(const NaxPattern& pattern, std::string_view ext);
// The log banner of a form (" <<<<<   XY format   >>>>>"); empty for kNone.
std::string_view pattern_form_banner(PatternForm form);

// Everything a pattern file is made from.
struct PatternSource {
  const NaxPattern& pattern;
  const SectorPatterns& sectors;
  const PeakList& peaks;
  const IntegrationParams& params;
  std::string image_file_name;  // the NPD sample line names it (without folder)
};

// Point indexes [lo, hi) of a 2theta pattern that an angular window keeps: from the last
// point at or below theta1 to the last point at or below theta2.
struct AngleWindow {
  int32_t lo = 0;
  int32_t hi = 0;
};
AngleWindow angle_window(const NaxPattern& pattern, const IntegrationParams& params, double theta1, double theta2);

// The whole file. With a window, the RAW and NPD rows of a 2theta pattern are limited to
// it and the NPD form ends with an empty line instead of the peak block.
std::string pattern_file_text(PatternForm form, const PatternSource& source, const AngleWindow* window = nullptr);

// An intensity that a form's fixed-width fields cannot hold (nax five columns, RIETAN
// eight, WPP seven): written, it would run into its neighbour and the file would not read
// back. The first such point of the pattern; nothing when every value fits or the form
// has no fixed-width fields.
struct FieldOverflow {
  int32_t point;
  int32_t value;
  int width;
};
std::optional<FieldOverflow> find_field_overflow(PatternForm form, const NaxPattern& pattern);

// The block that ends every form: the peak count and one line per peak, or an empty line.
std::string peak_block_text(const PeakList& peaks);

}  // namespace kestrin
