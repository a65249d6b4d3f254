// Reading the parameters' controls into the model, showing the model in them, and the
// script setters.
#include "commands/parameter_io.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

#include "base/convert.h"
#include "commands/parameter_controls.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

ParameterReads& reads() { return parameter_reads(); }
size_t row_of(const Parameter& p) { return row_index(p); }
uint64_t bit_of(const Parameter& p) { return uint64_t(1) << row_of(p); }
ControlName edit_of(const Parameter& p) { return control_of(p).control; }

// The text the row's control holds: the one last written or read there when no change came
// since, else the control's, which is then known until the next change.
std::string row_text(const Parameter& p) {
  ParameterReads& r = reads();
  std::string& text = r.text_of[row_of(p)];
  if (!(r.known & bit_of(p))) {
    text = controls().text(edit_of(p));
    r.known |= bit_of(p);
  }
  return text;
}

// Writes a text into the row's control and keeps it as the text the control holds.
void write_row_text(const Parameter& p, const std::string& text) {
  controls().set_text(edit_of(p), text);
  ParameterReads& r = reads();
  r.known |= bit_of(p);
  r.text_of[row_of(p)] = text;
}

// The value of a choice's checked radio button, -1 when none is.
int32_t checked_radio(const Parameter& p) {
  const ParameterControl& c = control_of(p);
  for (size_t i = 0; i < p.radios.size(); ++i)
    if (controls().checked(c.radios[i])) return p.radios[i].value;
  return -1;
}

// The value a choice's radios show: the first checked one of all but the last, else the
// last one's (so "none checked" reads as the last choice).
int32_t chosen_value(int32_t checked, const Parameter& p) { return checked < 0 ? p.radios.back().value : checked; }

void read_real(const Parameter& p, IntegrationParams& ip, int32_t image_height) {
  double v = StrToFloat(row_text(p));
  if (p.has(kFlippedWhenReversed)) {
    reads().image_height = image_height;
    reads().reversed = state().options.VerticalReverse;
    if (state().options.VerticalReverse) v = double(image_height) - 1.0 - v;
  }
  ip.*p.real = v;
  if (p.has(kRewrittenOnRead)) write_row_text(p, Format("%3.6f", {v}));
  if (p.has(kWrapsNegativeSector) && ip.sector_start < 0) {
    ip.sector_start += 360.0;
    ip.sector_end += 360.0;
  }
  if (p.has(kFormsSectorCount)) {
    if (v == 0.0) throw ConversionError("Floating point division by zero");
    const auto count = checked_int32(sector_count_of(v));
    if (!count) throw ConversionError("Input division angle error!");
    ip.sector_count = *count;
  }
}

// A graph window's range: read when it is a number, else left as it was. The draw that uses
// it checks it (a 2theta pattern does not use the pixel range), so a bad range stops no
// integration and no other draw.
void read_graph_range(const Parameter& p, IntegrationParams& ip) {
  const std::string text = row_text(p);
  if (p.kind == ParameterKind::kInteger) {
    if (const auto v = TryStrToInt(text)) ip.*p.integer = *v;
  } else if (p.kind == ParameterKind::kReal) {
    if (const auto v = TryStrToFloat(text)) ip.*p.real = *v;
  }
}

void read_choice(const Parameter& p, IntegrationParams& ip) {
  const int32_t checked = checked_radio(p);
  reads().checked_value[row_of(p)] = checked;
  ip.*p.integer = chosen_value(checked, p);
}

// Flat dispatch over the kind of control. A header lock's box is taken when it changes.
void read_row(const Parameter& p, IntegrationParams& ip, int32_t image_height) {
  if (p.has(kKeptWhenNotANumber)) return read_graph_range(p, ip);
  switch (p.kind) {
    case ParameterKind::kReal: read_real(p, ip, image_height); break;
    case ParameterKind::kInteger: ip.*p.integer = StrToInt(row_text(p)); break;
    case ParameterKind::kChoice: read_choice(p, ip); break;
    case ParameterKind::kIndex: ip.*p.integer = controls().item_index(edit_of(p)); break;
    case ParameterKind::kCheckBox: break;
  }
}

double field_value(const Parameter& p, const IntegrationParams& ip) {
  if (p.kind == ParameterKind::kReal) return ip.*p.real;
  return p.integer ? double(ip.*p.integer) : 0.0;
}

// Whether reading the row again could give its field another value than it holds: its
// control changed, its field was changed since it was read (a NaN always counts), the
// flip of a flipped row changed, or the sector start is negative at the sector end's turn.
bool needs_read(const Parameter& p, const IntegrationParams& ip, int32_t image_height) {
  const ParameterReads& r = reads();
  if ((r.changed & bit_of(p)) || !(field_value(p, ip) == r.taken[row_of(p)])) return true;
  if (p.has(kFlippedWhenReversed) && (image_height != r.image_height || state().options.VerticalReverse != r.reversed))
    return true;
  return p.has(kWrapsNegativeSector) && ip.sector_start < 0;
}


