// TfrmPeak: the peak list window. The peak table as text rows under a column heading, and the
// commands on the whole table: load, save, delete the selected peaks, camera length, print,
// fitting and copying the list.
#pragma once

#include <string>
#include <vector>

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmPeak : public kgui::TForm {
public:
  explicit TfrmPeak(kgui::TComponent* owner);

  kgui::TLabel* Label1;
  kgui::TListBox* lstPeak;
  TPanelButton *pbtnLoadPeak, *pbtnSavePeak, *pbtnDeletePeak, *pbtnCalcDistance;
  TPanelButton *pbtnPrint, *pbtnPeakFitting, *pbtnCopyClipboard, *pbtnClose;

  // Refills the list from the peak table (the port's request).
  void fillList();
  void pbtnDeletePeakClick();
  void pbtnCopyClipboardClick();
  void btnCalcDistanceClick();

private:
  void createList();
  void createButtons();
  // One flag per row of the list.
  std::vector<bool> selection() const;
};

// "Copy to Clipboard" of these rows with these selection flags: the text replaces the
// clipboard's content.
void copy_peak_rows(const std::vector<std::string>& rows, const std::vector<bool>& selected);

// The peak window's port over the form.
PeakWindowPort& peak_list_port();

}  // namespace kestrin::app
