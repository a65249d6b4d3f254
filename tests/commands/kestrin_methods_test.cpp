// The Kestrin object's method table: the registration order, the argument rule, the bounds
// of the reading methods, the number cells, the pattern beside the image, the switches, the
// commands the choice setters run, and every parameter of the parameter table set by its
// script setter, read by its getter and carried through the settings file and the
// parameter file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/ring_mask.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "commands/kestrin_methods.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "commands/settings_commands.h"
#include "commands/wiring.h"
#include "image/files/param_file.h"
#include "image/image_store.h"
#include "ports/names/main_form_names.h"
#include "ports/names/option_form_names.h"
#include "ports/names/script_form_names.h"
#include "support/recording_views.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// Arguments given as numbers.
class Numbers : public MethodArgs {
public:
  Numbers(std::initializer_list<double> v) : v_(v) {}
  explicit Numbers(std::vector<double> v) : v_(std::move(v)) {}
  size_t count() const override { return v_.size(); }
  double number(size_t i) const override { return v_.at(i); }
  int32_t integer(size_t i) const override { return int32_t(std::lround(v_.at(i))); }
  std::string text(size_t i) const override { return FloatToStr(v_.at(i)); }

private:
  std::vector<double> v_;
};

// Arguments given as texts.
class Texts : public MethodArgs {
public:
  Texts(std::initializer_list<std::string> v) : v_(v) {}
  size_t count() const override { return v_.size(); }
  double number(size_t i) const override { return StrToFloat(v_.at(i)); }
  int32_t integer(size_t i) const override { return StrToInt(v_.at(i)); }
  std::string text(size_t i) const override { return v_.at(i); }

private:
  std::vector<std::string> v_;
};

MethodResult call(const std::string& name, std::initializer_list<double> args = {}) {
  const KestrinMethod* m = find_kestrin_method(name);
  EXPECT_NE(m, nullptr) << name;
  return m ? call_kestrin_method(*m, Numbers(args)) : MethodResult{};
}

MethodResult call_text(const std::string& name, std::initializer_list<std::string> args) {
  const KestrinMethod* m = find_kestrin_method(name);
  EXPECT_NE(m, nullptr) << name;
  return m ? call_kestrin_method(*m, Texts(args)) : MethodResult{};
}

// The script object's 76 methods in its registration order; the Get/Set pairs follow the
// parameter table.
TEST(KestrinMethods, TheSeventySixMethodsInRegistrationOrder) {
  std::vector<std::string> expected = {"LoadImageFile", "LoadParamFile", "LoadMaskFile", "SaveParamFile",
                                       "SaveMaskFile", "LoadNaxFile", "SaveNaxFile"};
  for (const char* p : {"2ThetaBegin", "2ThetaEnd", "2ThetaStep", "Lo", "WaveLength", "PixelSizeX", "PixelSizeY",
                        "Beta", "Phi", "Band", "IntegrationMode", "RectAngleMode", "RectDirection", "RectAngle",
                        "SectorAngleStart", "SectorAngleEnd", "CenterX", "CenterY"}) {
    expected.push_back(std::string("Get") + p);
    expected.push_back(std::string("Set") + p);
  }
  for (const char* m :
       {"AngleIntensity", "PixelIntensity", "FineAngleIntensity", "FindCenter", "FindSpot", "Sectoring", "PeakSearch",
        "PeakFitting", "CalcTilt", "PrintImage", "PrintNax", "AutoAnalysis", "GetPeakData", "GetNaxIntensity",
        "GetPixelIntensity", "GetMaxPeakNumber", "SetLoCheck", "SetWaveLengthCheck", "SetPixelSizeXCheck",
        "SetPixelSizeYCheck", "SetWindowShow", "SaveNaxFile2", "SaveNaxFile3", "LoadImageFileSelect", "Test",
        "GetValue1", "SetValue1", "GetValue2", "SetValue2", "LineFit", "ClearMask", "GetClearMask", "SetClearMask"})
    expected.push_back(m);
  ASSERT_EQ(expected.size(), 76u);
  std::vector<std::string> names;
  for (const KestrinMethod& m : kestrin_methods()) names.push_back(m.name);
  EXPECT_EQ(names, expected);
}

using KestrinMethodCalls = StateTest;

