// The program's start: ports, then the forms in order.
#include "app/program.h"

#include "app/batch_files_form.h"
#include "app/cake_form.h"
#include "app/image_form.h"
#include "app/image_spread_form.h"
#include "app/image_whole_form.h"
#include "app/log_window.h"
#include "app/main_form.h"
#include "app/mask_form.h"
#include "app/merge_image_form.h"
#include "app/nax_graph_form.h"
#include "app/option_forms.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app/placeholder_forms.h"
#include "app/startup_form.h"
#include "app/window_ports.h"
#include "platform/gui/app.h"

namespace kestrin::app {

namespace {

constexpr int kWindowGap = 8;

// The windows open beside the main window, never over its menu and buttons.
void place_beside_main(const std::vector<kgui::TForm*>& forms) {
  const kgui::TForm& main = *forms.front();
  for (size_t i = 1; i < forms.size(); ++i) {
    forms[i]->setLeft(main.left() + main.width() + kWindowGap);
    forms[i]->setTop(main.top());
  }
}

}  // namespace

std::vector<kgui::TForm*> start_program(kgui::TApplication& app) {
  install_window_ports();
  std::vector<kgui::TForm*> forms = {
      app.createForm<TfrmMain>(),       app.createForm<TfrmStartUp>(), app.createForm<TfrmLog>(),
      app.createForm<TfrmNaxGraph>(),   app.createForm<TfrmPeak>(),             app.createForm<TfrmImage>(),
      app.createForm<TfrmImageWhole>(), app.createForm<TfrmCake>(),             app.createForm<TfrmOption>(),
      app.createForm<TfrmPeakFitting>(), app.createForm<TfrmScript>(),          app.createForm<TfrmBG>(),
      app.createForm<TfrmSpot>(),       app.createForm<TfrmOptionColor>(),      app.createForm<TfrmOscAna>(),
      app.createForm<TfrmSpotAnalyze>(), app.createForm<TfrmMask>(),            app.createForm<TfrmMergeImage>(),
      app.createForm<TfrmBatchFiles>(), app.createForm<TfrmImageSpread>()};
  place_beside_main(forms);
  return forms;
}

}  // namespace kestrin::app
