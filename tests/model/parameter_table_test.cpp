// The parameter table: its columns stay consistent, the start values it gives the headless
// controls and a fresh state agree, and the script setters store and show their values.
#include <gtest/gtest.h>

#include <set>

#include "base/convert.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "ports/names/main_form_names.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

// The numbers of a column, from 1 (or from `first`), without gaps or repeats.
void expect_numbered(int Parameter::*column, int first, int last, const char* what) {
  std::set<int> seen;
  for (const Parameter& p : parameter_table()) {
    if (p.*column > 0) {
      EXPECT_TRUE(seen.insert(p.*column).second) << what << " " << p.*column;
    }
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(*seen.begin(), first) << what;
  EXPECT_EQ(*seen.rbegin(), last) << what;
  EXPECT_EQ(int(seen.size()), last - first + 1) << what;
}

TEST(ParameterTable, ColumnsAreConsistent) {
  expect_numbered(&Parameter::read_order, 1, 25, "read order");
  expect_numbered(&Parameter::file_line, 6, 17, "parameter-file line");
  std::set<int> settings;
  for (const SettingsEntry& e : settings_entries()) EXPECT_TRUE(settings.insert(e.line).second) << e.line;
  EXPECT_EQ(settings, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
  std::set<std::string_view> names;
  for (const Parameter& p : parameter_table()) {
    if (!p.script.empty()) {
      EXPECT_TRUE(names.insert(p.script).second) << p.script;
    }
    const bool real = p.kind == ParameterKind::kReal, box = p.kind == ParameterKind::kCheckBox;
    EXPECT_EQ(p.real != nullptr, real) << control_of(p).control;
    EXPECT_EQ(p.integer != nullptr, !real && !box) << control_of(p).control;
    EXPECT_EQ(p.kind == ParameterKind::kChoice, !p.radios.empty()) << control_of(p).control;
    EXPECT_EQ(p.file_line > 0, p.file_format != nullptr) << control_of(p).control;
    const ControlName control = p.kind == ParameterKind::kChoice ? control_of(p).radios.front() : control_of(p).control;
    EXPECT_EQ(parameter_of(control), &p) << control;
  }
}

using StartValues = StateTest;

TEST_F(StartValues, HeadlessControlsHoldThemAndGroupTheRadios) {
  Controls& c = controls();
  EXPECT_EQ(c.text(frmMain::edtCameraLength), "500");
  EXPECT_TRUE(c.checked(frmMain::rbtnSectoredDivision));
  EXPECT_TRUE(c.checked(frmMain::chkpsy));
  EXPECT_EQ(c.item_index(frmMain::cmbDirection), 4);
  c.set_checked(frmMain::rbtnSector, true);
  EXPECT_FALSE(c.checked(frmMain::rbtnSectoredDivision));
  EXPECT_TRUE(c.checked(frmMain::rbtnRect_Direction));  // other group unchanged
  c.set_checked(frmMain::rbtnSector, false);            // none checked is allowed
  EXPECT_FALSE(c.checked(frmMain::rbtnRectangle) || c.checked(frmMain::rbtnSector) || c.checked(frmMain::rbtnSectoredDivision));
}

// A fresh state holds what reading the start values gives, so the two cannot drift apart.
TEST_F(StartValues, AFreshStateHoldsWhatTheStartValuesRead) {
  const IntegrationParams fresh;
  read_parameters(0);
  const IntegrationParams& read = state().integration_params;
  for (const Parameter& p : parameter_table()) {
    if (p.real) {
      EXPECT_EQ(read.*p.real, fresh.*p.real) << control_of(p).control;
    }
    if (p.integer) {
      EXPECT_EQ(read.*p.integer, fresh.*p.integer) << p.script << " " << control_of(p).control;
    }
  }
  EXPECT_EQ(read.pixel_ratio(), fresh.pixel_ratio());
  EXPECT_EQ(read.sector_count, fresh.sector_count);
}

TEST(ParameterEditText, FixedFormWhenItKeepsTheValueElseTheShortestThatDoes) {
  const std::pair<double, const char*> cases[] = {
      {5.0, "  5.0000"},        {-12.25, "-12.2500"},   {1234.5678, "1234.5678"},
      {0.71073, "0.71073"},     {250.00001, "250.00001"}, {1e-7, "1E-7"},
      {0.1 + 0.2, "0.30000000000000004"},
  };
  for (auto [value, text] : cases) {
    EXPECT_EQ(parameter_edit_text(value), text) << value;
    EXPECT_EQ(StrToFloat(parameter_edit_text(value)), value) << value;
  }
}

using ScriptSetters = StateTest;

TEST_F(ScriptSetters, EverySetterStoresItsFieldAndShowsItInItsControl) {
  double value = 1.5;
  int reals = 0;
  for (const Parameter& p : parameter_table()) {
    if (p.kind != ParameterKind::kReal || p.script.empty()) continue;
    set_real_parameter(p, value);
    EXPECT_EQ(state().integration_params.*p.real, value) << p.script;
    EXPECT_EQ(StrToFloat(controls().text(control_of(p).control)), value) << p.script;
    value += 1.0;
    ++reals;
  }
  EXPECT_EQ(reals, 14);
  set_integer_parameter(*parameter_named("Band"), -3);
  EXPECT_EQ(state().integration_params.band_width, -3);
  EXPECT_EQ(controls().text(frmMain::edtBandWidth), "-3");
  set_integer_parameter(*parameter_named("LoCheck"), 0);
  EXPECT_FALSE(controls().checked(frmMain::chkLo));
  set_integer_parameter(*parameter_named("LoCheck"), 2);  // neither 0 nor 1: left as it is
  EXPECT_FALSE(controls().checked(frmMain::chkLo));
}

}  // namespace
}  // namespace kestrin::test
