// The settings file: positional reading into the shared state, and writing back.
#include "image/files/settings_file.h"

#include <filesystem>
#include <optional>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "model/parameters.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 1 << 20;  // a settings file is a few hundred bytes

// Reads lines by number (1-based); past the end every line is empty.
class Lines {
public:
  explicit Lines(const std::vector<std::string>& lines) : lines_(lines) {}
  const std::string& next() {
    static const std::string empty;
    return pos_ < lines_.size() ? lines_[pos_++] : (++pos_, empty);
  }

private:
  const std::vector<std::string>& lines_;
  size_t pos_ = 0;
};

// One line the parameter table owns (lines 1 to 24): what the controls are to show, and the
// value the model takes; false when a line that must convert does not.
bool read_parameter_line(const SettingsEntry& e, const std::string& text, std::vector<SettingsControlLine>& shown) {
  const Parameter& p = *e.row;
  IntegrationParams& ip = state().integration_params;
  switch (p.kind) {
    case ParameterKind::kReal: {
      shown.push_back({&e, text, {}});
      if (p.has(kSettingsTextOnly)) return true;
      const auto v = TryStrToFloat(text);
      if (v) ip.*p.real = *v;
      return v.has_value();
    }
    case ParameterKind::kInteger: {
      shown.push_back({&e, text, {}});
      const auto v = TryStrToInt(text);
      if (v) ip.*p.integer = *v;
      return v.has_value();
    }
    case ParameterKind::kIndex:
    case ParameterKind::kChoice:
    case ParameterKind::kCheckBox: {
      const auto v = TryStrToInt(text);
      shown.push_back({&e, text, v});
      if (v && p.kind == ParameterKind::kCheckBox) set_header_lock(p, *v == 1);
      return v.has_value();
    }
  }
  return false;
}

// Lines 1 to 40: the table's lines, then the dialog folders and filter indexes; false
// when a line does not convert.
bool read_parameter_and_folder_lines(Lines& in, std::vector<SettingsControlLine>& shown) {
  for (const SettingsEntry& e : settings_entries())
    if (!read_parameter_line(e, in.next(), shown)) return false;
  FileDialogSlots& slots = state().dialog_slots;
  for (auto& folder : slots.folder) folder = in.next();
  for (auto& index : slots.filter_index) {
    auto v = TryStrToInt(in.next());
    if (!v) return false;
    index = *v;
  }
  return true;
}

// Lines 41 to 54; false when a line without a fall-back value does not convert.
bool read_option_lines(Lines& in) {
  Options& o = state().options;
  in.next();  // the vertical reversal is never restored
  o.VerticalReverse = 0;
  o.CenterMarker = TryStrToInt(in.next()).value_or(1);
  o.HwhmPixel = TryStrToFloat(in.next()).value_or(3.0);
  o.HwhmTheta = TryStrToFloat(in.next()).value_or(0.1);
  o.DistanceSetting = TryStrToInt(in.next()).value_or(0);
  o.GradationReverse = in.next() == "0" ? 0 : 1;
  for (TColor& c : state().colours.colour) {
    auto v = TryStrToInt(in.next());
    if (!v) return false;
    c = TColor(*v);
  }
  auto clear_mask = TryStrToInt(in.next());
  if (!clear_mask) return false;
  o.ClearMask = *clear_mask;
  o.FitType = TryStrToInt(in.next()).value_or(0);
  return true;
}

std::string flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string settings_file_path() { return config_folder() + "Kestrin.kes"; }

std::vector<SettingsControlLine> read_settings_values(const std::vector<std::string>& lines) {
  std::vector<SettingsControlLine> shown;
  Lines in(lines);
  (void)(read_parameter_and_folder_lines(in, shown) && read_option_lines(in));
  return shown;
}

std::optional<std::vector<std::string>> settings_file_contents(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  std::string bytes;
  if (ec || size > kMaxSettingsBytes || !read_file_bytes(path, bytes)) return std::nullopt;
  return split_lines(bytes);
}

std::vector<std::string> settings_lines_of(std::vector<std::string> table_lines) {
  const SharedState& st = state();
  std::vector<std::string> out = std::move(table_lines);
  for (const auto& folder : st.dialog_slots.folder) out.push_back(folder);
  for (int32_t index : st.dialog_slots.filter_index) out.push_back(Format("%d", {index}));
  const Options& o = st.options;
  out.push_back(Format("%d", {int32_t(o.VerticalReverse)}));
  out.push_back(Format("%d", {o.CenterMarker}));
  out.push_back(Format("%8.4f", {o.HwhmPixel}));
  out.push_back(Format("%8.4f", {o.HwhmTheta}));
  out.push_back(Format("%d", {o.DistanceSetting}));
  out.push_back(flag(o.GradationReverse != 0));
  for (TColor c : st.colours.colour) out.push_back(Format("%d", {int32_t(c)}));
  out.push_back(Format("%d", {o.ClearMask}));
  out.push_back(Format("%d", {o.FitType}));
  return out;
}

bool write_settings_file(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
  if (path == settings_file_path()) ensure_config_folder();
  return write_text_file(path, lines, &error);
}

}  // namespace kestrin
