// Reader of the one-dimensional pattern file forms.
#include "image/files/pattern_reader.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"

namespace kestrin {

namespace {

bool in_open_range(double v, double lo, double hi) { return v > lo && v < hi; }

// What a form reader hands on: whether the peak block follows, or a refusal.
enum class FormEnd { kPeaks, kNoPeaks, kRefused };

class Reader {
public:
  Reader(PatternReadResult& r, std::string_view name, std::string_view bytes, const std::string& previous_title)
      : r_(r), name_(name), bytes_(bytes), lines_(std::string(bytes)), title_(previous_title) {}

  FormEnd read(PatternFileKind kind) {
    switch (kind) {
      case PatternFileKind::kNax: return read_nax();
      case PatternFileKind::kXy: return read_index_list(false);
      case PatternFileKind::kPil: return read_index_list(true);
      case PatternFileKind::kRietan: return read_rietan();
      case PatternFileKind::kWpp: return read_wpp();
      case PatternFileKind::kRaw: return read_raw();
      case PatternFileKind::kCsv: return read_csv();
    }
    return FormEnd::kRefused;
  }

  // The block after the data: a count line (empty: no peaks) and that many peak lines.
  void read_peak_block() {
    r_.peaks.count = 0;
    const std::string head = lines_.next_line();
    if (head.empty()) return;
    const int32_t count = StrToInt(line_field(head, 1, 4));
    if (count < 0 || count > kMaxPeaks)
      throw ConversionError(Format("'%d' is not a valid peak count (0 to %d)", {count, kMaxPeaks}));
    for (int32_t k = 0; k < count; ++k) {
      const PeakLineValues v = parse_peak_line(lines_.next_line());
      const size_t j = size_t(k);
      r_.peaks.x[j] = v.x;
      r_.peaks.two_theta[j] = v.two_theta;
      r_.peaks.d[j] = v.d;
      r_.peaks.intensity[j] = v.intensity;
    }
    r_.peaks.count = count;
  }

private:
  void set_title(const std::string& t) { r_.title = title_ = t; }

  FormEnd refuse(const std::string& line) {
    r_.log.push_back(line);
    return FormEnd::kRefused;
  }

  // Up to `per_line` values per line from fields of `width`, until n are read. A value
  // that does not convert (a short file gives empty fields) ends the reading.
  bool read_fixed_values(int32_t n, int per_line, size_t width) {
    r_.values.assign(size_t(n), 0);
    int32_t i = 0;
    while (i < n) {
      const std::string line = lines_.next_line();
      for (int k = 0; k < per_line && i < n; ++k, ++i) {
        auto v = TryStrToInt(line_field(line, 1 + size_t(k) * width, width));
        if (!v) return false;
        r_.values[size_t(i)] = *v;
      }
    }
    return true;
  }

  FormEnd read_nax() {
    const int32_t n = StrToInt(lines_.next_line());
    if (n <= 10 || n >= kPatternSize) return refuse(" load_nax_proc() : format error." + name_);
    r_.log.push_back(Format(" Data number = %d", {n}));
    r_.values.assign(size_t(n), 0);
    for (int32_t i = 0; i < n;) {
      const std::string line = lines_.next_line();
      for (int k = 0; k < 16 && i < n; ++k, ++i)
        r_.values[size_t(i)] = StrToInt(line_field(line, 1 + size_t(k) * 5, 5));
    }
    set_title(lines_.next_line());
    r_.log.push_back(title_);
    r_.kind = kPixelHistogram;
    return FormEnd::kPeaks;
  }

  // Lines "i,I(i)" with i counting from 0; the first other line is the title.
  FormEnd read_index_list(bool pil) {
    FormEnd end = FormEnd::kPeaks;
    std::string line;
    r_.values.clear();
    while (!lines_.eof()) {
      line = lines_.next_line();
      const size_t comma = line.find(',');
      if (comma == std::string::npos) break;
      const auto index = TryStrToInt(std::string_view(line).substr(0, comma));
      if (!index) {
        end = FormEnd::kNoPeaks;
        break;
      }
      if (*index != int32_t(r_.values.size()) || r_.values.size() == size_t(kPatternSize)) break;
      const auto value = TryStrToInt(line_field(line, comma + 2, 100));
      if (!value) {
        end = FormEnd::kNoPeaks;
        break;
      }
      r_.values.push_back(*value);
    }
    set_title(line);
    if (pil) r_.log.push_back("  " + title_);
    r_.kind = kPixelHistogram;
    return end;
  }

  bool axis_ok() const {
    return in_open_range(*r_.begin, 0.00001, 180) && in_open_range(*r_.end, 0.00001, 180) &&
           in_open_range(*r_.step, 0.00001, 5);
  }
  std::string header_error() const { return " load_nax_proc() : " + name_ + " format error."; }

