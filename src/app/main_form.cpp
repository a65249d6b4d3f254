// TfrmMain: building the window and its start state, the parameter handlers and closing.
#include "app/main_form.h"

#include <QComboBox>

#include "app/form_colours.h"
#include "base/convert.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "commands/parameter_controls.h"
#include "commands/settings_commands.h"
#include "image/files/settings_file.h"
#include "image/image_store.h"
#include "model/parameter_table.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {


// Parameter panel grid: one row per parameter.
constexpr int kRowTop = 8, kRowHeight = 24;
constexpr int kLockLeft = 4, kLabelLeft = 22, kEditLeft = 180, kEditWidth = 90, kHintLeft = 276;
constexpr int kPanelTop = 68, kPanelWidth = 364, kRows = 20;

int rowTop(int row) { return kRowTop + row * kRowHeight; }

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
  setName(std::string(frmMain::form));
  setCaption("KES for Windows (Main)");
  setColor(kFormColour);
  font()->setName("ＭＳ Ｐゴシック");
  setClientWidth(kPanelWidth + 16);
  createMenu();
  setClientHeight(kPanelTop + rowTop(kRows) + 12);
  createCommandButtons();
  createParameterPanel();
  createDialogs();
  OnClose = [this](TComponent*, int&) { FormClose(); };
  FormCreate();
}

TPanelButton* TfrmMain::addCommandButton(ControlName name, const char* caption, int left, int top) {
  return make_panel_button(this, std::string(name.control), caption, left, top, kPanelWidth / 2 - 2, 26);
}

void TfrmMain::createCommandButtons() {
  const int right = 8 + kPanelWidth / 2 + 2;
  pbtnLoadImage = addCommandButton(frmMain::pbtnLoadImage, "Load Image", 8, 6);
  pbtnFindCenter = addCommandButton(frmMain::pbtnFindCenter, "Find Center", right, 6);
  pbtnAngleIntensity = addCommandButton(frmMain::pbtnAngleIntensity, "Angle Intensity", 8, 36);
  pbtnPixelIntensity = addCommandButton(frmMain::pbtnPixelIntensity, "Pixel Intensity", right, 36);
  pbtnLoadImage->OnClick = [](TComponent*) { load_image_command(); };
  pbtnFindCenter->OnClick = [](TComponent*) { find_center_command(false); };
  pbtnAngleIntensity->OnClick = [](TComponent*) { angle_intensity_command(); };
  pbtnPixelIntensity->OnClick = [](TComponent*) { pixel_intensity_command(); };
}

TLabel* TfrmMain::addLabel(const char* caption, int left, int top) {
  auto* l = new TLabel(this);
  l->setParent(Panel1);
  l->setBounds(left, top + 3, 150, 16);
  l->font()->setName("Times New Roman");
  l->setCaption(caption);
  return l;
}

TEdit* TfrmMain::addParameterEdit(ControlName name, const char* label, int row) {
  if (label) addLabel(label, kLabelLeft, rowTop(row));
  auto* e = new TEdit(this);
  e->setName(std::string(name.control));
  e->setParent(Panel1);
  e->setBounds(kEditLeft, rowTop(row), kEditWidth, 21);
  e->setColor(kEditColour);
  e->font()->setColor(kEditTextColour);
  e->setText(std::string(control_of(*parameter_of(name)).start_text));
  e->OnKeyDown = [name](TComponent*, int& key, TShiftState) { parameter_edit_key(name, key); };
  e->OnChange = [name](TComponent*) { parameter_control_changed(name); };
  return e;
}

TCheckBox* TfrmMain::addLockBox(ControlName name, int row) {
  auto* c = new TCheckBox(this);
  c->setName(std::string(name.control));
  c->setParent(Panel1);
  c->setBounds(kLockLeft, rowTop(row) + 2, 16, 17);
  c->setChecked(control_of(*parameter_of(name)).start_value == 1);
  c->OnClick = [name](TComponent*) { parameter_control_changed(name); };
  return c;
}

TRadioButton* TfrmMain::addRadio(TWinControl* parent, ControlName name, const char* caption, int left, int top,
                                 int width) {
  auto* r = new TRadioButton(this);
  r->setName(std::string(name.control));
  r->setParent(parent);
  r->setBounds(left, top, width, 20);
  r->setCaption(caption);
  return r;
}

void TfrmMain::createParameterPanel() {
  Panel1 = new TPanel(this);
  Panel1->setName(std::string(frmMain::Panel1.control));
  Panel1->setParent(this);
  Panel1->setBounds(8, kPanelTop, kPanelWidth, rowTop(kRows) + 4);
  Panel1->setColor(kPanelColour);
  createGeometryRows();
  createRegionRows();
  createCentreRows();
}

void TfrmMain::createGeometryRows() {
  edt2ThetaBegin = addParameterEdit(frmMain::edt2ThetaBegin, "2Theta begin(deg)", 0);
  edt2ThetaEnd = addParameterEdit(frmMain::edt2ThetaEnd, "2Theta end(deg)", 1);
  edt2ThetaStep = addParameterEdit(frmMain::edt2ThetaStep, "2Theta step(deg)", 2);
  edtCameraLength = addParameterEdit(frmMain::edtCameraLength, "Lo (mm)", 3);
  edtLambda = addParameterEdit(frmMain::edtLambda, "Wave Length(A)", 4);
  edtPixelX = addParameterEdit(frmMain::edtPixelX, "Pixel Size X(mm/pixel)", 5);
  edtPixelY = addParameterEdit(frmMain::edtPixelY, "Pixel Size Y(mm/pixel)", 6);
  edtBeta = addParameterEdit(frmMain::edtBeta, "Beta(deg)", 7);
  edtPhi = addParameterEdit(frmMain::edtPhi, "Phi(deg)", 8);
  chkLo = addLockBox(frmMain::chkLo, 3);
  chkwl = addLockBox(frmMain::chkwl, 4);
  chkpsx = addLockBox(frmMain::chkpsx, 5);
  chkpsy = addLockBox(frmMain::chkpsy, 6);
}

