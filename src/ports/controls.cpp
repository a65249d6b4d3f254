// Headless controls: plain values with the main window's start values.
#include "ports/controls.h"

namespace kestrin {

HeadlessControls::HeadlessControls() {
  add_radio_group({"rbtnRectangle", "rbtnSector", "rbtnSectoredDivision"});
  add_radio_group({"rbtnRect_Direction", "rbtnRect_Angle"});
  reset_to_start_values();
}

void HeadlessControls::reset_to_start_values() {
  // The main window's start texts.
  static const std::pair<const char*, const char*> start_texts[] = {
      {"edt2ThetaBegin", "1.0"},         {"edt2ThetaEnd", "32.00"},
      {"edt2ThetaStep", "0.020000"},     {"edtCameraLength", "500"},
      {"edtLambda", "1.0"},              {"edtPixelX", "0.1"},
      {"edtPixelY", "0.1"},              {"edtBeta", "324.000"},
      {"edtPhi", "0.00000"},             {"edtBandWidth", "100"},
      {"edtRectAngle", "0.000000"},      {"edtSectorStartAngle", "0.00000"},
      {"edtSectorEndAngle", "10.00000"}, {"edtSectoredAngle", "22.5"},
      {"edtCenterX0", "906"},            {"edtCenterY0", "1989"},
      {"frmNaxGraph.edtXBegin", "0"},    {"frmNaxGraph.edtXEnd", "100"},
      {"frmNaxGraph.edtYBegin", "0"},    {"frmNaxGraph.edtYEnd", "10000"},
      {"frmNaxGraph.edt2ThetaBegin", "0.000000"}, {"frmNaxGraph.edt2ThetaEnd", "0.000000"},
  };
  texts_.clear();
  for (auto& [k, v] : start_texts) texts_[k] = v;
  checks_.clear();
  checks_["rbtnSectoredDivision"] = true;
  checks_["rbtnRect_Direction"] = true;
  // The header-lock check boxes start checked: the loader keeps the user's values.
  for (const char* lock : {"chkLo", "chkwl", "chkpsx", "chkpsy"}) checks_[lock] = true;
  indexes_.clear();
  indexes_["cmbDirection"] = 4;
}

std::string HeadlessControls::text(std::string_view name) const {
  auto it = texts_.find(name);
  return it == texts_.end() ? std::string() : it->second;
}

void HeadlessControls::set_text(std::string_view name, std::string_view text) {
  texts_[std::string(name)] = std::string(text);
}

bool HeadlessControls::checked(std::string_view name) const {
  auto it = checks_.find(name);
  return it != checks_.end() && it->second;
}

void HeadlessControls::set_checked(std::string_view name, bool on) {
  if (on) {
    auto g = radio_group_.find(name);
    if (g != radio_group_.end())
      for (auto& [other, group] : radio_group_)
        if (group == g->second) checks_[other] = false;
  }
  checks_[std::string(name)] = on;
}

int HeadlessControls::item_index(std::string_view name) const {
  auto it = indexes_.find(name);
  return it == indexes_.end() ? -1 : it->second;
}

void HeadlessControls::set_item_index(std::string_view name, int index) {
  indexes_[std::string(name)] = index;
}

void HeadlessControls::add_radio_group(std::initializer_list<const char*> names) {
  ++groups_;
  for (const char* n : names) radio_group_[n] = groups_;
}

}  // namespace kestrin
