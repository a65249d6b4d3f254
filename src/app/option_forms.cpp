// The options and colour windows: their controls, and one call into the option commands
// per action.
#include "app/option_forms.h"

#include "app/tool_form_controls.h"
#include "commands/option_commands.h"
#include "model/state.h"
#include "ports/names/option_color_names.h"
#include "ports/names/option_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

TRadioGroup* add_radio_group(TForm* form, ControlName name, const std::string& caption,
                             std::initializer_list<const char*> items, int left, int top, int width, int height) {
  auto* g = new TRadioGroup(form);
  g->setName(std::string(name.control));
  g->setParent(form);
  g->setBounds(left, top, width, height);
  g->setCaption(caption);
  for (const char* item : items) g->items()->add(item);
  return g;
}

}  // namespace

TfrmOption::TfrmOption(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmOption::form, "Kestrin Option", 360, 376);
  createChecks();
  createRadioGroups();
  createFitGroup();
  createButtons();
  show_options();
}

void TfrmOption::createChecks() {
  chkVerticalReverse =
      add_check_box(this, this, frmOption::chkVerticalReverse, "Vertical Reverse (at Loading Image)", 12, 10, 330);
  chkVerticalReverse->setEnabled(false);  // the settings file never keeps it
  chkGradationReverse = add_check_box(this, this, frmOption::chkGradationReverse, "Gradation Reverse", 12, 34, 330);
  chkClearMask = add_check_box(this, this, frmOption::chkClearMask, "Clear Mask (at Loading Image)", 12, 58, 330);
}

void TfrmOption::createRadioGroups() {
  rdgCenterMarker = add_radio_group(this, frmOption::rdgCenterMarker, "Center Marker", {"Cross", "Dot"}, 12, 84, 336, 44);
  rdgCenterMarker->setColumns(2);
  rdgDistanceSetting = add_radio_group(this, frmOption::rdgDistanceSetting, "Distance Display Setting in Image Window",
                                       {"Pixel", "2Theta(deg)", "d(A)"}, 12, 136, 336, 44);
  rdgDistanceSetting->setColumns(3);
}

void TfrmOption::createFitGroup() {
  TGroupBox* g = add_group_box(this, this, "Fitting Setting (Initial Parameter)", 12, 188, 336, 130);
  rbtnFitType1 = add_radio_button(this, g, frmOption::rbtnFitType1, "Lorentz", 12, 22, 120);
  rbtnFitType2 = add_radio_button(this, g, frmOption::rbtnFitType2, "Gaussian", 150, 22, 120);
  add_label(this, g, "Hwhm(pixel)", 12, 56);
  edtHwhmPixel = add_edit(this, g, frmOption::edtHwhmPixel, start_text(frmOption::start_texts, frmOption::edtHwhmPixel),
                          150, 52, 120);
  add_label(this, g, "Hwhm(theta)", 12, 90);
  edtHwhmTheta = add_edit(this, g, frmOption::edtHwhmTheta, start_text(frmOption::start_texts, frmOption::edtHwhmTheta),
                          150, 86, 120);
}

void TfrmOption::createButtons() {
  pbtnApply = make_panel_button(this, std::string(frmOption::pbtnApply.control), "Apply", 12, 334, 150, 30);
  pbtnCancel = make_panel_button(this, std::string(frmOption::pbtnCancel.control), "Cancel", 198, 334, 150, 30);
  pbtnApply->OnClick = [this](TComponent*) {
    apply_options();
    hide();
  };
  pbtnCancel->OnClick = [this](TComponent*) { hide(); };
}

TfrmOptionColor::TfrmOptionColor(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmOptionColor::form, "frmOptionColor", 260, 236);
  createRows();
  cldColorSelect = new TColorDialog(this);
  cldColorSelect->setName(std::string(frmOptionColor::cldColorSelect.control));
  pbtnApply = make_panel_button(this, std::string(frmOptionColor::pbtnApply.control), "Apply", 12, 194, 110, 30);
  pbtnCancel = make_panel_button(this, std::string(frmOptionColor::pbtnCancel.control), "Cancel", 138, 194, 110, 30);
  pbtnApply->OnClick = [this](TComponent*) {
    std::array<TColor, 6> colours;
    for (size_t i = 0; i < swatches.size(); ++i) colours[i] = swatches[i]->color();
    apply_display_colours(colours);
    hide();
  };
  pbtnCancel->OnClick = [this](TComponent*) { hide(); };
  FormCreate();
}

void TfrmOptionColor::createRows() {
  const char* captions[] = {"Mask Color", "Integration Area", "Center Marker", "Spot Mark", "Focused Spot Mark",
                            "Area Select"};
  for (size_t i = 0; i < 6; ++i) {
    const int top = 12 + int(i) * 29;
    add_label(this, this, captions[i], 12, top + 3);
    auto* swatch = new TLabel(this);
    swatch->setName(std::string(frmOptionColor::swatches[i].control));
    swatch->setParent(this);
    swatch->setAutoSize(false);
    swatch->setCaption("");
    swatch->setBounds(150, top, 98, 21);
    swatch->OnClick = [this, i](TComponent*) { swatchClick(i); };
  }
}

void TfrmOptionColor::FormCreate() {
  for (size_t i = 0; i < swatches.size(); ++i) {
    swatches[i] = dynamic_cast<TLabel*>(findComponent(frmOptionColor::swatches[i].control));
    swatches[i]->setColor(state().colours.colour[i]);
  }
}

void TfrmOptionColor::swatchClick(size_t index) {
  cldColorSelect->setColor(swatches[index]->color());
  if (cldColorSelect->execute()) swatches[index]->setColor(cldColorSelect->color());
}

}  // namespace kestrin::app