void TfrmMain::createRegionRows() {
  rbtnRectangle = addRadio(Panel1, frmMain::rbtnRectangle, "Rectangle - Integration", 8, rowTop(9), 250);
  edtBandWidth = addParameterEdit(frmMain::edtBandWidth, "Band", 10);
  // The rectangle's two modes form their own group on a panel of their own. It lies over
  // the parameter panel but belongs to the form: a radio button's group is every radio
  // button below its parent, nested panels included.
  pnlRectMode = new TPanel(this);
  pnlRectMode->setName(std::string(frmMain::pnlRectMode.control));
  pnlRectMode->setParent(this);
  pnlRectMode->setBounds(Panel1->left() + kLabelLeft - 4, Panel1->top() + rowTop(11), 150, 2 * kRowHeight - 2);
  pnlRectMode->setBevelOuter(bvNone);
  pnlRectMode->setColor(kPanelColour);
  rbtnRect_Direction = addRadio(pnlRectMode, frmMain::rbtnRect_Direction, "Direction", 2, 1, 140);
  rbtnRect_Angle = addRadio(pnlRectMode, frmMain::rbtnRect_Angle, "Angle(deg)", 2, kRowHeight + 1, 140);
  cmbDirection = new TComboBox(this);
  cmbDirection->setName(std::string(frmMain::cmbDirection.control));
  cmbDirection->setParent(Panel1);
  cmbDirection->setBounds(kEditLeft, rowTop(11), kEditWidth, 21);
  cmbDirection->setStyle(csDropDownList);
  for (const char* d : {"TOP", "BOTTOM", "VERTICAL", "LEFT", "RIGHT", "HORIZONTAL", "FULL", "RU", "RL", "LU", "LL"})
    cmbDirection->items()->add(d);
  cmbDirection->setItemIndex(control_of(*parameter_of(frmMain::cmbDirection)).start_value);
  edtRectAngle = addParameterEdit(frmMain::edtRectAngle, nullptr, 12);
  rbtnSector = addRadio(Panel1, frmMain::rbtnSector, "Sector - Integration", 8, rowTop(13), 250);
  edtSectorStartAngle = addParameterEdit(frmMain::edtSectorStartAngle, "Start Angle(deg)", 14);
  edtSectorEndAngle = addParameterEdit(frmMain::edtSectorEndAngle, "End Angle(deg)", 15);
  addLabel("* 0~720(deg)", kHintLeft, rowTop(14))->setWidth(kPanelWidth - kHintLeft - 4);
  addLabel("* Start < End", kHintLeft, rowTop(15))->setWidth(kPanelWidth - kHintLeft - 4);
  rbtnSectoredDivision = addRadio(Panel1, frmMain::rbtnSectoredDivision, "Sectored division - Integration", 8,
                                  rowTop(16), 250);
  edtSectoredAngle = addParameterEdit(frmMain::edtSectoredAngle, "Angle(deg)", 17);

  checkStartChoices();
  rbtnRectangle->OnClick = [](TComponent*) { region_radio_clicked(0); };
  rbtnSector->OnClick = [](TComponent*) { region_radio_clicked(1); };
  rbtnSectoredDivision->OnClick = [](TComponent*) { region_radio_clicked(2); };
  rbtnRect_Direction->OnClick = [](TComponent*) { rect_mode_radio_clicked(0); };
  rbtnRect_Angle->OnClick = [](TComponent*) { rect_mode_radio_clicked(1); };
  cmbDirection->OnChange = [](TComponent*) { direction_changed(); };
  // An index set by code runs no OnChange, but the model has to read the combo again.
  QObject::connect(static_cast<QComboBox*>(cmbDirection->widget()), &QComboBox::currentIndexChanged,
                   [] { parameter_control_changed(frmMain::cmbDirection); });
}

// The radios the parameter table checks at start, before any handler is attached.
void TfrmMain::checkStartChoices() {
  for (const Parameter& p : parameter_table())
    for (size_t i = 0; i < p.radios.size(); ++i)
      if (p.radios[i].value == control_of(p).start_value)
        dynamic_cast<TRadioButton*>(findComponent(control_of(p).radios[i].control))->setChecked(true);
}

void TfrmMain::createCentreRows() {
  edtCenterX0 = addParameterEdit(frmMain::edtCenterX0, "CenterX", 18);
  edtCenterY0 = addParameterEdit(frmMain::edtCenterY0, "CenterY", 19);
}

void TfrmMain::createDialogs() {
  opdFileSelect = new TOpenDialog(this);
  opdFileSelect->setName(std::string(frmMain::opdFileSelect.control));
  svdFileSelect = new TSaveDialog(this);
  svdFileSelect->setName(std::string(frmMain::svdFileSelect.control));
  PrintDialog1 = new TPrintDialog(this);
  PrintDialog1->setName(std::string(frmMain::PrintDialog1.control));
}

void TfrmMain::FormCreate() {
  // The controls above hold their start texts; the radios were checked before any
  // handler was attached. The process-wide state starts here, then the settings apply.
  start_program_state();
}

void TfrmMain::FormClose() {
  if (settings_saved_) return;
  settings_saved_ = true;
  save_settings_file(settings_file_path());
}

}  // namespace kestrin::app
