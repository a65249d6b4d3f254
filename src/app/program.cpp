// The program's start: ports, then the forms in order.
#include "app/program.h"

#include "app/bg_form.h"
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
#include "app/osc_ana_form.h"
#include "app/option_forms.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app/placeholder_forms.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "app/startup_form.h"
#include "app/window_placement.h"
#include "app/window_ports.h"
#include "platform/gui/app.h"
#include "ports/names/script_form_names.h"

namespace kestrin::app {

namespace {

kgui::TForm* script_window(kgui::TApplication& app, const FormMaker& make) {
  if (make) return make(app);
  auto* stand_in = app.createForm<TPlaceholderForm>();
  stand_in->setName(std::string(frmScript::form));
  stand_in->setCaption(std::string(frmScript::form));
  return stand_in;
}

}  // namespace

std::vector<kgui::TForm*> start_program(kgui::TApplication& app, const FormMaker& make_script_window) {
  install_window_ports();
  std::vector<kgui::TForm*> forms = {
      app.createForm<TfrmMain>(),       app.createForm<TfrmStartUp>(), app.createForm<TfrmLog>(),
      app.createForm<TfrmNaxGraph>(),   app.createForm<TfrmPeak>(),             app.createForm<TfrmImage>(),
      app.createForm<TfrmImageWhole>(), app.createForm<TfrmCake>(),             app.createForm<TfrmOption>(),
      app.createForm<TfrmPeakFitting>(), script_window(app, make_script_window), app.createForm<TfrmBG>(),
      app.createForm<TfrmSpot>(),       app.createForm<TfrmOptionColor>(),      app.createForm<TfrmOscAna>(),
      app.createForm<TfrmSpotAnalyze>(), app.createForm<TfrmMask>(),            app.createForm<TfrmMergeImage>(),
      app.createForm<TfrmBatchFiles>(), app.createForm<TfrmImageSpread>()};
  place_windows(forms, *forms.at(5));  // the image window
  return forms;
}

}  // namespace kestrin::app
