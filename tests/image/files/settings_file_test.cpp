// The settings file's lines and the state: what a reading stores and hands to the controls,
// the line that ends it, and the lines the state gives back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/files/settings_file.h"
#include "image/program_state.h"
#include "model/parameters.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

// A file every line of which converts: the table's lines, folders "/f/" and zeros else.
Lines good_file() {
  Lines l(54, "0");
  for (size_t i = 24; i < 32; ++i) l[i] = "/f/";
  l[3] = " 250 ";   // the camera length
  l[15] = "6";      // the direction combo's item
  l[20] = "1";      // the camera length's lock; the other three are unchecked
  l[41] = "3";      // the centre marker
  return l;
}

TEST(SettingsValues, AGoodFileFillsTheStateAndHandsEveryTableLineToTheControls) {
  reset_state();
  const std::vector<SettingsControlLine> shown = read_settings_values(good_file());
  ASSERT_EQ(shown.size(), 24u);
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i].entry->line, int(i + 1));
  EXPECT_EQ(shown[3].text, " 250 ");
  EXPECT_FALSE(shown[3].number);  // an edit takes its text
  EXPECT_EQ(shown[15].number, 6);
  const IntegrationParams& p = state().integration_params;
  EXPECT_EQ(p.Lo, 250);
  EXPECT_EQ(p.RectDirection, IntegrationParams().RectDirection);  // the combo says which item it has
  EXPECT_TRUE(header_locked(&IntegrationParams::Lo));
  EXPECT_FALSE(header_locked(&IntegrationParams::wavelength));
  EXPECT_EQ(state().dialog_slots.folder[0], "/f/");
  EXPECT_EQ(state().options.CenterMarker, 3);
}

TEST(SettingsValues, ALineThatDoesNotConvertEndsTheReadingThere) {
  struct Case {
    int line;  // 1-based
    const char* text;
    size_t shown;  // table lines handed to the controls, the bad one among them
    bool folders;  // the folder lines were read
  };
  const Case cases[] = {
      {4, "x", 4, false},    // an edit: its text is shown, its value kept
      {18, "on", 18, false}, // a radio button's line
      {22, "y", 22, false},  // a lock's line
      {33, "z", 24, true},   // a filter index, after the folders
  };
  for (const Case& c : cases) {
    reset_state();
    Lines file = good_file();
    file[size_t(c.line - 1)] = c.text;
    const std::vector<SettingsControlLine> shown = read_settings_values(file);
    ASSERT_EQ(shown.size(), c.shown) << c.line;
    if (c.shown == size_t(c.line)) {
      EXPECT_EQ(shown.back().text, c.text) << c.line;
      EXPECT_FALSE(shown.back().number) << c.line;
    }
    EXPECT_EQ(state().integration_params.Lo, c.line > 4 ? 250 : IntegrationParams().Lo) << c.line;
    EXPECT_EQ(state().dialog_slots.folder[0], c.folders ? "/f/" : "") << c.line;
    EXPECT_EQ(state().options.CenterMarker, Options().CenterMarker) << c.line;
    EXPECT_EQ(header_locked(&IntegrationParams::wavelength), c.line <= 22) << c.line;  // line 22 unchecks it
  }
}

TEST(SettingsValues, TheLinesAreTheTableLinesGivenThenTheStates) {
  reset_state();
  state().dialog_slots.folder[1] = "/out/";
  state().options.HwhmPixel = 2.5;
  const Lines lines = settings_lines_of(Lines(24, "t"));
  ASSERT_EQ(lines.size(), 54u);
  EXPECT_EQ(lines[23], "t");
  EXPECT_EQ(lines[25], "/out/");
  EXPECT_EQ(lines[32], "-1");
  EXPECT_EQ(lines[42], "  2.5000");
  EXPECT_EQ(lines[53], "0");
}

}  // namespace
}  // namespace kestrin::test