  void log_axis(const char* step_label) {
    r_.log.push_back(Format(" 2theta start     = %8.5f", {*r_.begin}));
    r_.log.push_back(Format(" 2theta end       = %8.5f", {*r_.end}));
    r_.log.push_back(Format("%s%8.5f", {step_label, *r_.step}));
  }

  FormEnd read_rietan() {
    const std::string head = lines_.next_line();
    const auto n = TryStrToInt(line_field(head, 1, 6));
    if (!n || *n <= 10 || *n >= kPatternSize) return refuse(header_error());
    const auto begin = TryStrToFloat(line_field(head, 7, 9));
    const auto step = TryStrToFloat(line_field(head, 16, 9));
    if (!begin || !step) return refuse(header_error());
    r_.begin = *begin;
    r_.step = *step;
    r_.end = *begin + double(*n - 1) * *step;
    if (!axis_ok()) return refuse(header_error());
    const bool complete = read_fixed_values(*n, 10, 8);
    if (complete) set_title(lines_.next_line());
    finish_fixed_angle_form();
    r_.edits.push_back({&IntegrationParams::graph_2theta_begin, nullptr, Format("%8.5f", {*r_.begin})});
    r_.edits.push_back({&IntegrationParams::graph_2theta_end, nullptr, Format("%8.5f", {*r_.end})});
    r_.edits.push_back({&IntegrationParams::two_theta_step, nullptr, Format("%8.5f", {*r_.step})});
    return complete ? FormEnd::kPeaks : FormEnd::kNoPeaks;
  }

  FormEnd read_wpp() {
    set_title(lines_.next_line());
    const std::string head = lines_.next_line();
    const auto wavelength = TryStrToFloat(line_field(head, 7, 8));
    const auto begin = TryStrToFloat(line_field(head, 31, 8));
    const auto end = TryStrToFloat(line_field(head, 39, 8));
    const auto step = TryStrToFloat(line_field(head, 47, 8));
    if (!wavelength || !begin || !end || !step) return refuse(header_error());
    r_.wavelength = *wavelength;
    r_.begin = *begin;
    r_.end = *end;
    r_.step = *step;
    if (!axis_ok()) return refuse(header_error());
    // The axis checks bound this below 2e7 in magnitude.
    const int32_t n = Trunc((*end - *begin) / *step + 1.000001);
    if (n <= 10 || n >= kPatternSize) return refuse(header_error());
    const bool complete = read_fixed_values(n, 10, 7);
    finish_fixed_angle_form();
    using Field = double IntegrationParams::*;
    for (const auto& [begin, end] : {std::pair<Field, Field>{&IntegrationParams::two_theta_begin, &IntegrationParams::two_theta_end},
                                     std::pair<Field, Field>{&IntegrationParams::graph_2theta_begin, &IntegrationParams::graph_2theta_end}}) {
      r_.edits.push_back({begin, nullptr, Format("%8.5f", {*r_.begin})});
      r_.edits.push_back({end, nullptr, Format("%8.5f", {*r_.end})});
    }
    r_.edits.push_back({&IntegrationParams::two_theta_step, nullptr, Format("%8.5f", {*r_.step})});
    return complete ? FormEnd::kPeaks : FormEnd::kNoPeaks;
  }

  void finish_fixed_angle_form() {
    r_.log.push_back(title_);
    log_axis(" 2theta step      = ");
    r_.kind = kAngleHistogram;
  }

  static double number_before_comma(const std::string& line) {
    const size_t comma = line.find(',');
    return StrToFloat(std::string_view(line).substr(0, comma == std::string::npos ? 0 : comma));
  }

  // "angle,intensity" lines; the first line without a comma is the title.
  FormEnd read_raw() {
    const double x1 = number_before_comma(lines_.next_line());
    const double x2 = number_before_comma(lines_.next_line());
    r_.begin = x1;
    r_.step = x2 - x1;
    if (!in_open_range(*r_.step, 0.00001, 5)) return refuse(" load_nax_proc() : format error. " + name_);
    lines_ = TextReader(std::string(bytes_));  // the data starts again at the first line
    FormEnd end = FormEnd::kPeaks;
    r_.values.clear();
    while (!lines_.eof()) {
      const std::string line = lines_.next_line();
      const size_t comma = line.find(',');
      if (comma == std::string::npos) {
        set_title(line);
        break;
      }
      const auto value = TryStrToInt(std::string_view(line).substr(comma + 1));
      if (!value) {
        end = FormEnd::kNoPeaks;
        break;
      }
      r_.values.push_back(*value);
      if (r_.values.size() == size_t(kPatternSize)) {
        r_.values.pop_back();  // the list holds at most 36000 points
        break;
      }
    }
    r_.end = x1 + double(int32_t(r_.values.size()) - 1) * *r_.step;
    r_.graph_angle_range = {*r_.begin, *r_.end};
    r_.log.push_back("  " + title_);
    log_axis(" 2theta stept     = ");
    r_.kind = kAngleHistogram;
    r_.edits.push_back({&IntegrationParams::two_theta_begin, nullptr, Format("%8.5f", {*r_.begin})});
    r_.edits.push_back({&IntegrationParams::two_theta_end, nullptr, Format("%8.5f", {*r_.end})});
    r_.edits.push_back({&IntegrationParams::two_theta_step, nullptr, Format("%8.5f", {*r_.step})});
    return end;
  }

