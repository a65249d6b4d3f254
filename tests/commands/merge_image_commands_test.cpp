// The merge window's commands without widgets: the list and its three-state sort, the
// rectangle edits, the scale radios and edge edits over the gauge, the gauge drag, and the
// picture saved as a BMP file that PIL reads with the expected indices.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "base/paths.h"
#include "commands/file_list_commands.h"
#include "commands/main_form_commands.h"
#include "commands/merge_image_commands.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "ports/names/image_form_names.h"
#include "ports/names/merge_image_names.h"
#include "support/pattern_fixture.h"
#include "support/raxis_fixture.h"
#include "support/recording_views.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class MergeCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.file_dialogs = &dialogs_;
    install_ports(views_.ports(p));
  }
  void TearDown() override { reset_headless_ports(); }
  // A 6 x 4 R-AXIS image whose code at (x, y) is 40 y + 10 x.
  std::string image(const std::string& name) {
    RaxisFixture f;
    f.width = 6;
    f.height = 4;
    f.codes.resize(24);
    for (size_t i = 0; i < 24; ++i) f.codes[i] = uint16_t(40 * (i / 6) + 10 * (i % 6));
    return f.write(dir_.file(name));
  }
  void merge_one(const std::string& path) {
    set_file_list(frmMergeImage::memFileName, {path});
    for (const auto& [name, text] : {std::pair{frmMergeImage::edtX0, "0"},
                                     {frmMergeImage::edtY0, "0"},
                                     {frmMergeImage::edtX1, "5"},
                                     {frmMergeImage::edtY1, "3"}})
      controls().set_text(name, text);
    merge_create();
    ASSERT_TRUE(merge_state().Merged) << (log().empty() ? "" : log().back());
  }
  ScriptedFileDialogs dialogs_;
  RecordingViews views_;
  TempDir dir_;
};

TEST_F(MergeCommandsTest, SelectionAppendsAndTheFirstSortAfterItAscends) {
  set_file_list(frmMergeImage::memFileName, {"/z/b.img"});
  dialogs_.window_answers = {{{"/a/c.img", "/c/a.img", "/b/B.img"}, 1}};
  merge_state().sort_state = 1;
  merge_select_files();
  ASSERT_EQ(dialogs_.window_runs.size(), 1u);
  EXPECT_EQ(dialogs_.window_runs[0].dialog, "frmMergeImage.opdImageFile");
  EXPECT_TRUE(dialogs_.window_runs[0].setup.multi_select);
  EXPECT_EQ(dialogs_.window_runs[0].setup.filter, kImageListFilter);
  EXPECT_EQ(file_list(frmMergeImage::memFileName), (Lines{"/z/b.img", "/a/c.img", "/c/a.img", "/b/B.img"}));
  // By name without the folder, as bytes: capitals first.
  merge_sort_list();
  EXPECT_EQ(file_list(frmMergeImage::memFileName), (Lines{"/b/B.img", "/c/a.img", "/z/b.img", "/a/c.img"}));
  merge_sort_list();
  EXPECT_EQ(file_list(frmMergeImage::memFileName), (Lines{"/a/c.img", "/z/b.img", "/c/a.img", "/b/B.img"}));
  merge_sort_list();
  EXPECT_EQ(file_list(frmMergeImage::memFileName), (Lines{"/b/B.img", "/c/a.img", "/z/b.img", "/a/c.img"}));
  merge_select_files();  // cancelled: the list and the sort state stay
  EXPECT_EQ(merge_state().sort_state, 0);
  merge_clear_list();
  EXPECT_TRUE(file_list(frmMergeImage::memFileName).empty());
}

TEST_F(MergeCommandsTest, EnterInARectangleEditSelectsTheAreaAndRedraws) {
  for (const auto& [name, text] : {std::pair{frmMergeImage::edtX0, "3"},
                                   {frmMergeImage::edtY0, "4"},
                                   {frmMergeImage::edtX1, "30"},
                                   {frmMergeImage::edtY1, "40"}})
    controls().set_text(name, text);
  merge_area_key('A');
  EXPECT_EQ(views_.redraws, 0);
  merge_area_key(kEnterKey);
  const SelectedArea& a = state().selected_area;
  EXPECT_EQ((std::array{a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1}), (std::array{3, 4, 30, 40}));
  EXPECT_EQ(views_.redraws, 1);
}

TEST_F(MergeCommandsTest, TheEditsAreReadOnlyForAListThatIsNotEmpty) {
  controls().set_text(frmMergeImage::edtX0, "left");
  merge_create();
  EXPECT_EQ(log(), Lines{"Create Merge Image. File Num Error."});
  set_file_list(frmMergeImage::memFileName, {image("a.img")});
  EXPECT_THROW(merge_create(), ConversionError);
}

