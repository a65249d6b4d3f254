// The batch and spread windows' buttons without widgets: their dialogs replace the lists,
// the reference dialog fills the name edit, and "実行" runs the mode the radios choose.
#include <gtest/gtest.h>

#include "commands/batch_files_commands.h"
#include "commands/file_list_commands.h"
#include "commands/image_spread_commands.h"
#include "ports/names/batch_files_names.h"
#include "ports/names/image_spread_names.h"
#include "support/pattern_fixture.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class ToolListCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.file_dialogs = &dialogs_;
    install_ports(p);
  }
  void TearDown() override { reset_headless_ports(); }
  ScriptedFileDialogs dialogs_;
};

TEST_F(ToolListCommandsTest, FileDialogsReplaceTheListsAndACancelKeepsThem) {
  struct Case {
    void (*select)();
    ControlName memo;
    std::string dialog, filter;
  };
  const Case cases[] = {
      {&batch_files_select, frmBatchFiles::memFileName, "frmBatchFiles.opdImageList", kImageListFilter},
      {&spread_select_files, frmImageSpread::memFileName, "frmImageSpread.opdImageList", "Rigaku R-AXIS5 (*.img)|*.IMG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    dialogs_.window_runs.clear();
    set_file_list(c.memo, {"/old/x.img"});
    dialogs_.window_answers = {{{"/d/b.img", "/d/a.img"}, 1}};
    c.select();
    EXPECT_EQ(file_list(c.memo), (Lines{"/d/b.img", "/d/a.img"}));
    c.select();
    EXPECT_EQ(file_list(c.memo), (Lines{"/d/b.img", "/d/a.img"}));
    ASSERT_EQ(dialogs_.window_runs.size(), 2u);
    EXPECT_EQ(dialogs_.window_runs[0].dialog, c.dialog);
    EXPECT_EQ(dialogs_.window_runs[0].setup.filter, c.filter);
    EXPECT_TRUE(dialogs_.window_runs[0].setup.multi_select);
  }
}

TEST_F(ToolListCommandsTest, TheReferenceDialogFillsTheNameEdit) {
  dialogs_.window_answers = {{{"/d/ref.csv"}, 1}};
  spread_select_reference();
  spread_select_reference();  // cancelled: the name stays
  EXPECT_EQ(controls().text(frmImageSpread::edtRefFileName), "/d/ref.csv");
  EXPECT_EQ(dialogs_.window_runs.at(1).setup.filter, "Ref. file (*.csv)|*.CSV");
}

TEST_F(ToolListCommandsTest, ExecuteRunsTheModeTheRadiosChoose) {
  set_file_list(frmImageSpread::memFileName, {"", "/d/b.img"});
  spread_execute();  // "RefFile作成" at start: two lines, refused with the reason
  EXPECT_EQ(log(), Lines{" make_spread_reference() : RefFile作成 takes one image file; the list holds 2."});
  the_log().clear_history();
  controls().set_checked(frmImageSpread::rbtnSpreadRef, true);
  controls().set_text(frmImageSpread::edtRefFileName, "/d/ref.csv");
  spread_execute();
  EXPECT_EQ(log(), (Lines{" spread_images() : No file selected. ", " spread_images() :  skipped.",
                          " spread_images() : Cannot open /d/b.img: No such file or directory.", " spread_images() : /d/b.img skipped."}));
}

}  // namespace
}  // namespace kestrin::test
