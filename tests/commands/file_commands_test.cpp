// The file commands: how each prepares the shared dialog, what it remembers, which call it
// makes and the script line it records, also after a cancel.
#include <gtest/gtest.h>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "image/loading_fixture.h"
#include "model/macro_recorder.h"
#include "support/pattern_fixture.h"
#include "support/ring_image.h"

namespace kestrin::test {
namespace {

int filter_entries(const std::string& filter) {
  return int(std::count(filter.begin(), filter.end(), '|') + 1) / 2;
}

class FileCommandsTest : public LoadingTest {
protected:
  void SetUp() override {
    LoadingTest::SetUp();
    Ports p = ports();
    p.file_dialogs = &dialogs_;
    install_ports(p);
    state().macro.MacroRecording = true;
  }
  void TearDown() override {
    Ports p = ports();
    p.file_dialogs = nullptr;
    install_ports(p);
    LoadingTest::TearDown();
  }
  const std::vector<std::string>& macro() const { return state().macro.MacroList; }
  ScriptedFileDialogs dialogs_;
};

TEST_F(FileCommandsTest, ImageDialogRemembersTheFolderAndRecordsTheName) {
  state().dialog_slots.folder[kSlotImageOpen] = "/start/";
  state().dialog_slots.filter_index[kSlotImageOpen] = 3;
  dialogs_.answers = {{"/data/a.img", 2}, {"", 4}};
  load_img_dialog();
  const FileDialogSetup& s = dialogs_.setups.at(0);
  EXPECT_EQ(s.folder, "/start/");
  EXPECT_EQ(s.filter, kImageFilter);
  EXPECT_EQ(s.filter_index, 3);
  EXPECT_TRUE(s.must_exist);
  EXPECT_FALSE(s.overwrite_prompt);
  EXPECT_EQ(s.file_name, "");
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], "/data/");
  EXPECT_EQ(state().dialog_slots.filter_index[kSlotImageOpen], 2);
  load_img_dialog();  // cancelled: the next dialog opens in the current folder
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], "");
  EXPECT_EQ(macro(), (std::vector<std::string>{"Kestrin.LoadImageFile('/data/a.img');",
                                               "Kestrin.LoadImageFile('');"}));
}

TEST_F(FileCommandsTest, PatternDialogsOfferTheirFiltersAndRecordACancel) {
  load_nax_dialog();  // cancelled: the loader still runs and reports the empty name
  save_nax_dialog();
  ASSERT_EQ(dialogs_.setups.size(), 2u);
  EXPECT_EQ(filter_entries(dialogs_.setups[0].filter), 7);
  EXPECT_EQ(filter_entries(dialogs_.setups[1].filter), 9);
  EXPECT_TRUE(dialogs_.setups[1].overwrite_prompt);
  EXPECT_EQ(dialogs_.setups[1].default_ext, "");
  EXPECT_EQ(log().at(0), " load_nax_proc() : No file selected. ");
  EXPECT_EQ(macro(), (std::vector<std::string>{"Kestrin.LoadNaxFile('');", "Kestrin.SaveNaxFile('');"}));
}

TEST_F(FileCommandsTest, ParamDialogsChangeOnlyFilterAndNameAndCallNothingOnCancel) {
  state().dialog_slots.folder[kSlotImageOpen] = "/img/";
  state().dialog_slots.filter_index[kSlotImageOpen] = 4;
  dialogs_.answers = {{"", 4}};
  load_img_dialog();
  load_param_dialog();  // cancelled
  const FileDialogSetup& s = dialogs_.setups.at(1);
  EXPECT_EQ(s.folder, "/img/");
  EXPECT_EQ(s.filter_index, 4);
  EXPECT_TRUE(s.must_exist);
  EXPECT_EQ(s.filter, kParamFilter);
  EXPECT_EQ(s.file_name, "default.kes");
  save_param_dialog();  // cancelled: no "default.kes" appears anywhere
  EXPECT_FALSE(file_exists("default.kes"));
  EXPECT_EQ(macro().back(), "Kestrin.SaveParamFile('');");
}

TEST_F(FileCommandsTest, ParamDialogLoadsTheChosenFileAndQuotesItsName) {
  const std::string name = dir_.file("it's.kes");
  dialogs_.answers = {{name, 1}, {name, 1}};
  save_param_dialog();
  ASSERT_TRUE(file_exists(name));
  params().Lo = 1;
  load_param_dialog();
  EXPECT_EQ(params().Lo, 500);
  EXPECT_EQ(macro().back(), "Kestrin.LoadParamFile(" + js_quote(name) + ");");
  EXPECT_NE(macro().back().find("it\\'s.kes"), std::string::npos);
}

TEST_F(FileCommandsTest, MaskDialogsRunInTheirSlotsAndRecordTheName) {
  load_into_current_image(std::vector<uint16_t>(16, 0), 8, 2);
  state().dialog_slots.folder[kSlotMaskSave] = "/masks/";
  state().dialog_slots.filter_index[kSlotMaskSave] = 1;
  const std::string name = dir_.file("m.bgz");
  dialogs_.answers = {{name, 1}, {name, 1}, {"", 1}};
  save_mask_dialog();
  load_mask_dialog();
  load_mask_dialog();  // cancelled: the loader says so, and the line is still recorded
  ASSERT_EQ(dialogs_.setups.size(), 3u);
  const FileDialogSetup& save = dialogs_.setups[0];
  EXPECT_EQ(save.folder, "/masks/");
  EXPECT_EQ(save.filter, kMaskFilter);
  EXPECT_EQ(save.default_ext, "bgz");
  EXPECT_TRUE(save.overwrite_prompt);
  EXPECT_EQ(dialogs_.setups[1].folder, "");
  EXPECT_TRUE(dialogs_.setups[1].must_exist);
  EXPECT_EQ(dialogs_.setups[2].folder, dir_.path());
  EXPECT_EQ(log(), (std::vector<std::string>{" save_mask_proc : Successfully saved to " + name,
                                              " load_mask_proc : Successfully loaded ", " load_mask_proc() : cancel "}));
  EXPECT_EQ(macro(), (std::vector<std::string>{"Kestrin.SaveMaskFile(" + js_quote(name) + ");",
                                               "Kestrin.LoadMaskFile(" + js_quote(name) + ");",
                                               "Kestrin.LoadMaskFile('');"}));
}

}  // namespace
}  // namespace kestrin::test
