// The peak list and fit list commands: their dialogs and remembered slots, the main
// window's wavelength edit read before a list is loaded, and their messages.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "commands/headless_ports.h"
#include "image/files/peak_list_file.h"
#include "image/program_state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/pattern_fixture.h"
#include "support/recording_views.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

double two_theta_of(double d, double wavelength) { return 2.0 * std::asin(wavelength / (2.0 * d)) * 57.29577951308232; }

class PeakListCommands : public test::StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    dialogs_ = test::ScriptedFileDialogs();
    Ports p;
    p.file_dialogs = &dialogs_;
    install_ports(views_.ports(p));
  }
  void TearDown() override {
    reset_headless_ports();
    reset_state();
  }
  void answer(const std::string& name, int index = 1) { dialogs_.answers.push_back({name, index}); }

  test::TempDir dir_;
  test::RecordingViews views_;
  test::ScriptedFileDialogs dialogs_;
};

TEST_F(PeakListCommands, SaveThenLoadAtNewWavelengthShiftsTwoTheta) {
  state().peak_table = test::three_peaks();
  state().dialog_slots.folder[kSlotPeakSave] = "/start/";
  state().dialog_slots.filter_index[kSlotPeakSave] = 1;
  answer(dir_.file("p.std"));
  save_peak_command();
  ASSERT_EQ(dialogs_.setups.size(), 1u);
  const FileDialogSetup& s = dialogs_.setups[0];
  EXPECT_EQ(s.folder, "/start/");
  EXPECT_EQ(s.filter, "Peak files (*.std)|*.STD");
  EXPECT_EQ(s.default_ext, "std");
  EXPECT_TRUE(s.overwrite_prompt);
  EXPECT_EQ(state().dialog_slots.folder[kSlotPeakSave], dir_.path());
  EXPECT_TRUE(log().empty());

  controls().set_text(frmMain::edtLambda, "0.7");
  answer(dir_.file("p.STD"));
  ASSERT_TRUE(write_file_bytes(dir_.file("p.STD"), peak_list_text(test::three_peaks())));
  load_peak_command();
  const PeakList& p = state().peak_table;
  ASSERT_EQ(p.count, 3);
  EXPECT_DOUBLE_EQ(state().integration_params.wavelength, 0.7);
  EXPECT_DOUBLE_EQ(p.d[2], 1.234567);
  EXPECT_DOUBLE_EQ(p.two_theta[2], two_theta_of(1.234567, 0.7));
  EXPECT_NE(p.two_theta[2], 45.25);
  EXPECT_EQ(views_.peak_lists, 1);
  EXPECT_EQ(state().dialog_slots.folder[kSlotPeakOpen], dir_.path());
  EXPECT_TRUE(dialogs_.setups[1].must_exist);
}

TEST_F(PeakListCommands, MessagesOfTheThreeCommands) {
  struct Case {
    void (*command)();
    bool peaks, fits;
    const char* name;  // dialog answer; nullptr: no dialog expected
    std::string line;
  };
  const std::string other = dir_.file("a.txt");
  const Case cases[] = {
      {save_peak_command, false, false, nullptr, "save_peak_proc() : No peak."},
      {save_peak_command, true, false, "", " save_peak_proc() : No file selected. "},
      {save_peak_command, true, false, "a.txt", " save_peak_proc() : " + other + " is not a peak file.. "},
      {load_peak_command, false, false, "", " load_peak_proc() : No file selected. "},
      {load_peak_command, false, false, "A.Std", " load_peak_proc() : " + dir_.file("A.Std") + " is not a peak file.. "},
      {save_fit_command, true, false, nullptr, "save_fit_proc() : No fit data."},
      {save_fit_command, true, true, "", " save_fit_proc() : No file selected. "},
      {save_fit_command, true, true, "a.txt", " save_fit_proc() : " + other + " is not a fit file.. "},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.peaks) state().peak_table = test::three_peaks();
    if (c.fits) state().fit_tables.count = 1;
    if (c.name) answer(*c.name ? dir_.file(c.name) : "");
    c.command();
    EXPECT_EQ(log(), Lines{c.line}) << c.line;
    EXPECT_EQ(dialogs_.setups.size(), c.name ? 1u : 0u) << c.line;
  }
}

TEST_F(PeakListCommands, FitListAcceptsUpperCaseFitAndCsv) {
  state().peak_table = test::three_peaks();
  state().fit_tables.count = 1;
  state().fit_tables.fitted[0].fitted = 1;
  for (const char* name : {"f.FIT", "f.csv"}) {
    answer(dir_.file(name), 2);
    save_fit_command();
    EXPECT_TRUE(file_exists(dir_.file(name))) << name;
  }
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(dialogs_.setups[0].filter, "Fit files (*.csv)|*.csv|(*.fit)|*.fit");
  EXPECT_EQ(dialogs_.setups[0].filter_index, -1);
  EXPECT_EQ(dialogs_.setups[1].filter_index, 2);
  EXPECT_EQ(state().dialog_slots.fit_folder, dir_.path());
}

TEST_F(PeakListCommands, BadSpacingLeavesListUnrefreshed) {
  const std::string name = dir_.file("bad.std");
  ASSERT_TRUE(write_text_file(name, {"b", "Number of peaks =   1", "h", "  1     12.5000    10.02000    0.100000"}));
  answer(name);
  load_peak_command();
  EXPECT_EQ(log(), Lines{" Error in d(A) at peak number   1."});
  EXPECT_EQ(state().peak_table.count, 1);
  EXPECT_EQ(views_.peak_lists, 0);
}

}  // namespace
}  // namespace kestrin