TEST_F(KestrinMethodCalls, TooFewArgumentsRunNothing) {
  state().integration_params.Lo = 123;
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("SetLo")));
  EXPECT_EQ(state().integration_params.Lo, 123);
  EXPECT_EQ(std::get<double>(call("GetLo")), 123);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPeakData", {0})));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPeakData", {0, 4})));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("Test", {2, 1, 2, 3})));     // 1 + 2n = 5 needed
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("LineFit", {2147483647, 1, 2})));
  EXPECT_TRUE(log().empty());
}

// Indexes and coordinates outside the data give no result and read nothing, with and
// without an image.
TEST_F(KestrinMethodCalls, OutsideTheDataThereIsNoResult) {
  const std::pair<const char*, std::vector<double>> outside[] = {
      {"GetPeakData", {501, 0}}, {"GetPeakData", {-1, 1}}, {"GetNaxIntensity", {36001}},
      {"GetNaxIntensity", {-1}}, {"GetPixelIntensity", {0, 0}}};
  for (const auto& [name, args] : outside) {
    const KestrinMethod* m = find_kestrin_method(name);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(call_kestrin_method(*m, Numbers(args)))) << name;
  }
  load_into_current_image(std::vector<uint16_t>(12, 7), 4, 3);
  EXPECT_EQ(std::get<double>(call("GetPixelIntensity", {3, 2})), 7);
  for (auto xy : {std::pair{4, 0}, std::pair{0, 3}, std::pair{-1, 0}, std::pair{0, -1}})
    EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPixelIntensity", {double(xy.first), double(xy.second)})));
  current_image().image_codes.resize(11);  // codes that do not cover the size
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPixelIntensity", {0, 0})));
  EXPECT_EQ(std::get<double>(call("GetPeakData", {500, 1})), 0);
  EXPECT_EQ(std::get<double>(call("GetNaxIntensity", {36000})), 0);
}

// Test sums the 2n numbers; LineFit writes intercept and slope into the script window's
// cells, or gives 1 when the points fix no line.
TEST_F(KestrinMethodCalls, TestAndLineFitReadOnlyWhatTheyAreGiven) {
  EXPECT_EQ(std::get<double>(call("Test", {2, 1, 2, 3, 4.5})), 10.5);
  EXPECT_EQ(std::get<double>(call("Test", {0})), 0);
  EXPECT_EQ(std::get<double>(call("Test", {-5})), 0);
  EXPECT_EQ(std::get<int32_t>(call("LineFit", {1, 2, 3})), 1);
  EXPECT_EQ(std::get<int32_t>(call("LineFit", {0})), 1);
  EXPECT_EQ(controls().text(frmScript::edtValue1), "edtValue1");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("LineFit", {2, 0, 1, 1, 3})));
  EXPECT_EQ(controls().text(frmScript::edtValue1), "1");
  EXPECT_EQ(controls().text(frmScript::edtValue2), "2");
  EXPECT_EQ(std::get<double>(call("GetValue2")), 2);
  call("SetValue1", {0.1 + 0.2});
  EXPECT_EQ(controls().text(frmScript::edtValue1), "0.3");
  EXPECT_EQ(std::get<double>(call("GetValue1")), 0.3);
  controls().set_text(frmScript::edtValue2, "edtValue2");
  try {
    call("GetValue2");
    ADD_FAILURE() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'edtValue2' is not a valid floating point value");
  }
}

// The pattern beside the image: refused extensions do nothing, a numbered name has three
// blank-padded columns, and without an image nothing is written anywhere.
TEST_F(KestrinMethodCalls, SaveBesideTheImageOnlyWithAnImage) {
  TempDir dir;
  state().nax_pattern.set_kind(kPixelHistogram);
  state().nax_pattern.N = 3;
  state().nax_pattern.values[0] = 120, state().nax_pattern.values[1] = -35, state().nax_pattern.values[2] = 7;
  call_text("SaveNaxFile2", {"csv"});
  call_text("SaveNaxFile3", {"csv", "7"});
  EXPECT_EQ(log(), (std::vector<std::string>{" SaveNaxFile2() : Image data does not exist.",
                                              " SaveNaxFile3() : Image data does not exist."}));
  load_into_current_image(std::vector<uint16_t>(12, 7), 4, 3);
  current_image().ImageFolder = dir.path();
  the_log().clear_history();
  for (const char* ext : {"", "tif", "img", "stl", "osc", "ccd"}) call_text("SaveNaxFile2", {ext});
  EXPECT_TRUE(log().empty());
  call_text("SaveNaxFile3", {"csv", "5"});
  call_text("SaveNaxFile3", {"csv", "1000"});
  EXPECT_TRUE(file_exists(dir.file("ring_  5.csv")));
  EXPECT_TRUE(file_exists(dir.file("ring_1000.csv")));
  call_text("SaveNaxFile", {dir.file("by_hand.csv")});  // the same pattern by its file name
  std::string numbered, by_hand;
  ASSERT_TRUE(read_file_bytes(dir.file("ring_  5.csv"), numbered));
  ASSERT_TRUE(read_file_bytes(dir.file("by_hand.csv"), by_hand));
  EXPECT_FALSE(by_hand.empty());
  EXPECT_EQ(numbered, by_hand);
  the_log().clear_history();
  call_text("SaveNaxFile2", {"TIF"});  // compared with case: the writer decides
  ASSERT_FALSE(log().empty());
  EXPECT_EQ(log().back(), " save_nax_proc() : ring.TIF Bad extension for pixel data.");
}

