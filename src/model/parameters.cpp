// Reading, showing and setting the parameters of the table.
#include "model/parameters.h"

#include <cmath>

#include "base/convert.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The value a choice's radios show: the first checked one of all but the last, else the
// last one's (so "none checked" reads as the last choice).
int32_t chosen_value(const Controls& c, const Parameter& p) {
  for (size_t i = 0; i + 1 < p.radios.size(); ++i)
    if (c.checked(p.radios[i].radio)) return p.radios[i].value;
  return p.radios.back().value;
}

void read_real(Controls& c, const Parameter& p, IntegrationParams& ip, int32_t image_height) {
  double v = StrToFloat(c.text(p.control));
  if (p.has(kFlippedWhenReversed) && state().options.VerticalReverse) v = double(image_height) - 1.0 - v;
  ip.*p.real = v;
  if (p.has(kRewrittenOnRead)) c.set_text(p.control, Format("%3.6f", {v}));
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
void read_graph_range(Controls& c, const Parameter& p, IntegrationParams& ip) {
  const std::string text = c.text(p.control);
  if (p.kind == ParameterKind::kInteger) {
    if (const auto v = TryStrToInt(text)) ip.*p.integer = *v;
  } else if (p.kind == ParameterKind::kReal) {
    if (const auto v = TryStrToFloat(text)) ip.*p.real = *v;
  }
}

// Flat dispatch over the kind of control.
void read_row(Controls& c, const Parameter& p, IntegrationParams& ip, int32_t image_height) {
  if (p.has(kKeptWhenNotANumber)) return read_graph_range(c, p, ip);
  switch (p.kind) {
    case ParameterKind::kReal: read_real(c, p, ip, image_height); break;
    case ParameterKind::kInteger: ip.*p.integer = StrToInt(c.text(p.control)); break;
    case ParameterKind::kChoice: ip.*p.integer = chosen_value(c, p); break;
    case ParameterKind::kIndex: ip.*p.integer = c.item_index(p.control); break;
    case ParameterKind::kCheckBox: break;
  }
}

bool reads_back(const std::string& text, double value) {
  const std::optional<double> v = TryStrToFloat(text);
  return v && *v == value;
}

std::string shown_text(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  return p.kind == ParameterKind::kReal ? Format(p.shown_format, {ip.*p.real}) : Format(p.shown_format, {ip.*p.integer});
}

std::optional<double> division_angle() { return TryStrToFloat(controls().text(frmMain::edtSectoredAngle)); }

}  // namespace

double sector_count_of(double division_angle) { return std::ceil(360.0 / division_angle); }

int32_t read_parameters(int32_t image_height) {
  IntegrationParams& ip = state().integration_params;
  Controls& c = controls();
  for (const Parameter* p : parameters_in_read_order()) read_row(c, *p, ip, image_height);
  return 0;
}

int32_t check_sector_angles() {
  const auto s = TryStrToFloat(controls().text(frmMain::edtSectorStartAngle));
  const auto e = TryStrToFloat(controls().text(frmMain::edtSectorEndAngle));
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

std::string smallest_division_angle_line() {
  return Format("The division angle must be at least %s degree (%d sectors at most).",
                {FloatToStr(360.0 / kMaxSectorCount), kMaxSectorCount});
}

void show_parameters_in_edits() {
  for (const Parameter& p : parameter_table())
    if (p.shown_format) controls().set_text(p.control, shown_text(p));
}

bool header_locked(double IntegrationParams::*field) {
  for (const Parameter& p : parameter_table())
    if (p.real == field && !p.header_lock.control.empty()) return controls().checked(p.header_lock);
  return false;
}

std::string parameter_edit_text(double value) {
  if (!std::isfinite(value)) return FloatToStr(value);
  std::string text = Format("%8.4f", {value});
  if (reads_back(text, value)) return text;
  text = FloatToStr(value);
  if (reads_back(text, value)) return text;
  return Format("%.17g", {value});
}

ParameterValue parameter_value(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  if (p.kind == ParameterKind::kReal) return ip.*p.real;
  return p.integer ? ip.*p.integer : 0;
}

void set_real_parameter(const Parameter& p, double value) {
  state().integration_params.*p.real = value;
  controls().set_text(p.control, parameter_edit_text(value));
}

void set_integer_parameter(const Parameter& p, int32_t value) {
  Controls& c = controls();
  if (p.kind == ParameterKind::kCheckBox) {
    if (value == 0 || value == 1) c.set_checked(p.control, value == 1);
    return;
  }
  state().integration_params.*p.integer = value;
  switch (p.kind) {
    case ParameterKind::kInteger: c.set_text(p.control, Format("%d", {value})); break;
    case ParameterKind::kIndex: c.set_item_index(p.control, value); break;
    case ParameterKind::kChoice:
      for (const RadioChoice& r : p.radios)
        if (r.value == value) c.set_checked(r.radio, true);
      break;
    default: break;
  }
}

void show_start_values(Controls& c) {
  for (const Parameter& p : parameter_table()) {
    switch (p.kind) {
      case ParameterKind::kReal:
      case ParameterKind::kInteger: c.set_text(p.control, p.start_text); break;
      case ParameterKind::kIndex: c.set_item_index(p.control, p.start_value); break;
      case ParameterKind::kCheckBox: c.set_checked(p.control, p.start_value == 1); break;
      case ParameterKind::kChoice:
        for (const RadioChoice& r : p.radios)
          if (r.value == p.start_value) c.set_checked(r.radio, true);
        break;
    }
  }
}

}  // namespace kestrin
