// The Kestrin object's method table: the registration order, the argument rule, and every
// parameter of the parameter table set by its script setter, read by its getter and carried
// through the settings file and the parameter file.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "base/convert.h"
#include "base/text_file.h"
#include "commands/kestrin_methods.h"
#include "image/files/param_file.h"
#include "image/files/settings_file.h"
#include "model/parameters.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// Arguments given as numbers.
class Numbers : public MethodArgs {
public:
  Numbers(std::initializer_list<double> v) : v_(v) {}
  size_t count() const override { return v_.size(); }
  double number(size_t i) const override { return v_.at(i); }
  int32_t integer(size_t i) const override { return int32_t(std::lround(v_.at(i))); }
  std::string text(size_t i) const override { return FloatToStr(v_.at(i)); }

private:
  std::vector<double> v_;
};

MethodResult call(const std::string& name, std::initializer_list<double> args = {}) {
  const KestrinMethod* m = find_kestrin_method(name);
  EXPECT_NE(m, nullptr) << name;
  return m ? call_kestrin_method(*m, Numbers(args)) : MethodResult{};
}

TEST(KestrinMethods, RegisteredOnceInTheScriptObjectsOrder) {
  std::vector<std::string> names;
  std::set<std::string> unique;
  for (const KestrinMethod& m : kestrin_methods()) {
    names.push_back(m.name);
    EXPECT_TRUE(unique.insert(m.name).second) << m.name;
  }
  const std::vector<std::string> head = {"LoadImageFile", "LoadParamFile", "LoadMaskFile", "SaveParamFile",
                                         "SaveMaskFile",  "LoadNaxFile",   "SaveNaxFile",  "Get2ThetaBegin",
                                         "Set2ThetaBegin", "Get2ThetaEnd"};
  ASSERT_GE(names.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + long(head.size())), head);
  // The eighteen Get/Set pairs stand together, ending with the centre.
  const auto pairs_end = std::find(names.begin(), names.end(), "SetCenterY");
  ASSERT_NE(pairs_end, names.end());
  EXPECT_EQ(pairs_end - names.begin(), 7 + 2 * 18 - 1);
  EXPECT_EQ(names.back(), "SaveNaxFile3");
}

using KestrinMethodCalls = StateTest;

TEST_F(KestrinMethodCalls, TooFewArgumentsRunNothing) {
  state().integration_params.Lo = 123;
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("SetLo")));
  EXPECT_EQ(state().integration_params.Lo, 123);
  EXPECT_EQ(std::get<double>(call("GetLo")), 123);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPeakData", {0})));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(call("GetPeakData", {0, 4})));
  EXPECT_THROW(call("GetPixelIntensity", {0, 0}), std::out_of_range);  // no image
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
      EXPECT_EQ(controls().checked(p.control), value == 1);
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
        EXPECT_EQ(controls().checked(p.control), value == 1);
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