// Each switch: the window-show flag takes 0 and 1 only, the clear-mask option any value.
TEST_F(KestrinMethodCalls, Switches) {
  call("SetWindowShow", {0});
  EXPECT_EQ(state().WindowShow, 0);
  call("SetWindowShow", {2});
  EXPECT_EQ(state().WindowShow, 0);
  call("SetClearMask", {5});
  EXPECT_TRUE(controls().checked(frmOption::chkClearMask));
  EXPECT_EQ(std::get<int32_t>(call("GetClearMask")), 1);
  call("SetClearMask", {0});
  EXPECT_FALSE(controls().checked(frmOption::chkClearMask));
  EXPECT_EQ(std::get<int32_t>(call("GetClearMask")), 0);
}

// Every analysis method runs its routine: without an image each refuses in its own words,
// and none says it is not available.
TEST_F(KestrinMethodCalls, NoAnalysisRoutineIsMissing) {
  for (const char* m : {"AngleIntensity", "PixelIntensity", "FineAngleIntensity", "FindCenter", "FindSpot", "Sectoring",
                        "PeakSearch", "PeakFitting", "CalcTilt", "AutoAnalysis", "ClearMask"}) {
    the_log().clear_history();
    call(m);
    for (const std::string& line : log()) EXPECT_EQ(line.find("not available"), std::string::npos) << m << ": " << line;
  }
  the_log().clear_history();
  call("AutoAnalysis");
  EXPECT_EQ(log(), (std::vector<std::string>{" auto_analysis() : Image data does not exist."}));
}

// ClearMask empties the loaded image's mask, records its line and redraws the image;
// without an image there is no mask to clear and nothing is recorded.
TEST_F(KestrinMethodCalls, ClearMaskEmptiesTheMaskAndRedraws) {
  RecordingViews views;
  install_ports(views.ports());
  state().macro.MacroRecording = true;
  call("ClearMask");
  EXPECT_TRUE(state().macro.MacroList.empty());
  load_into_current_image(std::vector<uint16_t>(12, 7), 4, 3);
  state().image_mask.resize(4, 3);
  state().image_mask.bytes[5] = 1;
  views.redraws = 0;
  call("ClearMask");
  EXPECT_EQ(state().image_mask.bytes, std::vector<uint8_t>(12, 0));
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.ClearMask();"});
  EXPECT_EQ(views.redraws, 1);
  reset_headless_ports();
}

// The setters that move a radio button or the direction combo run the window's commands,
// with the windows and without them alike: the headless program's radios run them too.
TEST_F(KestrinMethodCalls, ChoiceSettersRunTheirControlsCommands) {
  wire_program({});
  load_into_current_image(std::vector<uint16_t>(12, 7), 4, 3);
  state().macro.MacroRecording = true;
  call("SetIntegrationMode", {1});
  EXPECT_TRUE(controls().checked(frmMain::rbtnSector));
  call("SetIntegrationMode", {1});  // already checked: no click
  call("SetRectDirection", {3});
  EXPECT_EQ(controls().item_index(frmMain::cmbDirection), 3);
  call("SetRectAngleMode", {1});
  EXPECT_EQ(state().macro.MacroList,
            (std::vector<std::string>{"Kestrin.SetIntegrationMode(1);", "Kestrin.SetRectDirection(3);",
                                      "Kestrin.SetRectAngleMode(1);"}));
  call("SetIntegrationMode", {5});
  EXPECT_EQ(std::get<int32_t>(call("GetIntegrationMode")), 5);
  EXPECT_TRUE(controls().checked(frmMain::rbtnSector));
  call("SetIntegrationMode", {2});
  EXPECT_TRUE(controls().checked(frmMain::rbtnSectoredDivision));
  EXPECT_EQ(state().macro.MacroList.back(), "Kestrin.SetIntegrationMode(2);");
  reset_headless_ports();
}

