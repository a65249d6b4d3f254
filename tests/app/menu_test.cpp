// Every enabled item of every built window's menu and every flat button of the built windows,
// clicked as a user would with an image loaded and its pattern searched: each either does its
// work (a window shows, a dialog asks, the log, the macro list or the clipboard takes
// something) or logs exactly one "not available" line and nothing else.
#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "commands/nax_graph_commands.h"
#include "app/form_lookup.h"
#include "app/panel_button.h"
#include "app/placeholder_forms.h"
#include "app_fixture.h"
#include "model/state.h"
#include "platform/gui/clipboard.h"
#include "ports/log.h"
#include "ports/names/batch_files_names.h"
#include "ports/names/bg_form_names.h"
#include "ports/names/image_form_names.h"
#include "ports/names/image_spread_names.h"
#include "ports/names/image_whole_names.h"
#include "ports/names/log_window_names.h"
#include "ports/names/mask_form_names.h"
#include "ports/names/merge_image_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/names/option_color_names.h"
#include "ports/names/option_form_names.h"
#include "ports/names/osc_ana_form_names.h"
#include "ports/names/peak_fitting_form_names.h"
#include "ports/names/peak_form_names.h"
#include "ports/names/spot_analyze_form_names.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

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
  // kWork whose result no hidden window shows: true once the click made it. `forget` (when
  // set) clears an earlier result before the click.
  bool (*made)() = nullptr;
  void (*forget)() = nullptr;
};

// A button's key in the expected outcomes: its window's and its own name.
std::pair<std::string, std::string> button(ControlName name) { return {std::string(name.form), std::string(name.control)}; }

bool not_available(const std::string& line) {
  const std::string tail = "() : not available in this version.";
  return line.size() > tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

class MenuTest : public AppTest {
protected:
  // Clicks `click` with the windows other than the main window hidden, and checks what follows
  // against the expected outcome.
  void check_outcome(const Expected& expected, const std::function<void()>& click) {
    for (kgui::TForm* f : forms_)
      if (f != forms_[0]) f->hide();
    the_log().clear_history();
    state().macro.MacroList.clear();
    kgui::Clipboard().setAsText("");
    const size_t questions = dialogs_.questions().size();
    if (expected.forget) expected.forget();
    click();

    const auto& log = the_log().history();
    const size_t missing = size_t(std::count_if(log.begin(), log.end(), not_available));
    bool shown = false;
    for (kgui::TForm* f : forms_) shown |= f != forms_[0] && f->visible();
    const bool asked = dialogs_.questions().size() > questions;
    const bool copied = !kgui::Clipboard().asText().empty() || !kgui::Clipboard().image().isNull();
    switch (expected.outcome) {
      case Outcome::kNotAvailable:
        EXPECT_EQ(missing, 1u);
        EXPECT_EQ(log.size(), 1u);
        EXPECT_FALSE(shown);
        break;
      case Outcome::kWork:
        EXPECT_EQ(missing, 0u);
        if (expected.made)
          EXPECT_TRUE(expected.made());
        else
          EXPECT_TRUE(shown || asked || copied || !log.empty() || !state().macro.MacroList.empty());
        if (expected.shows) {
          kgui::TForm* form = app::find_form(expected.shows);
          ASSERT_NE(form, nullptr);
          EXPECT_TRUE(form->visible());
        }
        break;
      case Outcome::kNothing:
        EXPECT_TRUE(log.empty());
        EXPECT_FALSE(shown || asked || copied);
        break;
    }
  }
  // An image with its 2theta pattern, searched for peaks; recording on.
  void load_and_integrate() {
    integrate_ring_image(4);  // the straight line needs the rectangle by direction
    peak_search_and_show();
    ASSERT_GT(state().peak_table.count, 0);
    fit_window().show_fit_results();  // as a fitting run leaves the grid
    state().macro.MacroRecording = true;
  }
};

TEST_F(MenuTest, EveryItemDoesItsWorkOrSaysItIsNotAvailable) {
  using O = Outcome;
  const std::map<std::pair<std::string, std::string>, Expected> expected = {
      {{"File", "Load Image"}, {O::kWork, "frmLog"}},
      {{"File", "Save Image"}, {O::kWork}},
      {{"File", "Load Intensity"}, {O::kWork}},
      {{"File", "Save Intensity"}, {O::kWork}},
      {{"File", "Load Mask Data"}, {O::kWork}},
      {{"File", "Save Mask Data"}, {O::kWork}},
      {{"File", "Load Param"}, {O::kWork}},
      {{"File", "Save Param"}, {O::kWork}},
      {{"File", "Import Mask File(BMP)"}, {O::kWork}},
      {{"File", "Print Image"}, {O::kWork}},
      {{"File", "Print Graph"}, {O::kWork}},
      {{"Tool", "Straight line integration"}, {O::kWork}},
      {{"Tool", "Calculate wave length"}, {O::kWork}},
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
      {{"Window", "Spot"}, {O::kWork, "frmSpot"}},
      {{"Window", "OscAna"}, {O::kWork, "frmOscAna"}},
      {{"Window", "Spot Analyze"}, {O::kWork, "frmSpotAnalyze"}},
      {{"Window", "Merge Image"}, {O::kWork, "frmMergeImage"}},
      {{"Window", "BatchFile"}, {O::kWork, "frmBatchFiles"}},
      {{"Window", "Spread Image"}, {O::kWork, "frmImageSpread"}},
      {{"IPmain", "Find Center"}, {O::kWork}},
      {{"IPmain", "Angle - Intensity"}, {O::kWork}},
      {{"IPmain", "Pixel - Intensity"}, {O::kWork}},
      {{"IPmain", "Automatic analysis"}, {O::kWork}},
      {{"IPmain", "Find Spots"}, {O::kWork}},
      {{"IPmain", "Sectoring"}, {O::kWork}},
      {{"IPmain", "Peak search"}, {O::kWork}},
      {{"IPmain", "Calc Tilt"}, {O::kWork}},
      {{"IPmain", "Angle - Intensity(fine)"}, {O::kWork}},
      {{"IPmain", "Spot search"}, {O::kWork, "frmSpot"}},
      {{"IPmain", "Find Center(without direct)"}, {O::kWork}},
      {{"Curved IP", "Angle - Intensity"}, {O::kWork}},
      {{"Help", "Help(&H)"}, {O::kNothing}},
      {{"Help", "Version Information(&A)"}, {O::kWork}},
  };
  load_and_integrate();

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
      check_outcome(found->second, [item] { item->click(); });
    }
  }
  EXPECT_EQ(clicked.size(), expected.size());  // no row of the table is stale
  for (kgui::TForm* f : forms_)
    if (f != forms_[0]) f->hide();
}

