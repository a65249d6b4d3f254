// The ports over the program's windows.
#include "app/window_ports.h"

#include <stdexcept>
#include <vector>

#include "app/bg_form.h"
#include "app/cake_form.h"
#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/mask_form.h"
#include "app/nax_graph_form.h"
#include "app/osc_ana_form.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app/placeholder_forms.h"
#include "app/printing.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "app/window_placement.h"
#include "commands/headless_ports.h"
#include "commands/wiring.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "ports/names/bg_form_names.h"
#include "ports/names/log_window_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/osc_ana_form_names.h"
#include "ports/names/spot_analyze_form_names.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

namespace kestrin::app {

using namespace kgui;

namespace {

TOpenDialog* dialog_of(ControlName name) {
  TForm* main = find_form(name.form);
  return main ? dynamic_cast<TOpenDialog*>(main->findComponent(name.control)) : nullptr;
}

void apply(TOpenDialog& d, const FileDialogSetup& s) {
  uint32_t options = 0;
  if (s.must_exist) options |= 1u << ofFileMustExist;
  if (s.overwrite_prompt) options |= 1u << ofOverwritePrompt;
  if (s.multi_select) options |= 1u << ofAllowMultiSelect;
  d.setOptions(options);
  d.setInitialDir(s.folder);
  d.setFileName(s.file_name);
  d.setFilter(s.filter);
  d.setDefaultExt(s.default_ext);
  d.setFilterIndex(s.filter_index);
}

FileDialogSetup state_of(const TOpenDialog* d) {
  FileDialogSetup s;
  if (!d) return s;
  s.folder = d->initialDir();
  s.file_name = d->fileName();
  s.filter = d->filter();
  s.default_ext = d->defaultExt();
  s.filter_index = d->filterIndex();
  s.must_exist = d->options() & (1u << ofFileMustExist);
  s.overwrite_prompt = d->options() & (1u << ofOverwritePrompt);
  return s;
}

std::string run(ControlName name, const FileDialogSetup& s) {
  TOpenDialog* d = dialog_of(name);
  if (!d) return {};
  apply(*d, s);
  return d->execute() ? d->fileName() : std::string();
}

}  // namespace

TControl* WindowControls::find(ControlName name) {
  TForm* form = find_form(name.form);
  if (!form || dynamic_cast<TPlaceholderForm*>(form)) return nullptr;
  auto* control = dynamic_cast<TControl*>(form->findComponent(name.control));
  if (!control) throw std::logic_error("no control " + to_string(name));
  return control;
}

std::string WindowControls::text(ControlName name) const {
  TControl* c = find(name);
  if (auto* e = dynamic_cast<TEdit*>(c)) return e->text();
  if (auto* b = dynamic_cast<TComboBox*>(c)) return b->text();
  if (auto* m = dynamic_cast<TMemo*>(c)) return m->text();
  if (c) return c->caption();
  return headless_controls().text(name);
}

void WindowControls::set_text(ControlName name, std::string_view text) {
  TControl* c = find(name);
  if (c) changed(name);  // before any handler the change runs
  if (auto* e = dynamic_cast<TEdit*>(c)) e->setText(std::string(text));
  else if (auto* m = dynamic_cast<TMemo*>(c)) m->setText(std::string(text));
  else if (c) c->setCaption(std::string(text));
  else headless_controls().set_text(name, text);
}

bool WindowControls::checked(ControlName name) const {
  TControl* c = find(name);
  if (auto* b = dynamic_cast<TCheckBox*>(c)) return b->checked();
  if (auto* r = dynamic_cast<TRadioButton*>(c)) return r->checked();
  return c ? false : headless_controls().checked(name);
}

void WindowControls::set_checked(ControlName name, bool on) {
  TControl* c = find(name);
  if (c) changed(name);
  if (auto* b = dynamic_cast<TCheckBox*>(c)) b->setChecked(on);
  else if (auto* r = dynamic_cast<TRadioButton*>(c)) r->setChecked(on);
  else if (!c) headless_controls().set_checked(name, on);
}

int WindowControls::item_index(ControlName name) const {
  TControl* c = find(name);
  if (auto* b = dynamic_cast<TComboBox*>(c)) return b->itemIndex();
  if (auto* l = dynamic_cast<TListBox*>(c)) return l->itemIndex();
  if (auto* g = dynamic_cast<TRadioGroup*>(c)) return g->itemIndex();
  return c ? -1 : headless_controls().item_index(name);
}

void WindowControls::set_item_index(ControlName name, int index) {
  TControl* c = find(name);
  if (c) changed(name);
  if (auto* b = dynamic_cast<TComboBox*>(c)) b->setItemIndex(index);
  else if (auto* l = dynamic_cast<TListBox*>(c)) l->setItemIndex(index);
  else if (auto* g = dynamic_cast<TRadioGroup*>(c)) g->setItemIndex(index);
  else if (!c) headless_controls().set_item_index(name, index);
}

void WindowEventPump::process_messages() {
  if (TApplication* app = TApplication::instance()) app->processMessages();
}

bool WindowEventPump::terminated() const {
  const TApplication* app = TApplication::instance();
  return app && app->terminated();
}

void WindowEventPump::wait_until(const std::function<bool()>& done) {
  if (TApplication* app = TApplication::instance()) app->waitUntil(done);
}

bool WindowPrompts::confirm(std::string_view question) {
  return messageDlg(std::string(question), mtConfirmation, (1u << mbYes) | (1u << mbNo)) == mrYes;
}

YesNo WindowPrompts::ask_yes_no(std::string_view question) {
  const int answer = messageDlg(std::string(question), mtConfirmation, (1u << mbYes) | (1u << mbNo));
  return answer == mrYes ? YesNo::kYes : answer == mrNo ? YesNo::kNo : YesNo::kDismissed;
}

void WindowPrompts::message(std::string_view text) { showMessage(std::string(text)); }

std::string WindowFileDialogs::run_open(const FileDialogSetup& s) { return run(frmMain::opdFileSelect, s); }
std::string WindowFileDialogs::run_save(const FileDialogSetup& s) { return run(frmMain::svdFileSelect, s); }

int WindowFileDialogs::open_filter_index() const {
  TOpenDialog* d = dialog_of(frmMain::opdFileSelect);
  return d ? d->filterIndex() : -1;
}

int WindowFileDialogs::save_filter_index() const {
  TOpenDialog* d = dialog_of(frmMain::svdFileSelect);
  return d ? d->filterIndex() : -1;
}

void WindowFileDialogs::set_open_filter_index(int index) {
  if (TOpenDialog* d = dialog_of(frmMain::opdFileSelect)) d->setFilterIndex(index);
}

void WindowFileDialogs::set_save_filter_index(int index) {
  if (TOpenDialog* d = dialog_of(frmMain::svdFileSelect)) d->setFilterIndex(index);
}

FileDialogChoice WindowFileDialogs::run_window_dialog(ControlName dialog, const FileDialogSetup& s) {
  FileDialogChoice choice{{}, s.filter_index};
  TOpenDialog* d = dialog_of(dialog);
  if (!d) return choice;
  apply(*d, s);
  if (d->execute()) {
    if (s.multi_select)
      for (int i = 0; i < d->files()->count(); ++i) choice.files.push_back(d->files()->get(i));
    if (choice.files.empty() && !d->fileName().empty()) choice.files.push_back(d->fileName());
  }
  choice.filter_index = d->filterIndex();
  return choice;
}

bool WindowFileDialogs::select_folder(std::string_view caption, std::string& folder) {
  return dialogs().selectDirectory(std::string(caption), folder);
}

FileDialogSetup WindowFileDialogs::open_state() const { return state_of(dialog_of(frmMain::opdFileSelect)); }
FileDialogSetup WindowFileDialogs::save_state() const { return state_of(dialog_of(frmMain::svdFileSelect)); }

namespace {

// A window port whose only request so far is showing the window.
template <class Port>
class FormPort : public Port {
public:
  explicit FormPort(std::string_view form) : form_(form) {}
  void show() override { show_window(form_); }

private:
  std::string_view form_;
};

class BgFormPort : public FormPort<BgWindowPort> {
public:
  using FormPort::FormPort;
  void bg_image_resized() override {
    if (auto* f = form_of<TfrmBG>()) f->bg_image_resized();
  }
  void redraw_bg_view() override {
    if (auto* f = form_of<TfrmBG>()) f->redraw_bg_view();
  }
  void set_caption(std::string_view caption) override {
    if (auto* f = form_of<TfrmBG>()) f->setCaption(std::string(caption));
  }
};

class SpotFormPort : public FormPort<SpotWindowPort> {
public:
  using FormPort::FormPort;
  void show_spot_list() override {
    if (auto* f = form_of<TfrmSpot>()) f->show_spot_list();
  }
  void select_row(int32_t row) override {
    if (auto* f = form_of<TfrmSpot>()) f->select_row(row);
  }
  std::pair<int32_t, int32_t> selected_rows() const override {
    auto* f = form_of<TfrmSpot>();
    if (!f) return {-1, -1};
    const TGridRect r = f->sgridSpotList->selection();
    return {r.top, r.bottom};
  }
};

class SpotAnalysisFormPort : public FormPort<SpotAnalysisWindowPort> {
public:
  using FormPort::FormPort;
  void show_grid() override {
    if (auto* f = form_of<TfrmSpotAnalyze>()) f->show_grid();
  }
  void grid_cell_changed(int32_t column, int32_t row) override {
    if (auto* f = form_of<TfrmSpotAnalyze>()) f->show_cell(column, row);
  }
  void enable_runs(bool on) override {
    if (auto* f = form_of<TfrmSpotAnalyze>()) f->enable_runs(on);
  }
  void uncover() override {
    auto* analysis = form_of<TfrmSpotAnalyze>();
    if (!analysis) return;
    std::vector<const TForm*> placed = {analysis};
    TForm* results[] = {form_of<TfrmNaxGraph>(), form_of<TfrmPeak>(), form_of<TfrmPeakFitting>()};
    for (TForm* f : results) {
      if (!f || !f->visible()) continue;
      move_clear_of(*f, placed);
      placed.push_back(f);
    }
  }
};

class OscFormPort : public FormPort<OscWindowPort> {
public:
  using FormPort::FormPort;
  void show_spot_reference() override {
    if (auto* f = form_of<TfrmOscAna>()) f->show_spot_reference();
  }
};

}  // namespace

Ports window_ports() {
  static WindowControls controls;
  static WindowFileDialogs file_dialogs;
  static WindowPrompts prompts;
  static WindowEventPump events;
  static FormPort<LogWindowPort> log_window(frmLog::form);
  static ImageFormPort image_window;
  static BgFormPort bg_window(frmBG::form);
  static SpotFormPort spot_window(frmSpot::form);
  static SpotAnalysisFormPort spot_analysis_window(frmSpotAnalyze::form);
  static OscFormPort osc_window(frmOscAna::form);
  static MaskFormPort mask_window;
  static WindowPrinting printing;
  Ports p;
  p.controls = &controls;
  p.file_dialogs = &file_dialogs;
  p.prompts = &prompts;
  p.events = &events;
  p.log_window = &log_window;
  p.image_window = &image_window;
  p.graph_window = &nax_graph_port();
  p.peak_window = &peak_list_port();
  p.fit_window = &peak_fitting_port();
  p.bg_window = &bg_window;
  p.spot_window = &spot_window;
  p.spot_analysis_window = &spot_analysis_window;
  p.osc_window = &osc_window;
  p.cake_window = &cake_port();
  p.mask_window = &mask_window;
  p.printing = &printing;
  return p;
}

void install_window_ports() { wire_program(window_ports()); }

void remove_window_ports() { reset_headless_ports(); }

}  // namespace kestrin::app
