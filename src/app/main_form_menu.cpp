// TfrmMain's main menu: every item and the one call or window it stands for.
#include <QWidget>

#include "analysis/dispatch.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "analysis/sectored_histogram.h"
#include "app/batch_files_form.h"
#include "app/bg_form.h"
#include "app/cake_form.h"
#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/image_spread_form.h"
#include "app/log_window.h"
#include "app/main_form.h"
#include "app/mask_form.h"
#include "app/merge_image_form.h"
#include "app/nax_graph_form.h"
#include "app/option_forms.h"
#include "app/osc_ana_form.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app/placeholder_forms.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "commands/file_commands.h"
#include "commands/histogram_commands.h"
#include "commands/image_form_commands.h"
#include "commands/main_form_commands.h"
#include "commands/nax_graph_commands.h"
#include "commands/peak_form_commands.h"
#include "commands/print_commands.h"
#include "ports/names/main_form_names.h"
#include "ports/names/script_form_names.h"
#include "ports/ports.h"

namespace kestrin::app {

using namespace kgui;

namespace {

// A menu item that shows the window of class Form.
template <class Form>
TNotifyEvent shows() {
  return [](TComponent*) {
    if (Form* f = form_of<Form>()) f->showForm();
  };
}

TNotifyEvent call(void (*fn)()) {
  return [fn](TComponent*) { fn(); };
}

// Brings a shown window back in front of the others, out of its minimised state.
void bring_back(TForm* f) {
  if (!f || !f->visible()) return;
  QWidget* w = f->widget();
  w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  w->raise();
  w->activateWindow();
}

// A Window menu item: shows the window of class Form (through `show` when given) and brings
// it back.
template <class Form>
TNotifyEvent brings_back(TNotifyEvent show = nullptr) {
  return [show](TComponent* sender) {
    if (show) show(sender);
    else if (Form* f = form_of<Form>()) f->showForm();
    bring_back(form_of<Form>());
  };
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
  MainMenu1->setName(std::string(frmMain::MainMenu1.control));
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
  addItem(m, "Import Mask File(BMP)", [](TComponent*) {
    dialogs().messageBox("24bit BMP. True red pixel is considered to be a mask.", "Import Mask File",
                         mtInformation, 1u << mbOK);
    import_mask_command();
  });
  addItem(m, "Print Image", call(&print_image_command));
  addItem(m, "Print Graph", call(&print_graph_command));
  addItem(m, "Load RingRemove File", nullptr, false);
  addItem(m, "Exit(&X)", [this](TComponent*) { close(); });  // closing saves the settings
}

void TfrmMain::createToolMenu() {
  TMenuItem* m = addMenu("Tool");
  addItem(m, "Straight line integration", call(&straight_line_integration));
  for (const char* c : {"平行移動", "画像反転", "画像演算", "補正計算", "画像積算"}) addItem(m, c, nullptr, false);
  addItem(m, "Calculate wave length", call(&calc_wave_length_command));
  addItem(m, "Script", [](TComponent*) { show_window(frmScript::form); });
  addItem(m, "Cake", shows<TfrmCake>());
  addItem(m, "Option", shows<TfrmOption>());
  addItem(m, "Option(Color)", shows<TfrmOptionColor>());
}

void TfrmMain::createWindowMenu() {
  TMenuItem* m = addMenu("Window");
  addItem(m, "Image", brings_back<TfrmImage>());
  addItem(m, "Intensity", brings_back<TfrmNaxGraph>());
  addItem(m, "Peaks", brings_back<TfrmPeak>(call(&show_peak_list)));
  addItem(m, "Log", brings_back<TfrmLog>());
  addItem(m, "Fitting", brings_back<TfrmPeakFitting>());
  addItem(m, "Back Ground", brings_back<TfrmBG>());
  addItem(m, "Spot", brings_back<TfrmSpot>(call(&show_spot_list_command)));
  addItem(m, "OscAna", brings_back<TfrmOscAna>());
  addItem(m, "Spot Analyze", brings_back<TfrmSpotAnalyze>());
  addItem(m, "Merge Image", brings_back<TfrmMergeImage>());
  addItem(m, "Mask", brings_back<TfrmMask>(), false);
  addItem(m, "BatchFile", brings_back<TfrmBatchFiles>());
  addItem(m, "Spread Image", brings_back<TfrmImageSpread>());
}

void TfrmMain::createAnalysisMenus() {
  TMenuItem* m = addMenu("IPmain");
  addItem(m, "Find Center", [](TComponent*) { find_center_command(true); });
  addItem(m, "Angle - Intensity", call(&angle_intensity_command));
  addItem(m, "Pixel - Intensity", call(&pixel_intensity_command));
  addItem(m, "Automatic analysis", call(&auto_analysis_command));
  addItem(m, "Find Spots", [](TComponent*) { find_spot_command(); });
  addItem(m, "Sectoring", call(&sectoring_command));
  addItem(m, "Peak search", call(&peak_search_menu_command));
  addItem(m, "Calc Tilt", call(&calc_tilt_menu_command));
  addItem(m, "Angle - Intensity(fine)", call(&fine_angle_intensity_command));
  addItem(m, "Spot search", call(&spot_search_command));
  addItem(m, "Find Center(without direct)", call(&find_center_without_direct_command));
  TMenuItem* curved = addMenu("Curved IP");
  addItem(curved, "Angle - Intensity", call(&curved_angle_intensity_command));
}

void TfrmMain::createHelpMenu() {
  TMenuItem* m = addMenu("Help");
  addItem(m, "Help(&H)", nullptr);
  addItem(m, "Version Information(&A)", [](TComponent*) { showMessage("KES for Windows. Version 2014.11.20"); });
}

}  // namespace kestrin::app
