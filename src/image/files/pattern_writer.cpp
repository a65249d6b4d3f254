// Text of the one-dimensional pattern file forms.
#include "image/files/pattern_writer.h"

#include <algorithm>

#include "base/convert.h"
#include "base/text_file.h"
#include "base/paths.h"

namespace kestrin {

namespace {

constexpr int32_t kNpdRows = 4096;

// The point count, never beyond the array.
int32_t point_count(const NaxPattern& p) {
  return std::clamp<int32_t>(p.N, 0, int32_t(std::min<size_t>(p.values.size(), kPatternSize)));
}

double angle_at(const IntegrationParams& params, int32_t i) {
  return params.two_theta_begin + double(i) * params.two_theta_step;
}

// The fixed-width intensity fields of the nax, RIETAN and WPP forms: `per_line` values a
// line, each right-aligned in `width` columns by `format`. The readers cut the lines at
// these columns, so a value wider than its field would run into its neighbour.
struct FixedFields {
  int per_line;
  int width;
  const char* format;
};
constexpr FixedFields kNaxFields{16, 5, "%5d"};
constexpr FixedFields kRietanFields{10, 8, "%8d"};
constexpr FixedFields kWppFields{10, 7, "%7d"};

const FixedFields* fixed_fields(PatternForm form) {
  switch (form) {
    case PatternForm::kNax: return &kNaxFields;
    case PatternForm::kRietan: return &kRietanFields;
    case PatternForm::kWpp: return &kWppFields;
    default: return nullptr;
  }
}

bool fits_width(int32_t value, int width) {
  int64_t limit = 1;
  for (int k = 0; k < width; ++k) limit *= 10;
  return value < limit && -int64_t(value) < limit / 10;  // a minus sign takes a column
}

// Lines of `fields.per_line` values (the last line holds the rest).
void put_value_lines(std::string& out, const NaxPattern& p, const FixedFields& fields) {
  const int32_t n = point_count(p);
  for (int32_t start = 0; start < n; start += fields.per_line) {
    std::string line;
    for (int32_t i = start; i < std::min(n, start + fields.per_line); ++i)
      line += Format(fields.format, {p.values[size_t(i)]});
    put_line(out, line);
  }
}

void put_nax(std::string& out, const NaxPattern& p) {
  put_line(out, Format("%5d", {point_count(p)}));
  put_value_lines(out, p, kNaxFields);
  put_line(out, p.PatternTitle);
  for (int k = 0; k < 6; ++k) put_line(out, "");
}

void put_index_list(std::string& out, const NaxPattern& p) {
  for (int32_t i = 0; i < point_count(p); ++i) put_line(out, Format("%d,%d", {i, p.values[size_t(i)]}));
  put_line(out, p.PatternTitle);
}

void put_rietan(std::string& out, const PatternSource& s) {
  put_line(out, Format("%6d %8.4f %8.4f", {point_count(s.pattern), s.params.two_theta_begin, s.params.two_theta_step}));
  put_value_lines(out, s.pattern, kRietanFields);
  put_line(out, s.pattern.PatternTitle);
}

void put_wpp(std::string& out, const PatternSource& s) {
  const IntegrationParams& a = s.params;
  put_line(out, s.pattern.PatternTitle);
  put_line(out, Format("  0  6 %7.5f 0.00000 0.00000 %7.3f %7.3f %7.3f   1.00",
                       {a.wavelength, a.two_theta_begin, a.two_theta_end, a.two_theta_step}));
  put_value_lines(out, s.pattern, kWppFields);
}

void put_angle_list(std::string& out, const PatternSource& s, int32_t lo, int32_t hi) {
  for (int32_t i = lo; i < hi; ++i)
    put_line(out, Format("%3.6f,%d", {angle_at(s.params, i), s.pattern.values[size_t(i)]}));
  put_line(out, s.pattern.PatternTitle);
}

void put_sectors(std::string& out, const PatternSource& s) {
  const size_t count = size_t(s.sectors.walked());
  int32_t rows = 0;
  for (size_t k = 0; k < count; ++k) rows = std::max(rows, s.sectors.sectors[k].last_point);
  rows = std::min(rows, kPatternSize);
  const bool angles = s.pattern.has_kind(kFreeSectorAngle);
  for (int32_t i = 0; i < rows; ++i) {
    std::string line = angles ? Format("%3.6f", {angle_at(s.params, i)}) : Format("%d", {i});
    for (size_t k = 0; k < count; ++k) line += Format(",%d", {s.sectors.sectors[k].value(i)});
    put_line(out, line);
  }
  put_line(out, s.pattern.PatternTitle);
}

void put_npd_header(std::string& out, const PatternSource& s) {
  const double step = s.params.two_theta_step;
  put_line(out, "Record length,27");
  put_line(out, "Sample name," + file_name_of(s.image_file_name));
  for (const char* l : {"Operator name,", "Profile number,pressure marker", "Time,2007-03-14 14:28:21",
                        "Measurement mode,Real"})
    put_line(out, l);
  put_line(out, "EGC0," + Format("%e", {s.params.two_theta_begin + step}));
  put_line(out, "EGC1," + Format("%e", {step}));
  for (const char* l :
       {"EGC2,0.00000E+000", "2Theta(deg),7.9984", "Live time(sec),400.00", "Real time(sec),405.48",
        "Dead time(%),1.35000", "Temperature(K),1301.00", "Press load(ton),100.00", "Ring status,current(mA)=-98.99",
        "Beam intensity,0.00", "Counting rate,0.00",
        "Press conditions, X(mm)=0.150 Y(mm)=0.650 Z(mm)=6.200 PHI(deg)=0.000",
        "Incident slit conditions, V(mm)=0.050 H(mm)=0.300",
        "Receiving slit conditions, V(mm)=2.000 H(mm)=0.300 Collimator(mm)=0.000",
        "Heating conditions, V(V)=24.48 C(A)=6.17 P(W)=151.40 R(OHM)=3967.585", ",", ",", ",", ",", ",",
        "Data length, 4096", "Counting sec, 405.480"})
    put_line(out, l);
}

// NPD rows: the data rows [lo, hi), then zero rows from `pad_from` to 4095 when `pad`.
// Pixel patterns carry their point index in the angle column.
void put_npd_rows(std::string& out, const PatternSource& s, int32_t lo, int32_t hi, bool pad) {
  const bool pixel = s.pattern.has_kind(kPixelHistogram);
  auto column = [&](int32_t i) { return pixel ? double(i) : angle_at(s.params, i); };
  for (int32_t i = lo; i < hi; ++i)
    put_line(out, Format("%d,%4.6f,%d", {i + 1, column(i), s.pattern.values[size_t(i)]}));
  if (pad)
    for (int32_t i = std::max(hi, 0); i < kNpdRows; ++i) put_line(out, Format("%d,%4.6f,%d", {i + 1, column(i), 0}));
}

void put_npd(std::string& out, const PatternSource& s, const AngleWindow* window) {
  put_npd_header(out, s);
  const int32_t n = point_count(s.pattern);
  const bool pixel = s.pattern.has_kind(kPixelHistogram);
  if (window && !pixel) {
    put_npd_rows(out, s, window->lo, window->hi, window->hi - window->lo + 1 < kNpdRows);
  } else {
    put_npd_rows(out, s, 0, n, n < kNpdRows);
  }
  if (!pixel || window) put_line(out, "");
}

}  // namespace

PatternKindClass pattern_kind_class(const NaxPattern& p) {
  if (p.has_kind(kPixelHistogram)) return PatternKindClass::kPixel;
  if (p.has_kind(kAngleHistogram)) return PatternKindClass::kAngle;
  if (p.has_kind(kSector16Pixel) || p.has_kind(kFreeSectorPixel) || p.has_kind(kFreeSectorAngle))
    return PatternKindClass::kSector;
  return PatternKindClass::kNoPattern;
}

PatternForm choose_pattern_form(const NaxPattern& pattern, std::string_view ext) {
  struct Choice {
    PatternKindClass kind;
    const char* ext;
    PatternForm form;
  };
  static const Choice choices[] = {
      {PatternKindClass::kPixel, ".xy", PatternForm::kXy},         {PatternKindClass::kPixel, ".t", PatternForm::kNax},
      {PatternKindClass::kPixel, ".pil", PatternForm::kPil},       {PatternKindClass::kPixel, ".csv", PatternForm::kCsvPixel},
      {PatternKindClass::kPixel, ".npd", PatternForm::kNpd},       {PatternKindClass::kAngle, ".rie", PatternForm::kRietan},
      {PatternKindClass::kAngle, ".wpp", PatternForm::kWpp},       {PatternKindClass::kAngle, ".raw", PatternForm::kRaw},
      {PatternKindClass::kAngle, ".csv", PatternForm::kCsvAngle},  {PatternKindClass::kAngle, ".npd", PatternForm::kNpd},
      {PatternKindClass::kSector, ".sec", PatternForm::kSector},
  };
  const PatternKindClass kind = pattern_kind_class(pattern);
  for (const Choice& c : choices)
    if (c.kind == kind && iequals(ext, c.ext)) return c.form;
  return PatternForm::kNone;
}

std::string_view pattern_form_banner(PatternForm form) {
  switch (form) {
    case PatternForm::kXy: return " <<<<<   XY format   >>>>>";
    case PatternForm::kNax: return " <<<<<   NAX format   >>>>>";
    case PatternForm::kPil: return " <<<<<   PIL format   >>>>>";
    case PatternForm::kCsvPixel: return " <<<<<   CSV pixel format   >>>>>";
    case PatternForm::kNpd: return " <<<<<   NPD format   >>>>>";
    case PatternForm::kRietan: return " <<<<<   Rietan format   >>>>> ";
    case PatternForm::kWpp: return " <<<<<    Wppf format    >>>>>";
    case PatternForm::kRaw: return " <<<<<   Rigaku raw format   >>>>>";
    case PatternForm::kCsvAngle: return " <<<<<   CSV angle format   >>>>>";
    case PatternForm::kSector: return " <<<<<   Sector format   >>>>> ";
    case PatternForm::kNone: break;
  }
  return {};
}

AngleWindow angle_window(const NaxPattern& pattern, const IntegrationParams& params, double theta1, double theta2) {
  const int32_t n = point_count(pattern);
  AngleWindow w{0, n};
  for (int32_t i = 0; i < n; ++i)
    if (angle_at(params, i) > theta1) {
      w.lo = std::max(i - 1, 0);
      break;
    }
  for (int32_t i = 0; i < n; ++i)
    if (angle_at(params, i) > theta2) {
      w.hi = i;
      break;
    }
  return w;
}

std::optional<FieldOverflow> find_field_overflow(PatternForm form, const NaxPattern& pattern) {
  const FixedFields* fields = fixed_fields(form);
  if (!fields) return std::nullopt;
  const int32_t n = point_count(pattern);
  for (int32_t i = 0; i < n; ++i)
    if (!fits_width(pattern.values[size_t(i)], fields->width))
      return FieldOverflow{i, pattern.values[size_t(i)], fields->width};
  return std::nullopt;
}

std::string peak_block_text(const PeakList& peaks) {
  std::string out;
  const int32_t count = std::clamp<int32_t>(peaks.count, 0, kMaxPeaks);
  if (count == 0) {
    put_line(out, "");
    return out;
  }
  put_line(out, Format("%4d", {count}));
  for (int32_t k = 0; k < count; ++k) {
    const size_t j = size_t(k);
    put_line(out, Format("        %2d     %11.4f%7.4f%10.5f%10.6f%11.2f%9.2f%7.2f%7.3f%11.2f",
                         {k + 1, peaks.x[j], 0.0, peaks.two_theta[j], peaks.d[j], peaks.intensity[j], 0.0, 5.0, 0.0,
                          5.0 * peaks.intensity[j]}));
  }
  put_line(out, "0");
  return out;
}

std::string pattern_file_text(PatternForm form, const PatternSource& s, const AngleWindow* window) {
  std::string out;
  const NaxPattern& p = s.pattern;
  AngleWindow clamped;
  if (window) {  // never outside the points
    clamped.lo = std::clamp(window->lo, 0, point_count(p));
    clamped.hi = std::clamp(window->hi, clamped.lo, point_count(p));
    window = &clamped;
  }
  switch (form) {
    case PatternForm::kNax: put_nax(out, p); break;
    case PatternForm::kXy:
    case PatternForm::kPil:
    case PatternForm::kCsvPixel: put_index_list(out, p); break;
    case PatternForm::kRietan: put_rietan(out, s); break;
    case PatternForm::kWpp: put_wpp(out, s); break;
    case PatternForm::kRaw:
      if (window) put_angle_list(out, s, window->lo, window->hi);
      else put_angle_list(out, s, 0, point_count(p));
      break;
    case PatternForm::kCsvAngle: put_angle_list(out, s, 0, point_count(p)); break;
    case PatternForm::kSector: put_sectors(out, s); break;
    case PatternForm::kNpd:
      put_npd(out, s, window);
      if (window) {
        put_line(out, "");
        return out;
      }
      break;
    case PatternForm::kNone: break;
  }
  out += peak_block_text(s.peaks);
  return out;
}

}  // namespace kestrin
