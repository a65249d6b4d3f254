// The peak list window: building it and one call per button into the peak commands.
#include "app/peak_form.h"

#include "analysis/peak_table.h"
#include "app/form_colours.h"
#include "app/form_lookup.h"
#include "commands/file_commands.h"
#include "commands/peak_form_commands.h"
#include "commands/print_commands.h"
#include "platform/gui/clipboard.h"
#include "ports/names/peak_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr int kListWidth = 620, kListHeight = 300;

class PeakPort : public PeakWindowPort {
public:
  void show() override { show_window(frmPeak::form); }
  void show_peak_list() override {
    if (TfrmPeak* f = form_of<TfrmPeak>()) f->fillList();
  }
};

}  // namespace

PeakWindowPort& peak_list_port() {
  static PeakPort port;
  return port;
}

void copy_peak_rows(const std::vector<std::string>& rows, const std::vector<bool>& selected) {
  Clipboard().setAsText(peak_list_copy_text(rows, selected));
}

TfrmPeak::TfrmPeak(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmPeak::form));
  setCaption("KES for Windows (Peak List)");
  setColor(kFormColour);
  setClientWidth(kListWidth + 16);
  setClientHeight(kListHeight + 108);
  createList();
  createButtons();
}

void TfrmPeak::createList() {
  Label1 = new TLabel(this);
  Label1->setName(std::string(frmPeak::Label1.control));
  Label1->setParent(this);
  Label1->setBounds(8, 8, kListWidth, 16);
  Label1->font()->setName(kPeakListFont);
  Label1->font()->setSize(kPeakListFontSize);
  Label1->setCaption(kPeakListHeading);
  lstPeak = new TListBox(this);
  lstPeak->setName(std::string(frmPeak::lstPeak.control));
  lstPeak->setParent(this);
  lstPeak->setBounds(8, 28, kListWidth, kListHeight);
  lstPeak->setMultiSelect(true);
  lstPeak->font()->setName(kPeakListFont);
  lstPeak->font()->setSize(kPeakListFontSize);
}

void TfrmPeak::createButtons() {
  const struct {
    ControlName name;
    const char* caption;
    TNotifyEvent click;
  } buttons[] = {
      {frmPeak::pbtnLoadPeak, "Load Peak", [](TComponent*) { load_peak_command(); }},
      {frmPeak::pbtnSavePeak, "Save Peak", [](TComponent*) { save_peak_command(); }},
      {frmPeak::pbtnDeletePeak, "Delete Peak", [this](TComponent*) { pbtnDeletePeakClick(); }},
      {frmPeak::pbtnCalcDistance, "Calc Distance", [](TComponent*) { calc_distance_command(); }},
      {frmPeak::pbtnPrint, "Print", [](TComponent*) { print_peak_list_command(); }},
      {frmPeak::pbtnPeakFitting, "Peak Fitting", [](TComponent*) { peak_fitting_command(); }},
      {frmPeak::pbtnCopyClipboard, "Copy to Clipboard", [this](TComponent*) { pbtnCopyClipboardClick(); }},
      {frmPeak::pbtnClose, "Close", [this](TComponent*) { hide(); }},
  };
  TPanelButton** fields[] = {&pbtnLoadPeak, &pbtnSavePeak, &pbtnDeletePeak, &pbtnCalcDistance,
                            &pbtnPrint,    &pbtnPeakFitting, &pbtnCopyClipboard, &pbtnClose};
  const int width = (kListWidth - 3 * 8) / 4;
  for (size_t i = 0; i < std::size(buttons); ++i) {
    const int left = 8 + int(i % 4) * (width + 8), top = kListHeight + 40 + int(i / 4) * 34;
    TPanelButton* b = make_panel_button(this, std::string(buttons[i].name.control), buttons[i].caption, left, top,
                                        width, 28);
    b->OnClick = buttons[i].click;
    *fields[i] = b;
  }
}

std::vector<bool> TfrmPeak::selection() const {
  std::vector<bool> flags(size_t(lstPeak->items()->count()));
  for (size_t i = 0; i < flags.size(); ++i) flags[i] = lstPeak->selected(int(i));
  return flags;
}

void TfrmPeak::fillList() {
  TStrings* items = lstPeak->items();
  items->clear();
  for (const std::string& row : peak_list_rows()) items->add(row);
}

void TfrmPeak::pbtnDeletePeakClick() { delete_selected_peaks(selection()); }

void TfrmPeak::pbtnCopyClipboardClick() {
  std::vector<std::string> rows;
  for (int i = 0; i < lstPeak->items()->count(); ++i) rows.push_back(lstPeak->items()->get(i));
  copy_peak_rows(rows, selection());
}

void TfrmPeak::btnCalcDistanceClick() { calc_distance_command(); }

}  // namespace kestrin::app
