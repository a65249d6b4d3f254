// The settings file through the main window's controls: its exact written form, reading it
// back, the short and odd files a reader meets, and a folder that cannot be written.
#include <gtest/gtest.h>

#include <functional>

#include "base/text_file.h"
#include "commands/parameter_io.h"
#include "commands/settings_commands.h"
#include "image/program_state.h"
#include "ports/names/main_form_names.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

// The main window's start values, as the program's first settings file holds them.
const Lines kStartFile = {
    "1.0", "32.00", "0.020000", "500", "1.0", "0.1", "0.1", "324.000", "0.00000", "100",
    "0.000000", "0.00000", "10.00000", "906", "1989",
    "4", "0", "0", "1", "0", "1", "1", "1", "1",
    "", "", "", "", "", "", "", "",
    "-1", "-1", "-1", "-1", "-1", "-1", "-1", "-1",
    "0", "0", "  3.0000", "  0.1000", "0", "0",
    "32768", "8421376", "16711935", "16711935", "255", "12639424",
    "0", "0"};

class SettingsFileTest : public StateTest {
protected:
  static HeadlessControls& edits() { return headless_controls(); }
  static IntegrationParams& params() { return state().integration_params; }
  // A settings file made of the first n lines of `full` (all of them for n < 0).
  std::string write(const Lines& full, int n = -1) {
    Lines lines(full.begin(), n < 0 ? full.end() : full.begin() + n);
    const std::string path = dir_.file("Kestrin.kes");
    EXPECT_TRUE(write_text_file(path, lines));
    return path;
  }
  // A file differing from the start values in every line that is read.
  static Lines changed_file() {
    Lines l = kStartFile;
    const Lines edits = {"2.5", "40", "0.01", " 250 ", "1.5406", "0.05", "0.1", "12", "1.5", "42",
                         "3.5", "10", "80", "1024.5", "-7"};
    std::copy(edits.begin(), edits.end(), l.begin());
    l[15] = "6";
    l[16] = "1", l[18] = "0", l[19] = "1", l[20] = "0";
    l[24] = "/data/images/";
    l[29] = "/data/out/";
    l[32] = "2";
    l[37] = "5";
    l[41] = "3", l[42] = "  2.5000", l[43] = "  0.0500", l[44] = "1", l[45] = "1";
    l[46] = "255";
    l[52] = "1", l[53] = "1";
    return l;
  }

  TempDir dir_;
};

TEST_F(SettingsFileTest, StartValuesWriteTheGoldenFile) {
  const std::string path = dir_.file("Kestrin.kes");
  ASSERT_TRUE(save_settings_file(path));
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(path, bytes));
  std::string expected;
  for (const auto& line : kStartFile) expected += line + "\r\n";
  EXPECT_EQ(bytes, expected);
}

TEST_F(SettingsFileTest, EveryLineReadsBackAndWritesAgainUnchanged) {
  const Lines file = changed_file();
  read_settings_file(write(file));
  EXPECT_FALSE(state().LoadingFlag);
  const IntegrationParams& p = params();
  EXPECT_EQ(p.Lo, 250);
  EXPECT_EQ(p.pixel_ratio(), 2.0);
  EXPECT_EQ(p.band_width, 42);
  EXPECT_EQ(p.Y0, -7);
  EXPECT_EQ(p.RectDirection, 6);
  EXPECT_TRUE(edits().checked(frmMain::rbtnRectangle));
  EXPECT_FALSE(edits().checked(frmMain::rbtnSectoredDivision));
  EXPECT_TRUE(edits().checked(frmMain::rbtnRect_Angle));
  EXPECT_FALSE(edits().checked(frmMain::chkLo));
  EXPECT_FALSE(header_locked(&IntegrationParams::Lo));
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], "/data/images/");
  EXPECT_EQ(state().dialog_slots.filter_index[kSlotPatternSave], 5);
  EXPECT_EQ(state().options.CenterMarker, 3);
  EXPECT_EQ(state().options.HwhmTheta, 0.05);
  EXPECT_EQ(state().colours.colour[0], 255);  // BGR: red
  EXPECT_EQ(state().options.FitType, 1);
  EXPECT_EQ(settings_file_lines(), file);
}

