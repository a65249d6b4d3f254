// The main window's mask and spot items offscreen: "Save Mask Data" and "Load Mask Data"
// through the scripted dialogs and their recorded lines, "Import Mask File(BMP)" after its
// message, and "Spot search" with the spot window's settings showing the spot window.
#include <algorithm>

#include "app/form_lookup.h"
#include "app_fixture.h"
#include "base/text_file.h"
#include "image/display/ksdib.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/spot_form_names.h"

namespace kestrin::test {
namespace {

using MaskAndSpotMenuTest = AppTest;

TEST_F(MaskAndSpotMenuTest, MaskFilesThroughTheMenuAndTheirScriptLines) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  ASSERT_EQ(current_image().NoImageFlag, 0);
  ImageMask& mask = state().image_mask;
  ASSERT_EQ(mask.bytes.size(), size_t(current_image().ImageWidth) * current_image().ImageHeight);
  mask.bytes[3] = 1;
  state().macro.MacroRecording = true;
  const std::string name = dir_.file("m.bgz");
  dialogs_.answerFile(name, 1);
  click_menu("File", "Save Mask Data");
  mask.bytes[3] = 0;
  dialogs_.answerFile(name, 1);
  click_menu("File", "Load Mask Data");
  EXPECT_EQ(mask.bytes[3], 1);
  EXPECT_EQ(state().macro.MacroList,
            (std::vector<std::string>{"Kestrin.SaveMaskFile('" + name + "');", "Kestrin.LoadMaskFile('" + name + "');"}));
  EXPECT_EQ(the_log().history().back(), " load_mask_proc : Successfully loaded ");
}

TEST_F(MaskAndSpotMenuTest, ImportMasksTheRedPixelsOfAPicture) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  const ImageStore& img = current_image();
  TKsDIB picture;
  picture.SetPixelFormat(KsPixelFormat::Bit24);
  picture.SetWidth(img.ImageWidth);
  picture.SetHeight(img.ImageHeight);
  uint8_t* row = picture.ScanLine(5);
  row[3 * 7 + 2] = 255;  // (7, 5) pure red
  row[3 * 8 + 1] = 1, row[3 * 8 + 2] = 255;
  picture.SaveToFile(dir_.file("mask.bmp"));
  const size_t questions = dialogs_.questions().size();
  dialogs_.answerModal(kgui::mrOk);  // the message box
  dialogs_.answerFile(dir_.file("mask.bmp"), 1);
  click_menu("File", "Import Mask File(BMP)");
  EXPECT_EQ(dialogs_.questions().size(), questions + 2);
  const ImageMask& mask = state().image_mask;
  EXPECT_EQ(std::count(mask.bytes.begin(), mask.bytes.end(), 1), 1);
  EXPECT_EQ(mask.bytes[7 + size_t(img.ImageWidth) * 5], 1);
}

TEST_F(MaskAndSpotMenuTest, SpotSearchReadsTheSpotWindowsSettingsAndShowsIt) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  ImageStore& img = current_image();
  std::fill(img.image_codes.begin(), img.image_codes.end(), uint16_t(100));
  img.image_codes[60 + size_t(img.ImageWidth) * 70] = 3000;
  kgui::TForm* spot = app::find_form(frmSpot::form);
  ASSERT_NE(spot, nullptr);
  spot->hide();
  click_menu("IPmain", "Spot search");
  EXPECT_TRUE(spot->visible());
  ASSERT_EQ(state().spot_list.SpotCount, 1);
  EXPECT_EQ(state().spot_list.SpotX[0], 60);
  EXPECT_EQ(state().spot_list.SpotY[0], 70);
  spot->hide();
}

}  // namespace
}  // namespace kestrin::test
