// TfrmPeakFitting: the peak fitting window. An editable grid with the fitted and the initial
// values of each peak side by side, Retry from the edited initial values and File Save.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmPeakFitting : public kgui::TForm {
public:
  explicit TfrmPeakFitting(kgui::TComponent* owner);

  kgui::TStringGrid* sgridPeakParameter;
  TPanelButton *pbtnReFitting, *pbtnFileSave;

  // Fills the grid from the fit tables: options, one row per peak, every cell cleared first.
  void ShowFitResults();
  void pbtnReFittingClick();

private:
  void fit_columns_to_texts();
};

// The fitting window's port over the form.
FitWindowPort& peak_fitting_port();

}  // namespace kestrin::app