// The same for every flat button of the built windows other than the main window.
TEST_F(MenuTest, EveryButtonOfTheBuiltWindowsDoesItsWorkOrSaysItIsNotAvailable) {
  using O = Outcome;
  const std::map<std::pair<std::string, std::string>, Expected> expected = {
      {button(frmLog::pbtnClearLog), {O::kNothing}},
      {button(frmLog::pbtnClose), {O::kNothing}},
      {button(frmNaxGraph::pbtnLoadIntensity), {O::kWork}},
      {button(frmNaxGraph::pbtnSaveIntensity), {O::kWork}},
      {button(frmNaxGraph::pbtnDefaultRegion), {O::kWork, "frmNaxGraph"}},
      {button(frmNaxGraph::pbtnPeakSearch), {O::kWork, "frmNaxGraph"}},
      {button(frmNaxGraph::pbtnPrintIntensity), {O::kWork}},
      {button(frmNaxGraph::pbtnReDraw), {O::kWork, "frmNaxGraph"}},
      {button(frmNaxGraph::pbtnCopyClipboard), {O::kWork}},
      {button(frmNaxGraph::pbtnClose), {O::kNothing}},
      {button(frmPeak::pbtnLoadPeak), {O::kWork}},
      {button(frmPeak::pbtnSavePeak), {O::kWork}},
      {button(frmPeak::pbtnDeletePeak), {O::kNothing}},  // nothing selected
      {button(frmPeak::pbtnCalcDistance), {O::kNothing}},  // no pixel pattern: refused silently
      {button(frmPeak::pbtnPrint), {O::kWork}},
      {button(frmPeak::pbtnPeakFitting), {O::kWork, "frmPeakFitting"}},
      {button(frmPeak::pbtnCopyClipboard), {O::kWork}},
      {button(frmPeak::pbtnClose), {O::kNothing}},
      {button(frmPeakFitting::pbtnReFitting), {O::kNothing}},  // no pattern to fit
      {button(frmPeakFitting::pbtnFileSave), {O::kWork}},
      {button(frmImage::pbtnLoadImage), {O::kWork, "frmLog"}},
      {button(frmImage::pbtnClearMask), {O::kWork}},
      {button(frmImage::pbtnFindCenter), {O::kWork}},
      {button(frmImage::pbtnLoadMask), {O::kWork}},
      {button(frmImage::pbtnSaveMask), {O::kWork}},
      {button(frmImage::pbtnFindSpots), {O::kWork}},
      {button(frmImage::pbtnPrintImage), {O::kWork}},
      {button(frmImage::pbtnSaveImage), {O::kWork}},
      {button(frmImageWhole::pbtnWide), {O::kNothing}},  // hidden, with no action
      {button(frmImageWhole::pbtnTele), {O::kNothing}},  // hidden, with no action
      {button(frmMask::pbtnOpenRingMaskFile), {O::kWork}},
      {button(frmMask::pbtnUpdate), {O::kNothing}},    // an empty ring grid
      {button(frmMask::pbtnSubtract), {O::kWork}},
      {button(frmMask::pbtnOpenCrystalFile), {O::kWork}},
      {button(frmMask::pbtnMask), {O::kNothing}},  // no crystal chosen
      {button(frmBG::pbtnLoadImage), {O::kWork}},
      {button(frmBG::Button1), {O::kNothing}},  // Pause outside a run
      {button(frmBG::Button2), {O::kNothing}},  // Cancel outside a run
      // Make BG fills the background, whose window is hidden here.
      {button(frmBG::pbtnExecuteFiltering),
       {O::kWork, nullptr, [] { return !state().made_bg_codes.empty(); }, [] { state().made_bg_codes.clear(); }}},
      {button(frmBG::PanelButton1), {O::kWork}},
      {button(frmBG::pbtnSubtractBG), {O::kWork}},
      {button(frmBG::pbtnSaveImage), {O::kWork}},
      {button(frmSpot::pbtnSpotSearch), {O::kWork, "frmSpot"}},
      {button(frmSpot::pbtnSpotSearchAdd), {O::kNothing}},  // the edits' rectangle leaves the image
      {button(frmSpot::pbtnDeleteSpotRectArea), {O::kWork, "frmSpot"}},
      {button(frmSpot::pbtnDeleteSpotList), {O::kWork, "frmSpot"}},
      {button(frmSpot::pbtnDeleteSameSpot), {O::kWork, "frmSpot"}},
      {button(frmSpot::PanelButton1), {O::kWork, "frmSpot"}},
      {button(frmSpot::pbtnSavePeak), {O::kWork}},
      {button(frmSpot::pbtnLoadSpot), {O::kWork}},
      {button(frmSpot::pbtnClose), {O::kNothing}},
      {button(frmSpotAnalyze::pbtnSavePeak), {O::kWork}},
      {button(frmSpotAnalyze::PanelButton1), {O::kWork}},
      {button(frmSpotAnalyze::pbtnClose), {O::kNothing}},
      {button(frmSpotAnalyze::pbtnCalc), {O::kNothing}},  // no spots: Del. All Spot came first
      {button(frmSpotAnalyze::btnCalcAll), {O::kWork}},
      {button(frmSpotAnalyze::btnCalcStep), {O::kWork}},
      {button(frmSpotAnalyze::btnRetry), {O::kNothing}},  // no step run
      {button(frmSpotAnalyze::btnAbort), {O::kNothing}},  // no run
      {button(frmSpotAnalyze::pbtn2ThetaCalc), {O::kWork}},
      {button(frmOscAna::pbtnSpotList), {O::kWork}},
      {button(frmOscAna::pbtnFileSelect), {O::kWork}},
      {button(frmOscAna::pbtnExecute), {O::kWork}},
      {button(frmOscAna::Button1), {O::kNothing}},  // Pause outside a run
      {button(frmOscAna::Button3), {O::kNothing}},  // Continue outside a run
      {button(frmOscAna::Button2), {O::kNothing}},  // Cancel outside a run
      {button(frmOption::pbtnApply), {O::kNothing}},       // stores the options as shown
      {button(frmOption::pbtnCancel), {O::kNothing}},
      {button(frmOptionColor::pbtnApply), {O::kNothing}},  // stores the colours as shown
      {button(frmOptionColor::pbtnCancel), {O::kNothing}},
      {button(frmBatchFiles::pbtnFileSelect), {O::kWork}},
      {button(frmMergeImage::pbtnFileSelect), {O::kWork}},
      {button(frmMergeImage::PanelButton1), {O::kNothing}},       // an empty list
      {button(frmMergeImage::pbtnMergeImage), {O::kWork}},        // says the list is empty
      {button(frmMergeImage::pbtnSaveMergeImage), {O::kNothing}},  // no picture yet
      {button(frmImageSpread::pbtnFileSelect), {O::kWork}},
  };
  load_and_integrate();
  std::set<std::pair<std::string, std::string>> clicked;
  for (kgui::TForm* form : forms_) {
    if (form == forms_[0] || dynamic_cast<app::TPlaceholderForm*>(form)) continue;
    for (int i = 0; i < form->componentCount(); ++i) {
      auto* button = dynamic_cast<app::TPanelButton*>(form->components(i));
      if (!button) continue;
      const auto key = std::pair{form->name(), button->name()};
      SCOPED_TRACE(key.first + "." + key.second);
      const auto found = expected.find(key);
      ASSERT_NE(found, expected.end()) << "a button without an expected outcome";
      clicked.insert(key);
      check_outcome(found->second, [button] { button->click(); });
    }
  }
  EXPECT_EQ(clicked.size(), expected.size());
  for (kgui::TForm* f : forms_)
    if (f != forms_[0]) f->hide();
}

}  // namespace
}  // namespace kestrin::test
