// The ring-mask window's commands: the grid tables, the ring list from a file and back from
// the grid, Subtract reaching the ring removal, and the crystal part (Miller grid, its edits
// and the ring painting).
#include "commands/mask_form_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/convert.h"
#include "image_window_fixture.h"
#include "ports/names/main_form_names.h"
#include "ports/names/mask_form_names.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class MaskCommandsTest : public ImageWindowTest {
protected:
  void SetUp() override {
    ImageWindowTest::SetUp();
    Ports p;
    p.prompts = &prompts_;
    p.file_dialogs = &dialogs_;
    install_ports(views_.ports(p));
  }
  std::string write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.file(name), std::ios::binary) << text;
    return dir_.file(name);
  }
  // A crystal file: ten lines skipped, the count, then one cubic crystal of a = 4 with
  // three reflections and a second crystal.
  std::string crystal_file() {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "comment\r\n";
    text += "2\r\nSi,0,4,4,4,90,90,90\r\n1,1,1\r\n2,2,0\r\n3,1,1\r\n0,0,0\r\nAu,0,4.08,4.08,4.08,90,90,90\r\n1,1,1\r\n0,0,0\r\n";
    return write("crystal.dat", text);
  }
  ScriptedFileDialogs dialogs_;
  TempDir dir_;
};

TEST_F(MaskCommandsTest, RingGridTable) {
  RingList l;
  l.ring_begin = {6, 12.345}, l.ring_end = {7.5, 13}, l.ring_correct = {1, 0};
  EXPECT_EQ(ring_grid_texts(l), (GridTexts{{"No.", "2th.begin", "2th.end", "correct"},
                                           {"1", "    6.00", "    7.50", "1"},
                                           {"2", "   12.35", "   13.00", "0"}}));
}

TEST_F(MaskCommandsTest, OpenRingMaskFileClearsFilterAndNameAndShowsTheRings) {
  dialogs_.set_open_filter_index(2);
  dialogs_.answers = {{write("rings.txt", "6,7,1\r\n12,13,0\r\n\r\n20,21,1\r\n"), 1}, {"", 1}};
  open_ring_mask_file_command();
  ASSERT_EQ(dialogs_.setups.size(), 1u);
  EXPECT_EQ(dialogs_.setups[0].filter, "");
  EXPECT_EQ(dialogs_.setups[0].file_name, "");
  EXPECT_EQ(state().rings.ring_end, (std::vector<double>{7, 13}));
  EXPECT_EQ(views_.ring_rows.size(), 3u);
  EXPECT_EQ(views_.ring_rows[2][2], "   13.00");
  open_ring_mask_file_command();  // cancelled: the list stays
  EXPECT_EQ(state().rings.ring_begin.size(), 2u);
}

TEST_F(MaskCommandsTest, UpdateStopsAtTheFirstIncompleteRow) {
  views_.ring_cells = {{"No.", "2th.begin", "2th.end", "correct"},
                       {"1", " 6.00", "7.00", "1"},
                       {"2", "12.00", "", "0"},
                       {"3", "20.00", "21.00", "1"}};
  update_ring_list();
  EXPECT_EQ(state().rings.ring_begin, std::vector<double>{6});
  EXPECT_EQ(views_.ring_rows, ring_grid_texts(state().rings));
  views_.ring_cells[2][2] = "x";
  EXPECT_THROW(update_ring_list(), ConversionError);
  EXPECT_EQ(state().rings.ring_begin, std::vector<double>{6});  // the rings before it stay
}

TEST_F(MaskCommandsTest, SubtractReadsTheGridAndRemovesTheRings) {
  load_image(100, 100);
  views_.ring_cells = {{}, {"1", "6", "7", "1"}};
  subtract_rings_command();
  EXPECT_EQ(state().rings.ring_begin, std::vector<double>{6});
  EXPECT_TRUE(controls().checked(frmMain::rbtnRectangle));  // the whole-image region was set
  EXPECT_EQ(controls().item_index(frmMain::cmbDirection), 6);
}

TEST_F(MaskCommandsTest, CrystalPartListsMaterialsAndEditsWidths) {
  miller_cell_edited(1, "5");  // no crystal: nothing
  EXPECT_TRUE(views_.miller_rows.empty());
  dialogs_.answers = {{crystal_file(), 1}};
  open_crystal_file_command();
  EXPECT_EQ(views_.materials, (std::vector<std::string>{"Si", "Au"}));
  EXPECT_EQ(views_.miller_rows, (GridTexts{{"No.", "MI", "d値", "Mask幅", "Use"},
                                           {"1", "(1,1,1)", "3", "0", "true"},
                                           {"2", "(2,2,0)", "8", "0", "true"},
                                           {"3", "(3,1,1)", "11", "0", "true"}}));
  state().hklParam[0].use[1] = false;
  miller_cell_edited(2, "6");
  miller_cell_edited(3, "wide");  // not a number: nothing
  miller_cell_edited(4, "6");     // no such reflection: nothing
  EXPECT_EQ(views_.miller_rows[2], (std::vector<std::string>{"2", "(2,2,0)", "8", "6", "true"}));
  EXPECT_EQ(views_.miller_rows[3][3], "0");
  controls().set_item_index(frmMask::cmbMaterial, 1);
  material_chosen();
  EXPECT_EQ(views_.miller_rows.size(), 2u);
}

TEST_F(MaskCommandsTest, MaskPaintsUsedReflectionsAndClearsTheOthers) {
  load_image(200, 200);
  IntegrationParams& p = state().integration_params;
  p.X0 = 100, p.Y0 = 100, p.pixel_y = 0.1, p.Lo = 6, p.pixel_x = 0.1, p.wavelength = 1;
  dialogs_.answers = {{crystal_file(), 1}};
  open_crystal_file_command();
  HklParam& si = state().hklParam[0];
  si.mask_width = {4, 4, 4};
  si.use[2] = false;
  std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), 1);
  clear_views();
  mask_reflections_command();
  EXPECT_EQ(views_.redraws, 1);
  // (1,1,1) at 28.0 pixels is set; (3,1,1) at 69.0 pixels is cleared; the rest stays.
  const ImageMask& m = state().image_mask;
  EXPECT_TRUE(m.masked(128, 100) && m.masked(100, 72));
  EXPECT_FALSE(m.masked(169, 100) || m.masked(100, 31));
  EXPECT_TRUE(m.masked(100, 100) && m.masked(150, 100) && m.masked(175, 100));
}

}  // namespace
}  // namespace kestrin::test
