// The program's start: ports, then the forms in order.
#include "app/program.h"

#include "app/log_window.h"
#include "app/main_form.h"
#include "app/placeholder_forms.h"
#include "app/startup_form.h"
#include "app/window_ports.h"
#include "platform/gui/app.h"

namespace kestrin::app {

std::vector<kgui::TForm*> start_program(kgui::TApplication& app) {
  install_window_ports();
  return {app.createForm<TfrmMain>(),        app.createForm<kestrin::TfrmStartUp>(),
          app.createForm<kestrin::TfrmLog>(),         app.createForm<TfrmNaxGraph>(),
          app.createForm<TfrmPeak>(),        app.createForm<TfrmImage>(),
          app.createForm<TfrmImageWhole>(),  app.createForm<TfrmCake>(),
          app.createForm<TfrmOption>(),      app.createForm<TfrmPeakFitting>(),
          app.createForm<TfrmScript>(),      app.createForm<TfrmBG>(),
          app.createForm<TfrmSpot>(),        app.createForm<TfrmOptionColor>(),
          app.createForm<TfrmOscAna>(),      app.createForm<TfrmSpotAnalyze>(),
          app.createForm<TfrmMask>(),        app.createForm<TfrmMergeImage>(),
          app.createForm<TfrmBatchFiles>(),  app.createForm<TfrmImageSpread>()};
}

}  // namespace kestrin::app
