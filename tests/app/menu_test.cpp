// Every enabled item of every built window's menu, clicked as a user would with an image
// loaded: it either does its work (a window shows, a dialog asks, the log or the macro list
// grows) or logs exactly one "not available" line and nothing else.
#include <algorithm>
#include <map>
#include <set>

#include "app/window_ports.h"
#include "app_fixture.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::test {
namespace {

enum class Outcome {
  kWork,          // something the user sees or the recorder keeps, no "not available" line
  kNotAvailable,  // exactly one "not available" line; no window, nothing else logged
  kNothing,       // documented as doing nothing
};

struct Expected {
  Outcome outcome;
  const char* shows = nullptr;  // kWork: the window that must be visible afterwards
};

bool not_available(const std::string& line) {
  const std::string tail = "() : not available in this version.";
  return line.size() > tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

using MenuTest = AppTest;

TEST_F(MenuTest, EveryItemDoesItsWorkOrSaysItIsNotAvailable) {
  using O = Outcome;
  const std::map<std::pair<std::string, std::string>, Expected> expected = {
      {{"File", "Load Image"}, {O::kWork, "frmLog"}},
      {{"File", "Save Image"}, {O::kNotAvailable}},
      {{"File", "Load Intensity"}, {O::kWork}},
      {{"File", "Save Intensity"}, {O::kWork}},
      {{"File", "Load Mask Data"}, {O::kWork}},
      {{"File", "Save Mask Data"}, {O::kWork}},
      {{"File", "Load Param"}, {O::kWork}},
      {{"File", "Save Param"}, {O::kWork}},
      {{"File", "Import Mask File(BMP)"}, {O::kWork}},
      {{"File", "Print Image"}, {O::kNotAvailable}},
      {{"File", "Print Graph"}, {O::kNotAvailable}},
      {{"Tool", "Straight line integration"}, {O::kNotAvailable}},
      {{"Tool", "Calculate wave length"}, {O::kNotAvailable}},
      {{"Tool", "Script"}, {O::kWork, "frmScript"}},
      {{"Tool", "Cake"}, {O::kWork, "frmCake"}},
      {{"Tool", "Option"}, {O::kWork, "frmOption"}},
      {{"Tool", "Option(Color)"}, {O::kWork, "frmOptionColor"}},
      {{"Window", "Image"}, {O::kWork, "frmImage"}},
      {{"Window", "Intensity"}, {O::kWork, "frmNaxGraph"}},
      {{"Window", "Peaks"}, {O::kWork, "frmPeak"}},
      {{"Window", "Log"}, {O::kWork, "frmLog"}},
      {{"Window", "Fitting"}, {O::kWork, "frmPeakFitting"}},
      {{"Window", "Back Ground"}, {O::kWork, "frmBG"}},
      {{"Window", "Spot"}, {O::kNotAvailable}},
      {{"Window", "OscAna"}, {O::kWork, "frmOscAna"}},
      {{"Window", "Spot Analyze"}, {O::kWork, "frmSpotAnalyze"}},
      {{"Window", "Merge Image"}, {O::kWork, "frmMergeImage"}},
      {{"Window", "BatchFile"}, {O::kWork, "frmBatchFiles"}},
      {{"Window", "Spread Image"}, {O::kWork, "frmImageSpread"}},
      {{"IPmain", "Find Center"}, {O::kWork}},
      {{"IPmain", "Angle - Intensity"}, {O::kWork}},
      {{"IPmain", "Pixel - Intensity"}, {O::kNotAvailable}},
      {{"IPmain", "Automatic analysis"}, {O::kNotAvailable}},
      {{"IPmain", "Find Spots"}, {O::kWork}},
      {{"IPmain", "Sectoring"}, {O::kNotAvailable}},
      {{"IPmain", "Peak search"}, {O::kWork}},
      {{"IPmain", "Calc Tilt"}, {O::kNotAvailable}},
      {{"IPmain", "Angle - Intensity(fine)"}, {O::kNotAvailable}},
      {{"IPmain", "Spot search"}, {O::kWork, "frmSpot"}},
      {{"IPmain", "Find Center(without direct)"}, {O::kNotAvailable}},
      {{"Curved IP", "Angle - Intensity"}, {O::kNotAvailable}},
      {{"Help", "Help(&H)"}, {O::kNothing}},
      {{"Help", "Version Information(&A)"}, {O::kWork}},
  };
  const std::string image = write_ring_image("ring.img");
  dialogs_.answerFile(image, 1);
  click_menu("File", "Load Image");
  main().rbtnRectangle->setChecked(true);  // the straight line needs the rectangle by direction
  state().macro.MacroRecording = true;

  std::set<std::pair<std::string, std::string>> clicked;
  kgui::TMenuItem* root = main().MainMenu1->items();
  for (int i = 0; i < root->count(); ++i) {
    for (int j = 0; j < root->items(i)->count(); ++j) {
      kgui::TMenuItem* item = root->items(i)->items(j);
      const auto key = std::pair{root->items(i)->caption(), item->caption()};
      if (!item->enabled() || key.second == "Exit(&X)") continue;  // Exit ends the test's program
      SCOPED_TRACE(key.first + " > " + key.second);
      const auto found = expected.find(key);
      ASSERT_NE(found, expected.end()) << "a menu item without an expected outcome";
      clicked.insert(key);
      for (kgui::TForm* f : forms_)
        if (f != forms_[0]) f->hide();
      the_log().clear_history();
      state().macro.MacroList.clear();
      const size_t questions = dialogs_.questions().size();
      item->click();

      const auto& log = the_log().history();
      const size_t missing = size_t(std::count_if(log.begin(), log.end(), not_available));
      bool shown = false;
      for (kgui::TForm* f : forms_) shown |= f != forms_[0] && f->visible();
      const bool asked = dialogs_.questions().size() > questions;
      switch (found->second.outcome) {
        case O::kNotAvailable:
          EXPECT_EQ(missing, 1u);
          EXPECT_EQ(log.size(), 1u);
          EXPECT_FALSE(shown);
          break;
        case O::kWork:
          EXPECT_EQ(missing, 0u);
          EXPECT_TRUE(shown || asked || !log.empty() || !state().macro.MacroList.empty());
          if (found->second.shows) {
            kgui::TForm* form = app::find_form(found->second.shows);
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->visible());
          }
          break;
        case O::kNothing:
          EXPECT_TRUE(log.empty());
          EXPECT_FALSE(shown || asked);
          break;
      }
    }
  }
  EXPECT_EQ(clicked.size(), expected.size());  // no row of the table is stale
  for (kgui::TForm* f : forms_)
    if (f != forms_[0]) f->hide();
}

}  // namespace
}  // namespace kestrin::test
