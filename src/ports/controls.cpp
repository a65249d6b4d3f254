// Headless controls: plain values with the main window's start values.
#include "ports/controls.h"

#include <ostream>

#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin {

namespace {

std::string key_of(const ControlName& name) { return to_string(name); }

}  // namespace

std::string to_string(const ControlName& name) {
  std::string s(name.form);
  s += '.';
  s += name.control;
  return s;
}

std::ostream& operator<<(std::ostream& out, const ControlName& name) { return out << to_string(name); }

HeadlessControls::HeadlessControls() {
  using namespace frmMain;
  add_radio_group({rbtnRectangle, rbtnSector, rbtnSectoredDivision});
  add_radio_group({rbtnRect_Direction, rbtnRect_Angle});
  reset_to_start_values();
}

void HeadlessControls::reset_to_start_values() {
  // The main window's start texts.
  static const std::pair<ControlName, const char*> start_texts[] = {
      {frmMain::edt2ThetaBegin, "1.0"},         {frmMain::edt2ThetaEnd, "32.00"},
      {frmMain::edt2ThetaStep, "0.020000"},     {frmMain::edtCameraLength, "500"},
      {frmMain::edtLambda, "1.0"},              {frmMain::edtPixelX, "0.1"},
      {frmMain::edtPixelY, "0.1"},              {frmMain::edtBeta, "324.000"},
      {frmMain::edtPhi, "0.00000"},             {frmMain::edtBandWidth, "100"},
      {frmMain::edtRectAngle, "0.000000"},      {frmMain::edtSectorStartAngle, "0.00000"},
      {frmMain::edtSectorEndAngle, "10.00000"}, {frmMain::edtSectoredAngle, "22.5"},
      {frmMain::edtCenterX0, "906"},            {frmMain::edtCenterY0, "1989"},
      {frmNaxGraph::edtXBegin, "0"},            {frmNaxGraph::edtXEnd, "100"},
      {frmNaxGraph::edtYBegin, "0"},            {frmNaxGraph::edtYEnd, "10000"},
      {frmNaxGraph::edt2ThetaBegin, "0.000000"}, {frmNaxGraph::edt2ThetaEnd, "0.000000"},
  };
  texts_.clear();
  for (auto& [k, v] : start_texts) texts_[key_of(k)] = v;
  checks_.clear();
  checks_[key_of(frmMain::rbtnSectoredDivision)] = true;
  checks_[key_of(frmMain::rbtnRect_Direction)] = true;
  // The header-lock check boxes start checked: the loader keeps the user's values.
  for (const ControlName& lock : {frmMain::chkLo, frmMain::chkwl, frmMain::chkpsx, frmMain::chkpsy})
    checks_[key_of(lock)] = true;
  indexes_.clear();
  indexes_[key_of(frmMain::cmbDirection)] = 4;
}

std::string HeadlessControls::text(ControlName name) const {
  auto it = texts_.find(key_of(name));
  return it == texts_.end() ? std::string() : it->second;
}

void HeadlessControls::set_text(ControlName name, std::string_view text) { texts_[key_of(name)] = std::string(text); }

bool HeadlessControls::checked(ControlName name) const {
  auto it = checks_.find(key_of(name));
  return it != checks_.end() && it->second;
}

void HeadlessControls::set_checked(ControlName name, bool on) {
  const std::string key = key_of(name);
  if (on) {
    auto g = radio_group_.find(key);
    if (g != radio_group_.end())
      for (auto& [other, group] : radio_group_)
        if (group == g->second) checks_[other] = false;
  }
  checks_[key] = on;
}

int HeadlessControls::item_index(ControlName name) const {
  auto it = indexes_.find(key_of(name));
  return it == indexes_.end() ? -1 : it->second;
}

void HeadlessControls::set_item_index(ControlName name, int index) { indexes_[key_of(name)] = index; }

void HeadlessControls::add_radio_group(std::initializer_list<ControlName> names) {
  ++groups_;
  for (const ControlName& n : names) radio_group_[key_of(n)] = groups_;
}

}  // namespace kestrin