// The display mode is shared with the image window: it follows the radios before the first
// picture too, and so does the gauge, which the next picture is made with.
TEST_F(MergeCommandsTest, ScaleRadiosSetTheSharedModeAndTheGaugeWithOrWithoutAPicture) {
  merge_scale_clicked(true);
  EXPECT_EQ(state().display_scale.DisplayMode, 0);
  EXPECT_EQ(merge_state().gauge.max, 10000);
  EXPECT_TRUE(controls().checked(frmImage::rbtnLogScale));
  merge_scale_clicked(false);
  EXPECT_EQ(state().display_scale.DisplayMode, 1);
  merge_one(image("a.img"));
  merge_scale_clicked(true);
  EXPECT_EQ(state().display_scale.DisplayMode, 0);
  const MergeGauge& g = merge_state().gauge;
  EXPECT_EQ((std::array{g.min, g.max, g.low, g.high}), (std::array{0, 10000, 0, 10000}));
  EXPECT_EQ((Lines{controls().text(frmMergeImage::edtLowEdge), controls().text(frmMergeImage::edtHighEdge),
                   controls().text(frmMergeImage::lblLowIndex), controls().text(frmMergeImage::lblHighIndex)}),
            (Lines{"0", "10000", "0", "10000"}));
  merge_scale_clicked(false);
  EXPECT_EQ(state().display_scale.DisplayMode, 1);
  EXPECT_EQ(controls().text(frmMergeImage::edtHighEdge), "1000");
  EXPECT_EQ(merge_state().MergeDIB.ScanLine(3)[5], 43);  // code 170 of 1000: Trunc(43.35)
}

TEST_F(MergeCommandsTest, EdgeEditsAndTheGaugeDragRebuildTheLevels) {
  merge_one(image("a.img"));
  controls().set_text(frmMergeImage::edtHighEdge, "200");
  merge_high_edge_key(kEnterKey);
  EXPECT_EQ(controls().text(frmMergeImage::lblHighIndex), "200");
  EXPECT_EQ(merge_state().MergeDIB.ScanLine(3)[5], 216);  // Trunc(170 / 200 * 255)
  controls().set_text(frmMergeImage::edtLowEdge, "x");
  merge_low_edge_key('A');  // not Enter: the text is not read
  EXPECT_THROW(merge_low_edge_key(kEnterKey), ConversionError);

  // A drag at column 50 of 100 moves the high edge (nearer) to 100; the release rebuilds.
  EXPECT_FALSE(merge_gauge_move(50, 100));  // no press yet
  merge_gauge_down();
  EXPECT_TRUE(merge_gauge_move(50, 100));
  EXPECT_EQ(controls().text(frmMergeImage::lblHighIndex), "100");
  EXPECT_EQ(merge_state().MergeDIB.ScanLine(3)[5], 216);  // not before the release
  EXPECT_TRUE(merge_gauge_up());
  EXPECT_EQ(merge_state().MergeDIB.ScanLine(3)[5], 255);
  EXPECT_FALSE(merge_gauge_up());
}

TEST_F(MergeCommandsTest, TheMagnificationAndItsLabel) {
  merge_magnification(30);
  EXPECT_EQ(merge_state().magnification, 30);
  EXPECT_EQ(controls().text(frmMergeImage::Label1), "30%");
}

TEST_F(MergeCommandsTest, SavingAsksForANameAndPilReadsTheIndices) {
  merge_save();
  EXPECT_TRUE(dialogs_.window_runs.empty());  // no picture: no dialog
  merge_one(image("a.img"));
  merge_save();  // cancelled
  EXPECT_EQ(log().back(), " save_merge_img_proc() : cancel ");
  ASSERT_EQ(dialogs_.window_runs.size(), 1u);
  const FileDialogSetup& s = dialogs_.window_runs[0].setup;
  EXPECT_EQ(dialogs_.window_runs[0].dialog, "frmMergeImage.svdMergeImage");
  EXPECT_TRUE(s.overwrite_prompt);
  EXPECT_EQ(s.filter, "BITMAP (*.bmp)|*.BMP");
  EXPECT_EQ(s.default_ext, "bmp");
  EXPECT_EQ(s.file_name, "");
  const std::string bmp = dir_.file("merged.bmp");
  dialogs_.window_answers = {{{bmp}, 1}};
  merge_save();
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageSave], dir_.path());
  EXPECT_EQ(state().dialog_slots.filter_index[kSlotImageSave], 1);

  KESTRIN_REQUIRE_PEER("PIL");
  std::string out;
  ASSERT_EQ(run_peer_script(dir_, "from PIL import Image\nim = Image.open('" + bmp + "')\nprint(im.mode, im.size, list(im.getdata()))\n", &out), 0)
      << out;
  // Levels of codes 40 y + 10 x on the linear scale 0..1000: Trunc(v / 1000 * 255).
  std::string expected = "P (6, 4) [";
  for (int i = 0; i < 24; ++i) expected += (i ? ", " : "") + std::to_string((40 * (i / 6) + 10 * (i % 6)) * 255 / 1000);
  EXPECT_EQ(out, expected + "]\n");
}

}  // namespace
}  // namespace kestrin::test