  // An angle list when the first line has a '.' before its first comma, else an index list.
  FormEnd read_csv() {
    const std::string first = lines_.next_line();
    lines_ = TextReader(std::string(bytes_));
    const size_t comma = first.find(',');
    const bool angles = comma != std::string::npos && first.substr(0, comma).find('.') != std::string::npos;
    return angles ? read_raw() : read_index_list(false);
  }

  PatternReadResult& r_;
  std::string name_;
  std::string_view bytes_;
  TextReader lines_;
  std::string title_;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> blank_separated(std::string_view line, size_t limit) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size() && tokens.size() <= limit) {
    while (i < line.size() && is_blank(line[i])) ++i;
    if (i >= line.size()) break;
    const size_t start = i;
    while (i < line.size() && !is_blank(line[i])) ++i;
    tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

}  // namespace

PatternFileKind pattern_file_kind(std::string_view file_name) {
  struct Entry {
    const char* ext;
    PatternFileKind kind;
  };
  static const Entry entries[] = {{".t", PatternFileKind::kNax},    {".xy", PatternFileKind::kXy},
                                  {".rie", PatternFileKind::kRietan}, {".wpp", PatternFileKind::kWpp},
                                  {".raw", PatternFileKind::kRaw},  {".pil", PatternFileKind::kPil},
                                  {".csv", PatternFileKind::kCsv}};
  const std::string ext = extension_of(file_name);
  for (const Entry& e : entries)
    if (ext == e.ext) return e.kind;
  return PatternFileKind::kNax;
}

std::string_view pattern_reader_banner(PatternFileKind kind) {
  switch (kind) {
    case PatternFileKind::kNax: return " <<<<<   Nax format   >>>>>";
    case PatternFileKind::kXy: return " <<<<<   XY format   >>>>>";
    case PatternFileKind::kRietan: return " <<<<<   RIETAN format   >>>>>";
    case PatternFileKind::kWpp: return " <<<<<   WPP format   >>>>>";
    case PatternFileKind::kRaw: return " <<<<<   RAW format   >>>>>";
    case PatternFileKind::kPil: return " <<<<<   PIL format   >>>>>";
    case PatternFileKind::kCsv: return " <<<<<   CSV format   >>>>>";
  }
  return {};
}

PeakLineValues parse_peak_line(std::string_view line) {
  const auto tokens = blank_separated(line, 10);
  if (tokens.size() == 10)
    return {StrToFloat(tokens[1]), StrToFloat(tokens[3]), StrToFloat(tokens[4]), StrToFloat(tokens[5])};
  return {StrToFloat(line_field(line, 16, 11)), StrToFloat(line_field(line, 34, 10)),
          StrToFloat(line_field(line, 44, 10)), StrToFloat(line_field(line, 54, 11))};
}

PatternReadResult read_pattern_text(PatternFileKind kind, std::string_view file_name, std::string_view bytes,
                                    const std::string& previous_title) {
  PatternReadResult r;
  Reader reader(r, file_name, bytes, previous_title);
  try {
    const FormEnd end = reader.read(kind);
    if (end == FormEnd::kRefused) {
      r.outcome = PatternReadResult::Outcome::kRefused;
      r.values.clear();
      return r;
    }
    if (end == FormEnd::kPeaks) reader.read_peak_block();
  } catch (const ConversionError& e) {
    r.outcome = PatternReadResult::Outcome::kFailed;
    r.error = e.what();
    r.values.clear();
    r.peaks.count = 0;
    return r;
  }
  for (int32_t v : r.values) r.maximum = std::max(r.maximum, v);
  r.log.push_back(Format(" Number of points = %6d", {int32_t(r.values.size())}));
  r.log.push_back(Format(" Max intensity    = %6d", {r.maximum}));
  r.log.push_back(Format(" Number of peaks  = %6d", {r.peaks.count}));
  r.log.push_back(" Completed.");
  r.graph_y_end = saturate_int32(std::trunc(r.maximum / 0.9));
  r.edits.push_back({nullptr, &IntegrationParams::graph_y_begin, Format("%6d", {0})});
  r.edits.push_back({nullptr, &IntegrationParams::graph_y_end, Format("%6d", {r.graph_y_end})});
  return r;
}

}  // namespace kestrin
