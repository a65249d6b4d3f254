// The oscillation window's commands without widgets: the sorted file list, the ini file
// (missing, unreadable, written after a run), a cancelled folder dialog, and the batch's
// Pause, Continue and Cancel seen by the polls.
#include "commands/osc_ana_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>

#include "analysis/batch_state.h"
#include "base/paths.h"
#include "base/program_files.h"
#include "base/text_file.h"
#include "model/state.h"
#include "ports/names/osc_ana_form_names.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// The window's dialogs answering from a script: each run takes the next list of names (none
// left: a cancel) and the folder picker gives `folder` when set.
class ScriptedWindowDialogs : public HeadlessFileDialogs {
public:
  std::deque<std::vector<std::string>> choices;
  std::vector<FileDialogSetup> setups;
  std::string folder;
  std::vector<std::string> captions;
  FileDialogChoice run_window_dialog(ControlName, const FileDialogSetup& s) override {
    setups.push_back(s);
    FileDialogChoice c{{}, s.filter_index};
    if (!choices.empty()) {
      c.files = choices.front();
      choices.pop_front();
    }
    return c;
  }
  bool select_folder(std::string_view caption, std::string& f) override {
    captions.emplace_back(caption);
    if (folder.empty()) return false;
    f = folder;
    return true;
  }
};

// Each wait runs the next press; each pump counts.
class PressingPump : public EventPump {
public:
  std::deque<std::function<void()>> presses;
  bool ended = false;
  int pumps = 0;
  std::function<void()> at_pump;
  void process_messages() override {
    ++pumps;
    if (at_pump) at_pump();
  }
  void wait_until(const std::function<bool()>& done) override {
    while (!done() && !presses.empty()) {
      presses.front()();
      presses.pop_front();
    }
  }
  bool terminated() const override { return ended; }
};

class OscCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved_ = old ? old : "";
    had_ = old != nullptr;
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    Ports p;
    p.file_dialogs = &dialogs_;
    p.events = &pump_;
    install_ports(p);
  }
  void TearDown() override {
    if (had_) ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    reset_headless_ports();
  }
  std::string ini() const { return config_folder() + kOscIniFile; }

  TempDir dir_;
  std::string saved_;
  bool had_ = false;
  ScriptedWindowDialogs dialogs_;
  PressingPump pump_;
};

TEST_F(OscCommandsTest, SelectedFilesAreSortedAndAppended) {
  dialogs_.choices = {{"/d/b.img", "/d/a.img", "/d/c.img"}, {"/d/B.img"}, {}};
  osc_select_files_command();
  osc_select_files_command();
  osc_select_files_command();  // a cancel appends nothing
  EXPECT_EQ(controls().text(frmOscAna::memFileName), "/d/a.img\r\n/d/b.img\r\n/d/c.img\r\n/d/B.img");
  EXPECT_EQ(target_files(), (std::vector<std::string>{"/d/a.img", "/d/b.img", "/d/c.img", "/d/B.img"}));
  ASSERT_EQ(dialogs_.setups.size(), 3u);
  EXPECT_TRUE(dialogs_.setups[0].multi_select);
  EXPECT_EQ(dialogs_.setups[0].filter, "RIGAKU image file(*.img)|*.IMG");
}

TEST_F(OscCommandsTest, TheIniFileGivesTheFolderAndAMissingOneStartsEmptyWithoutAWord) {
  state().OscOutputFolder = "/old";
  osc_ana_form_create();
  EXPECT_EQ(state().OscOutputFolder, "");
  EXPECT_TRUE(log().empty());
  write_program_file_line(kOscIniFile, "/results/osc");
  osc_ana_form_create();
  EXPECT_EQ(state().OscOutputFolder, "/results/osc");
  EXPECT_TRUE(log().empty());
}

TEST_F(OscCommandsTest, ACancelledFolderDialogRunsNothingAndAChosenFolderIsRemembered) {
  state().OscOutputFolder = "/before";
  osc_execute_command();  // an empty list: the reason in the log, no folder asked
  EXPECT_EQ(log(), std::vector<std::string>{" osc_ana_batch() : No image file in the list."});
  EXPECT_TRUE(dialogs_.captions.empty());
  the_log().clear_history();
  controls().set_text(frmOscAna::memFileName, dir_.path() + "missing.img");
  osc_execute_command();
  EXPECT_EQ(dialogs_.captions, (std::vector<std::string>{"出力先フォルダの選択"}));
  EXPECT_FALSE(file_exists(ini()));
  EXPECT_EQ(pump_.pumps, 0);

  state().spot_reference = {{1, 1, 1}};
  state().BatchState = kBatchStop;  // left by an earlier Cancel
  dialogs_.folder = dir_.path() + "out";
  the_log().clear_history();
  osc_execute_command();  // the missing file is logged and passed over; the folder is kept
  const std::vector<std::string> lines = log();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("missing.img was not loaded; no spot list is written for it.") != std::string::npos;
  })) << testing::PrintToString(lines);
  EXPECT_EQ(state().OscOutputFolder, dir_.path() + "out");
  EXPECT_EQ(read_program_file_line(kOscIniFile), dir_.path() + "out");
  EXPECT_EQ(state().BatchState, kBatchRun);
}

// The batch reads its settings from the window's edits first: one that is not a number (the
// discard distance too, which the search does not use) is logged and nothing runs.
TEST_F(OscCommandsTest, ABadSettingIsLoggedAndNothingRuns) {
  const ControlName settings[] = {frmOscAna::edtCenterSize, frmOscAna::edtBGSize, frmOscAna::edtShikii1,
                                  frmOscAna::edtShikii2, frmOscAna::edtSameSpotDistance,
                                  frmOscAna::edtSearchDistance, frmOscAna::edtSpotDiscardDistance};
  for (const ControlName& edit : settings) {
    SCOPED_TRACE(std::string(edit.control));
    const std::string typed = controls().text(edit);
    the_log().clear_history();
    controls().set_text(edit, "four");
    EXPECT_EQ(osc_ana_batch_with_settings({dir_.path() + "missing.img"}, dir_.path(), ""), 1);
    EXPECT_EQ(log(), std::vector<std::string>{"Spot Search setting read errro!"});
    EXPECT_EQ(pump_.pumps, 0);
    controls().set_text(edit, typed);
  }
}

TEST_F(OscCommandsTest, PauseContinueAndCancelAtThePolls) {
  // Pause, then Continue: the poll returns to the run.
  batch_pause_command();
  pump_.presses = {[] { batch_continue_command(); }};
  EXPECT_EQ(poll_batch_state(), 0);
  // Cancel during a pause ends the run at the next poll.
  batch_pause_command();
  pump_.presses = {[] { batch_cancel_command(); }};
  EXPECT_EQ(poll_batch_state(), 0);
  EXPECT_EQ(poll_batch_state(), 1);
  // The background window's Pause toggles; any other state becomes "run".
  batch_toggle_pause_command();
  EXPECT_EQ(state().BatchState, kBatchRun);
  batch_toggle_pause_command();
  EXPECT_EQ(state().BatchState, kBatchPause);
  // The program ending while paused ends the run at once.
  pump_.presses = {[this] { pump_.ended = true; }};
  EXPECT_EQ(poll_batch_state(), 1);
  EXPECT_EQ(state().BatchState, kBatchPause);
}

}  // namespace
}  // namespace kestrin::test