// A value for each row that differs from its start value and survives both files.
double trial_value(const Parameter& p, int row) {
  switch (p.kind) {
    case ParameterKind::kReal: return 10.5 + row;
    case ParameterKind::kInteger: return 37;
    case ParameterKind::kChoice: return 1;
    case ParameterKind::kIndex: return 7;
    case ParameterKind::kCheckBox: return 0;
  }
  return 0;
}

double field_of(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  return p.real ? ip.*p.real : p.integer ? double(ip.*p.integer) : 0.0;
}

// The one place that shows that a new row is carried everywhere: each scripted row goes
// in through its setter, comes back through its getter, and survives the settings file and
// the parameter file when it has a line there.
// The pixel Y / X ratio follows a pixel size set by a script at once: a ring mask painted
// before the next analysis reads the edits is the one painted after it.
TEST_F(KestrinMethodCalls, PixelSizeSettersChangeTheRingMaskAtOnce) {
  struct Case {
    double x, y;  // the pixel sizes the script sets
  };
  const Case cases[] = {{0.1, 0.1}, {0.1, 0.2}, {0.08, 0.1}, {0.1, 0.05}};
  HklParam crystal;
  crystal.lattice[0] = 4.0;
  crystal.hkl[0] = {1, 1, 1};
  crystal.use[0] = true;
  crystal.count = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " x " << c.y);
    SetUp();
    load_into_current_image(std::vector<uint16_t>(120 * 100, 1), 120, 100);
    call("SetCenterX", {60});
    call("SetCenterY", {50});
    call("SetLo", {10});
    call("SetWaveLength", {1});
    call("SetPixelSizeX", {c.x});
    call("SetPixelSizeY", {c.y});
    EXPECT_EQ(state().integration_params.pixel_ratio(), c.y / c.x);
    state().image_mask.resize(120, 100);
    paint_ring_mask(crystal, 0, 6, 1);
    const auto at_once = state().image_mask.bytes;
    read_parameters(current_image().ImageHeight);
    std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), uint8_t(0));
    paint_ring_mask(crystal, 0, 6, 1);
    EXPECT_EQ(at_once, state().image_mask.bytes);
    EXPECT_GT(std::count(at_once.begin(), at_once.end(), uint8_t(1)), 100);
  }
}

TEST_F(KestrinMethodCalls, EveryParameterRoundTripsThroughItsMethodsAndBothFiles) {
  TempDir dir;
  int row = 0, carried = 0;
  for (const Parameter& p : parameter_table()) {
    ++row;
    if (p.script.empty()) continue;
    SCOPED_TRACE(std::string(p.script));
    SetUp();
    const double value = trial_value(p, row);
    call("Set" + std::string(p.script), {value});
    if (p.kind == ParameterKind::kCheckBox) {
      EXPECT_EQ(controls().checked(control_of(p).control), value == 1);
    } else {
      const MethodResult got = call("Get" + std::string(p.script));
      EXPECT_EQ(p.real ? std::get<double>(got) : std::get<int32_t>(got), value);
    }

    if (p.settings_line > 0 || p.kind == ParameterKind::kChoice) {
      const std::vector<std::string> lines = settings_file_lines();
      SetUp();
      read_settings_lines(lines);
      read_parameters(0);
      if (p.kind == ParameterKind::kCheckBox) {
        EXPECT_EQ(controls().checked(control_of(p).control), value == 1);
      } else {
        EXPECT_EQ(field_of(p), value);
      }
      ++carried;
    }

    if (p.file_line > 0) {
      call("Set" + std::string(p.script), {value});
      ASSERT_TRUE(write_text_file(dir.file("p.kes"), param_file_lines()));
      SetUp();
      ASSERT_EQ(read_param_file(dir.file("p.kes")), 0);
      EXPECT_EQ(field_of(p), value);
      ++carried;
    }
  }
  EXPECT_EQ(carried, 22 + 12);  // every settings-file row and every parameter-file line
}

}  // namespace
}  // namespace kestrin::test
