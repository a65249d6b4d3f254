// TfrmMain's main menu: every item and the one call or window it stands for.
#include "analysis/dispatch.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/main_commands.h"
#include "analysis/peak_search.h"
#include "analysis/sectored_histogram.h"
#include "analysis/spot_find.h"
#include "app/main_form.h"
#include "image/file_commands.h"
#include "ports/ports.h"

namespace kestrin::app {

using namespace kgui;

namespace {

TNotifyEvent show_form(const char* form) {
  return [form](Component*) { views().show_form(form); };
}

TNotifyEvent hook(void (*MainCommandHooks::*fn)(), const char* routine) {
  return [fn, routine](Component*) { run_main_hook(main_command_hooks().*fn, routine); };
}

TNotifyEvent call(void (*fn)()) {
  return [fn](Component*) { fn(); };
}

}  // namespace

TMenuItem* TfrmMain::addMenu(const char* caption) {
  auto* m = new TMenuItem(this);
  m->setCaption(caption);
  MainMenu1->items()->add(m);
  return m;
}

TMenuItem* TfrmMain::addItem(TMenuItem* menu, const char* caption, TNotifyEvent handler, bool enabled) {
  auto* item = new TMenuItem(this);
  item->setCaption(caption);
  item->setEnabled(enabled);
  item->OnClick = std::move(handler);
  menu->add(item);
  return item;
}

TMenuItem* TfrmMain::menuItem(const std::string& menu, const std::string& item) const {
  TMenuItem* root = MainMenu1->items();
  for (int i = 0; i < root->count(); ++i) {
    if (root->items(i)->caption() != menu) continue;
    for (int j = 0; j < root->items(i)->count(); ++j)
      if (root->items(i)->items(j)->caption() == item) return root->items(i)->items(j);
  }
  return nullptr;
}

void TfrmMain::createMenu() {
  MainMenu1 = new TMainMenu(this);
  MainMenu1->setName("MainMenu1");
  createFileMenu();
  createToolMenu();
  createWindowMenu();
  createAnalysisMenus();
  createHelpMenu();
  setMenu(MainMenu1);
}

void TfrmMain::createFileMenu() {
  TMenuItem* m = addMenu("File");
  addItem(m, "Load Image", call(&load_image_command));
  addItem(m, "Save Image", call(&save_img_command));
  addItem(m, "Load Intensity", call(&load_nax_dialog));
  addItem(m, "Save Intensity", call(&save_nax_dialog));
  addItem(m, "Load Mask Data", call(&load_mask_dialog));
  addItem(m, "Save Mask Data", call(&save_mask_dialog));
  addItem(m, "Load Param", call(&load_param_dialog));
  addItem(m, "Save Param", call(&save_param_dialog));
  addItem(m, "Import Mask File(BMP)", [](Component*) {
    dialogs().messageBox("24bit BMP. True red pixel is considered to be a mask.", "Import Mask File",
                         mtInformation, 1u << mbOK);
    run_main_hook(main_command_hooks().import_mask_file, "import_mask_file");
  });
  addItem(m, "Print Image", hook(&MainCommandHooks::print_image, "print_image"));
  addItem(m, "Print Graph", hook(&MainCommandHooks::print_nax_proc, "print_nax_proc"));
  addItem(m, "Load RingRemove File", nullptr, false);
  addItem(m, "Exit(&X)", [this](Component*) { close(); });  // closing saves the settings
}

void TfrmMain::createToolMenu() {
  TMenuItem* m = addMenu("Tool");
  addItem(m, "Straight line integration", call(&straight_line_integration));
  for (const char* c : {"平行移動", "画像反転", "画像演算", "補正計算", "画像積算"}) addItem(m, c, nullptr, false);
  addItem(m, "Calculate wave length", hook(&MainCommandHooks::calc_wave_length, "calc_wave_length"));
  addItem(m, "Script", show_form("frmScript"));
  addItem(m, "Cake", show_form("frmCake"));
  addItem(m, "Option", show_form("frmOption"));
  addItem(m, "Option(Color)", show_form("frmOptionColor"));
}

void TfrmMain::createWindowMenu() {
  TMenuItem* m = addMenu("Window");
  addItem(m, "Image", show_form("frmImage"));
  addItem(m, "Intensity", show_form("frmNaxGraph"));
  addItem(m, "Peaks", [](Component*) { views().show_peak_list(); });
  addItem(m, "Log", show_form("frmLog"));
  addItem(m, "Fitting", show_form("frmPeakFitting"));
  addItem(m, "Back Ground", show_form("frmBG"));
  addItem(m, "Spot", [](Component*) { log_not_available("show_spot_list"); });
  addItem(m, "OscAna", show_form("frmOscAna"));
  addItem(m, "Spot Analyze", show_form("frmSpotAnalyze"));
  addItem(m, "Merge Image", show_form("frmMergeImage"));
  addItem(m, "Mask", show_form("frmMask"), false);
  addItem(m, "BatchFile", show_form("frmBatchFiles"));
  addItem(m, "Spread Image", show_form("frmImageSpread"));
}

void TfrmMain::createAnalysisMenus() {
  TMenuItem* m = addMenu("IPmain");
  addItem(m, "Find Center", [](Component*) { find_center_command(true); });
  addItem(m, "Angle - Intensity", call(&calc_angle_histogram_selection));
  addItem(m, "Pixel - Intensity", call(&calc_pixel_histogram_selection));
  addItem(m, "Automatic analysis", hook(&MainCommandHooks::auto_analysis, "auto_analysis"));
  addItem(m, "Find Spots", [](Component*) { find_spot(); });
  addItem(m, "Sectoring", call(&calc_sectored_histogram));
  addItem(m, "Peak search", [](Component*) { peak_search(); });
  addItem(m, "Calc Tilt", hook(&MainCommandHooks::calc_tilt, "calc_tilt"));
  addItem(m, "Angle - Intensity(fine)", call(&calc_fine_angle_histogram_selection));
  addItem(m, "Spot search", call(&spot_search_command));
  addItem(m, "Find Center(without direct)", call(&find_center_without_direct));
  TMenuItem* curved = addMenu("Curved IP");
  addItem(curved, "Angle - Intensity", call(&calc_curved_angle_histogram_band));
}

void TfrmMain::createHelpMenu() {
  TMenuItem* m = addMenu("Help");
  addItem(m, "Help(&H)", nullptr);
  addItem(m, "Version Information(&A)", [](Component*) { showMessage("KES for Windows. Version 2014.11.20"); });
}

}  // namespace kestrin::app