TEST_F(SettingsFileTest, MissingFileKeepsTheStartValues) {
  state().LoadingFlag = true;
  read_settings_file(dir_.file("none.kes"));
  EXPECT_FALSE(state().LoadingFlag);
  EXPECT_EQ(settings_file_lines(), kStartFile);
}

TEST_F(SettingsFileTest, ShortFilesReadEmptyLinesPastTheirEnd) {
  const Lines file = changed_file();
  {  // 46 lines: the colours, ClearMask and FitType keep their start values
    read_settings_file(write(file, 46));
    Lines expected = file;
    std::copy(kStartFile.begin() + 46, kStartFile.end(), expected.begin() + 46);
    EXPECT_EQ(settings_file_lines(), expected);
  }
  {  // 10 lines: the three angle edits and the X0 edit are emptied, X0 keeps its value
    reset_headless_ports();
    params().X0 = 906;
    read_settings_file(write(file, 10));
    EXPECT_EQ(edits().text(frmMain::edtRectAngle), "");
    EXPECT_EQ(edits().text(frmMain::edtSectorEndAngle), "");
    EXPECT_EQ(edits().text(frmMain::edtCenterX0), "");
    EXPECT_EQ(edits().text(frmMain::edtCenterY0), "1989");
    EXPECT_EQ(params().X0, 906);
    EXPECT_EQ(edits().item_index(frmMain::cmbDirection), 4);
    EXPECT_FALSE(state().LoadingFlag);
  }
}

TEST_F(SettingsFileTest, OptionLinesFallBackOrFollowTheirOwnRules) {
  struct Case {
    int line;  // 1-based
    std::string text;
    std::function<bool()> check;
  };
  const Case cases[] = {
      {41, "1", [] { return state().options.VerticalReverse == 0; }},
      {42, "x", [] { return state().options.CenterMarker == 1; }},
      {43, "", [] { return state().options.HwhmPixel == 3.0; }},
      {44, "?", [] { return state().options.HwhmTheta == 0.1; }},
      {46, "yes", [] { return state().options.GradationReverse == 1; }},
      {46, "0", [] { return state().options.GradationReverse == 0; }},
      {54, "", [] { return state().options.FitType == 0; }},
  };
  for (const Case& c : cases) {
    reset_state();
    state().options.VerticalReverse = 1;
    state().options.CenterMarker = 7;
    state().options.HwhmPixel = state().options.HwhmTheta = 9;
    state().options.FitType = 3;
    Lines file = kStartFile;
    file[size_t(c.line - 1)] = c.text;
    read_settings_file(write(file));
    EXPECT_TRUE(c.check()) << "line " << c.line << " '" << c.text << "'";
  }
}

TEST_F(SettingsFileTest, BadLineEndsTheReadingThere) {
  Lines file = changed_file();
  file[17] = "on";  // rbtnSector's line
  read_settings_file(write(file));
  EXPECT_EQ(params().RectDirection, 6);          // before the bad line
  EXPECT_TRUE(edits().checked(frmMain::rbtnRectangle));
  EXPECT_TRUE(edits().checked(frmMain::chkLo));          // after it: start value
  EXPECT_TRUE(header_locked(&IntegrationParams::Lo));
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], "");
  EXPECT_FALSE(state().LoadingFlag);
}

TEST_F(SettingsFileTest, UnwritableFolderIsLoggedNotThrown) {
  // A "folder" that is a plain file cannot hold the settings, whoever runs the test.
  ASSERT_TRUE(write_text_file(dir_.file("plain"), {"x"}));
  const std::string path = dir_.file("plain") + "/Kestrin.kes";
  EXPECT_FALSE(save_settings_file(path));
  ASSERT_FALSE(log().empty());
  EXPECT_NE(log().back().find(path), std::string::npos);
}

}  // namespace
}  // namespace kestrin::test
