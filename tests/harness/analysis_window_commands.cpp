// Harness-only commands of the tool windows: SetText NAME TEXT and GetText NAME for any
// control ("frmOscAna.edtSearchDistance"), LoadSpotList FILE, SaveSpotAnalysisList FILE,
// SpotBgCalc, Spot2ThetaCalc N, LoadSpotReference FILE and OscAnaBatch OUTDIR SUFFIX FILE...
// (Execute without the folder picker). GetText logs the text.
#include <set>
#include <stdexcept>
#include <vector>

#include "analysis/spot_tables.h"
#include "commands/osc_ana_commands.h"
#include "commands/spot_analysis_commands.h"
#include "harness/harness.h"
#include "ports/ports.h"

namespace kestrin::harness {

namespace {

// A control named on the command line as "form.control"; the names live as long as the
// program, as the constants of the window headers do.
ControlName control_arg(const std::string& text) {
  static std::set<std::string, std::less<>> names;
  const size_t dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == text.size())
    throw std::runtime_error("a control is named form.control: " + text);
  const std::string& form = *names.insert(text.substr(0, dot)).first;
  const std::string& control = *names.insert(text.substr(dot + 1)).first;
  return {form, control};
}

MethodResult set_text(const MethodArgs& a) {
  controls().set_text(control_arg(a.text(0)), a.count() > 1 ? a.text(1) : std::string());
  return {};
}

MethodResult get_text(const MethodArgs& a) {
  log_line(controls().text(control_arg(a.text(0))));
  return {};
}

MethodResult load_spot_list(const MethodArgs& a) {
  load_spot_analysis_list(a.text(0));
  return state().spot_list.SpotCount;
}

MethodResult save_spot_analysis_list(const MethodArgs& a) {
  write_spot_analysis_list(a.text(0));
  return {};
}

MethodResult spot_bg_calc(const MethodArgs&) {
  spot_bg_calculate_command();
  return {};
}

MethodResult spot_2theta_calc(const MethodArgs& a) {
  run_spot_2theta(kAnalyzeOneSpot, a.integer(0) - 1);
  return {};
}

MethodResult load_reference(const MethodArgs& a) {
  load_spot_reference_list(a.text(0));
  return int32_t(state().spot_reference.size());
}

MethodResult osc_batch(const MethodArgs& a) {
  std::vector<std::string> files;
  for (size_t i = 2; i < a.count(); ++i) files.push_back(a.text(i));
  run_osc_ana_batch(files, a.text(0), a.text(1));
  return {};
}

}  // namespace

std::span<const KestrinMethod> analysis_window_commands() {
  static const std::vector<KestrinMethod> commands = {
      {"SetText", 1, &set_text},
      {"GetText", 1, &get_text},
      {"LoadSpotList", 1, &load_spot_list},
      {"SaveSpotAnalysisList", 1, &save_spot_analysis_list},
      {"SpotBgCalc", 0, &spot_bg_calc},
      {"Spot2ThetaCalc", 1, &spot_2theta_calc},
      {"LoadSpotReference", 1, &load_reference},
      {"OscAnaBatch", 2, &osc_batch},
  };
  return commands;
}

}  // namespace kestrin::harness
