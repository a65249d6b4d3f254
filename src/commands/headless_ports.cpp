// Headless ports with the start values of the parameter table.
#include "commands/headless_ports.h"

#include <span>

#include "commands/file_commands.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "commands/window_start_values.h"
#include "model/state.h"
#include "ports/names/bg_form_names.h"
#include "ports/names/image_spread_names.h"
#include "ports/names/merge_image_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/names/option_form_names.h"
#include "ports/names/osc_ana_form_names.h"
#include "ports/names/spot_analyze_form_names.h"
#include "ports/names/script_form_names.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

namespace kestrin {

void prepare_headless_controls(HeadlessControls& c) {
  c.set_change_listener(mark_parameter_changed);
  for (const Parameter& p : parameter_table())
    if (!control_of(p).radios.empty()) c.add_radio_group(control_of(p).radios);
  for (std::span<const ControlName> group : window_radio_groups()) c.add_radio_group(group);
  show_start_values(c);
  show_window_start_values(c);
  c.set_text(frmNaxGraph::Edit1, kSamePeakStartText);  // the graph window's one edit outside the table
  // The tool windows' search settings, read by analyses that run without those windows.
  for (std::span<const ControlText> texts : {std::span<const ControlText>(frmSpot::start_texts),
                                             std::span<const ControlText>(frmOscAna::start_texts),
                                             std::span<const ControlText>(frmSpotAnalyze::start_texts),
                                             std::span<const ControlText>(frmBG::start_texts)})
    for (const ControlText& t : texts) c.set_text(t.name, t.text);
  c.add_radio_group(frmSpotAnalyze::fit_type_radios);
  c.add_radio_group(frmSpotAnalyze::angle_kind_radios);
  for (ControlName radio : frmSpotAnalyze::start_checked) c.set_checked(radio, true);
  c.add_radio_group(frmBG::bg_smoothing_radios);
  c.add_radio_group(frmBG::source_smoothing_radios);
  for (ControlName radio : frmBG::start_checked) c.set_checked(radio, true);
  // The script window's number cells start with their names, as a new edit does.
  for (ControlName cell : {frmScript::edtValue1, frmScript::edtValue2}) c.set_text(cell, cell.control);
  // The options, merge and spread windows' texts and choices that their commands read.
  for (std::span<const ControlText> texts :
       {std::span<const ControlText>(frmOption::start_texts), std::span<const ControlText>(frmMergeImage::start_texts)})
    for (const ControlText& t : texts) c.set_text(t.name, t.text);
  c.add_radio_group(frmOption::fit_radios);
  c.add_radio_group(frmImageSpread::mode_radios);
  c.set_checked(frmImageSpread::mode_radios[0], true);
}

void reset_headless_ports() {
  reset_ports();
  reset_parameter_reads();
  prepare_headless_controls(headless_controls());
}

}  // namespace kestrin
