// The parameter table: its columns stay consistent with each other and with the controls
// that show its rows.
#include <gtest/gtest.h>

#include <set>

#include "commands/parameter_controls.h"

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

}  // namespace
}  // namespace kestrin::test
