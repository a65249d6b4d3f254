// The ring-mask window offscreen: its visible and hidden parts, a ring file shown in the
// grid, the user's cell edits read back by Update, and Subtract reaching the ring removal.
#include <QTableWidget>
#include <fstream>

#include "app/form_lookup.h"
#include "app/mask_form.h"
#include "app_fixture.h"
#include "model/state.h"

namespace kestrin::test {
namespace {

using app::TfrmMask;

class MaskWindowTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    form_ = app::form_of<TfrmMask>();
    ASSERT_NE(form_, nullptr);
    form_->showForm();
  }
  // Types `text` into cell (col, row) of a grid as the user's editor commits it.
  static void type(kgui::TStringGrid* grid, int col, int row, const std::string& text) {
    static_cast<QTableWidget*>(grid->widget())->item(row - 1, col - 1)->setText(QString::fromStdString(text));
  }
  std::string ring_file() {
    std::ofstream(dir_.file("rings.txt"), std::ios::binary) << "3.5,4.5,1\r\n6.5,7.5,1\r\n\r\n9,10,1\r\n";
    return dir_.file("rings.txt");
  }
  TfrmMask* form_ = nullptr;
};

TEST_F(MaskWindowTest, RingPartShownCrystalPartHidden) {
  EXPECT_EQ(form_->caption(), "KES for Windows (Mask)");
  EXPECT_EQ(form_->pbtnOpenRingMaskFile->caption(), "Open Ring Mask File");
  EXPECT_EQ(form_->pbtnUpdate->caption(), "Update");
  EXPECT_EQ(form_->pbtnSubtract->caption(), "Subtract");
  for (kgui::TControl* c : std::initializer_list<kgui::TControl*>{form_->pbtnOpenRingMaskFile, form_->sgridReplaceSetting,
                                                                  form_->pbtnUpdate, form_->pbtnSubtract})
    EXPECT_TRUE(c->visible()) << c->name();
  for (kgui::TControl* c : std::initializer_list<kgui::TControl*>{form_->pbtnOpenCrystalFile, form_->cmbMaterial,
                                                                  form_->sgridMillerIndexList, form_->pbtnMask})
    EXPECT_FALSE(c->visible()) << c->name();
  const kgui::TStringGrid& g = *form_->sgridReplaceSetting;
  EXPECT_EQ(g.colCount(), 4);
  EXPECT_EQ(g.cell(1, 0), "2th.begin");
  EXPECT_EQ(g.cell(3, 0), "correct");
  EXPECT_EQ(g.cell(1, 1), "");
}

TEST_F(MaskWindowTest, FileRingsEditedInTheGridAndReadBackByUpdate) {
  dialogs_.answerFile(ring_file(), 1);
  form_->pbtnOpenRingMaskFile->click();
  const kgui::TStringGrid& g = *form_->sgridReplaceSetting;
  EXPECT_EQ(g.cell(0, 2), "2");
  EXPECT_EQ(g.cell(2, 2), "    7.50");
  EXPECT_EQ(g.cell(1, 3), "");  // the file's rings end at its empty third line
  EXPECT_EQ(state().rings.ring_begin, (std::vector<double>{3.5, 6.5}));

  type(form_->sgridReplaceSetting, 1, 1, "3.25");  // no crystal: the edit only changes the cell
  EXPECT_TRUE(state().hklParam.empty());
  form_->pbtnUpdate->click();
  EXPECT_EQ(state().rings.ring_begin, (std::vector<double>{3.25, 6.5}));
  EXPECT_EQ(g.cell(1, 1), "    3.25");

  type(form_->sgridReplaceSetting, 2, 2, "");  // row 2 incomplete: only ring 1 is kept
  form_->pbtnUpdate->click();
  EXPECT_EQ(state().rings.ring_begin, (std::vector<double>{3.25}));
  EXPECT_EQ(g.cell(1, 2), "");
}

TEST_F(MaskWindowTest, SubtractReachesTheRingRemoval) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  main().rbtnSector->setChecked(true);
  dialogs_.answerFile(ring_file(), 1);
  form_->pbtnOpenRingMaskFile->click();
  form_->pbtnSubtract->click();
  EXPECT_TRUE(main().rbtnRectangle->checked());  // the ring removal integrates the whole image
  EXPECT_EQ(state().rings.ring_begin.size(), 2u);
}

}  // namespace
}  // namespace kestrin::test