bool reads_back(const std::string& text, double value) {
  const std::optional<double> v = TryStrToFloat(text);
  return v && *v == value;
}

std::string shown_text(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  return p.kind == ParameterKind::kReal ? Format(p.shown_format, {ip.*p.real}) : Format(p.shown_format, {ip.*p.integer});
}

const Parameter& sector_count_row() {
  for (const Parameter& p : parameter_table())
    if (p.has(kFormsSectorCount)) return p;
  throw std::logic_error("the parameter table has no division angle");
}

std::optional<double> row_number(const Parameter& p) { return TryStrToFloat(row_text(p)); }
std::optional<double> division_angle() { return row_number(sector_count_row()); }

}  // namespace

ParameterReads& parameter_reads() {
  static ParameterReads r;
  return r;
}

void reset_parameter_reads() { parameter_reads() = ParameterReads(); }

void read_parameter(const Parameter& p, int32_t image_height) {
  IntegrationParams& ip = state().integration_params;
  if (!needs_read(p, ip, image_height)) return;
  // A wrapped sector end holds another value than its text gives: it is read again each time.
  const bool wraps = p.has(kWrapsNegativeSector) && ip.sector_start < 0;
  read_row(p, ip, image_height);
  ParameterReads& r = reads();
  r.changed &= ~bit_of(p);
  r.taken[row_of(p)] = wraps ? std::numeric_limits<double>::quiet_NaN() : field_value(p, ip);
}

void mark_row_changed(const Parameter& p) {
  ParameterReads& r = reads();
  r.changed |= bit_of(p);
  r.known &= ~bit_of(p);
  if (p.kind == ParameterKind::kCheckBox) set_header_lock(p, controls().checked(edit_of(p)));
}

int32_t checked_choice(const Parameter& p) {
  const ParameterReads& r = reads();
  if (r.changed & bit_of(p)) return checked_radio(p);
  return r.checked_value[row_of(p)];
}

int32_t read_parameters(int32_t image_height) {
  for (const Parameter* p : parameters_in_read_order()) read_parameter(*p, image_height);
  return 0;
}

int32_t check_sector_angles() {
  const auto s = row_number(*parameter_named("SectorAngleStart"));
  const auto e = row_number(*parameter_named("SectorAngleEnd"));
  if (!s || !e) return 1;
  const bool valid = *s < *e && *s <= 720 && *e <= 720 && *s >= -360 && *e >= -360 && *e - *s <= 360;
  return valid ? 0 : 1;
}

int32_t check_division_angle() {
  const auto a = division_angle();
  if (!a || !(*a > 0 && *a <= 360)) return 1;
  return sector_count_of(*a) <= kMaxSectorCount ? 0 : 1;
}

bool division_angle_below_limit() {
  const auto a = division_angle();
  return a && *a > 0 && *a <= 360 && sector_count_of(*a) > kMaxSectorCount;
}

void show_parameters_in_edits() {
  for (const Parameter& p : parameter_table())
    if (p.shown_format) write_row_text(p, shown_text(p));
}

void show_parameter_text(double IntegrationParams::*field, const std::string& text) {
  for (const Parameter& p : parameter_table())
    if (p.kind == ParameterKind::kReal && p.real == field) return write_row_text(p, text);
}

void show_parameter_text(int32_t IntegrationParams::*field, const std::string& text) {
  for (const Parameter& p : parameter_table())
    if (p.kind == ParameterKind::kInteger && p.integer == field) return write_row_text(p, text);
}

std::string parameter_edit_text(double value) {
  if (!std::isfinite(value)) return FloatToStr(value);
  std::string text = Format("%8.4f", {value});
  if (reads_back(text, value)) return text;
  text = FloatToStr(value);
  if (reads_back(text, value)) return text;
  return Format("%.17g", {value});
}

void set_real_parameter(const Parameter& p, double value) {
  state().integration_params.*p.real = value;
  write_row_text(p, parameter_edit_text(value));
}

void set_integer_parameter(const Parameter& p, int32_t value) {
  Controls& c = controls();
  if (p.kind == ParameterKind::kCheckBox) {
    if (value != 0 && value != 1) return;
    set_header_lock(p, value == 1);
    c.set_checked(edit_of(p), value == 1);
    return;
  }
  state().integration_params.*p.integer = value;
  switch (p.kind) {
    case ParameterKind::kInteger: write_row_text(p, Format("%d", {value})); break;
    case ParameterKind::kIndex: c.set_item_index(edit_of(p), value); break;
    case ParameterKind::kChoice:
      for (size_t i = 0; i < p.radios.size(); ++i)
        if (p.radios[i].value == value) c.set_checked(control_of(p).radios[i], true);
      break;
    default: break;
  }
}

void take_header_locks() {
  for (const Parameter& p : parameter_table())
    if (p.kind == ParameterKind::kCheckBox) set_header_lock(p, controls().checked(edit_of(p)));
}

}  // namespace kestrin
