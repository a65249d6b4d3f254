// The pattern save routine alone: it says its steps into the report it is given, writes
// the name as given (a name without an extension is refused, never completed) and leaves
// the log, the questions and the remembered dialog slots to the command around it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_file.h"
#include "commands/headless_ports.h"
#include "image/files/pattern_files.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "support/pattern_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

TEST(PatternSave, SaysItsStepsIntoTheReportAndAsksNothing) {
  reset_state();
  reset_headless_ports();
  test::ScriptedPrompts prompts;
  test::ScriptedFileDialogs dialogs;
  Ports p;
  p.prompts = &prompts;
  p.file_dialogs = &dialogs;
  install_ports(p);
  dialogs.set_save_filter_index(2);
  the_log().clear_history();
  state().nax_pattern = test::small_pattern(3, kPixelHistogram, "title");
  state().integration_params = test::angle_axis(10.0, 0.02, 3);
  state().dialog_slots.folder[kSlotPatternSave] = "/old/";
  test::TempDir dir;
  ASSERT_TRUE(write_file_bytes(dir.file("run1.xy"), "old"));

  Report report;
  save_nax_proc(dir.file("run1"), report);
  save_nax_proc(dir.file("run1.xy"), report);
  EXPECT_EQ(report.lines(), (Lines{" Directory     = " + dir.path(), " Nax file name = run1",
                                   " save_nax_proc(); " + dir.file("run1") + " is bad file name. ",
                                   " Directory     = " + dir.path(), " Nax file name = run1.xy",
                                   " <<<<<   XY format   >>>>>", " Completed."}));
  EXPECT_TRUE(the_log().history().empty());
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(state().dialog_slots.folder[kSlotPatternSave], "/old/");
  EXPECT_EQ(state().dialog_slots.filter_index[kSlotPatternSave], -1);
  EXPECT_EQ(current_image().PatternFolder, dir.path());
  reset_headless_ports();
  reset_state();
}

}  // namespace
}  // namespace kestrin
