// TfrmMain: building the window and its start state, the parameter handlers and closing.
#include "app/main_form.h"

#include "analysis/dispatch.h"
#include "analysis/main_commands.h"
#include "analysis/parameters.h"
#include "base/convert.h"
#include "image/files/settings_file.h"
#include "image/state.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr TColor kFormColour = 0xFFE4CE;
constexpr TColor kPanelColour = 0xFFF2E8;
constexpr TColor kEditColour = 0xECFFFE;
constexpr TColor kEditTextColour = 0x421C34;

// Parameter panel grid: one row per parameter.
constexpr int kRowTop = 8, kRowHeight = 24;
constexpr int kLockLeft = 4, kLabelLeft = 22, kEditLeft = 180, kEditWidth = 90, kHintLeft = 276;
constexpr int kPanelTop = 68, kPanelWidth = 364, kRows = 20;

int rowTop(int row) { return kRowTop + row * kRowHeight; }

}  // namespace

TfrmMain::TfrmMain(Component* owner) : TForm(owner) {
  setName("frmMain");
  setCaption("KES for Windows (Main)");
  setColor(kFormColour);
  font()->setName("ＭＳ Ｐゴシック");
  setClientWidth(kPanelWidth + 16);
  createMenu();
  setClientHeight(kPanelTop + rowTop(kRows) + 12);
  createCommandButtons();
  createParameterPanel();
  createDialogs();
  OnClose = [this](Component*, int&) { FormClose(); };
  FormCreate();
}

TPanelButton* TfrmMain::addCommandButton(const char* name, const char* caption, int left, int top) {
  return make_panel_button(this, name, caption, left, top, kPanelWidth / 2 - 2, 26);
}

void TfrmMain::createCommandButtons() {
  const int right = 8 + kPanelWidth / 2 + 2;
  pbtnLoadImage = addCommandButton("pbtnLoadImage", "Load Image", 8, 6);
  pbtnFindCenter = addCommandButton("pbtnFindCenter", "Find Center", right, 6);
  pbtnAngleIntensity = addCommandButton("pbtnAngleIntensity", "Angle Intensity", 8, 36);
  pbtnPixelIntensity = addCommandButton("pbtnPixelIntensity", "Pixel Intensity", right, 36);
  pbtnLoadImage->OnClick = [](Component*) { load_image_command(); };
  pbtnFindCenter->OnClick = [](Component*) { find_center_command(false); };
  pbtnAngleIntensity->OnClick = [](Component*) { calc_angle_histogram_selection(); };
  pbtnPixelIntensity->OnClick = [](Component*) { calc_pixel_histogram_selection(); };
}

TLabel* TfrmMain::addLabel(const char* caption, int left, int top) {
  auto* l = new TLabel(this);
  l->setParent(Panel1);
  l->setBounds(left, top + 3, 150, 16);
  l->font()->setName("Times New Roman");
  l->setCaption(caption);
  return l;
}

TEdit* TfrmMain::addParameterEdit(const char* name, const char* label, const char* text, int row) {
  if (label) addLabel(label, kLabelLeft, rowTop(row));
  auto* e = new TEdit(this);
  e->setName(name);
  e->setParent(Panel1);
  e->setBounds(kEditLeft, rowTop(row), kEditWidth, 21);
  e->setColor(kEditColour);
  e->font()->setColor(kEditTextColour);
  e->setText(text);
  const std::string edit = name;
  e->OnKeyDown = [edit](Component*, int& key, TShiftState) { parameter_edit_key(edit, key); };
  return e;
}

TCheckBox* TfrmMain::addLockBox(const char* name, int row) {
  auto* c = new TCheckBox(this);
  c->setName(name);
  c->setParent(Panel1);
  c->setBounds(kLockLeft, rowTop(row) + 2, 16, 17);
  c->setChecked(true);
  return c;
}

TRadioButton* TfrmMain::addRadio(TWinControl* parent, const char* name, const char* caption, int left, int top,
                                 int width) {
  auto* r = new TRadioButton(this);
  r->setName(name);
  r->setParent(parent);
  r->setBounds(left, top, width, 20);
  r->setCaption(caption);
  return r;
}

void TfrmMain::createParameterPanel() {
  Panel1 = new TPanel(this);
  Panel1->setName("Panel1");
  Panel1->setParent(this);
  Panel1->setBounds(8, kPanelTop, kPanelWidth, rowTop(kRows) + 4);
  Panel1->setColor(kPanelColour);
  createGeometryRows();
  createRegionRows();
  createCentreRows();
}

void TfrmMain::createGeometryRows() {
  edt2ThetaBegin = addParameterEdit("edt2ThetaBegin", "2Theta begin(deg)", "1.0", 0);
  edt2ThetaEnd = addParameterEdit("edt2ThetaEnd", "2Theta end(deg)", "32.00", 1);
  edt2ThetaStep = addParameterEdit("edt2ThetaStep", "2Theta step(deg)", "0.020000", 2);
  edtCameraLength = addParameterEdit("edtCameraLength", "Lo (mm)", "500", 3);
  edtLambda = addParameterEdit("edtLambda", "Wave Length(A)", "1.0", 4);
  edtPixelX = addParameterEdit("edtPixelX", "Pixel Size X(mm/pixel)", "0.1", 5);
  edtPixelY = addParameterEdit("edtPixelY", "Pixel Size Y(mm/pixel)", "0.1", 6);
  edtBeta = addParameterEdit("edtBeta", "Beta(deg)", "324.000", 7);
  edtPhi = addParameterEdit("edtPhi", "Phi(deg)", "0.00000", 8);
  chkLo = addLockBox("chkLo", 3);
  chkwl = addLockBox("chkwl", 4);
  chkpsx = addLockBox("chkpsx", 5);
  chkpsy = addLockBox("chkpsy", 6);
}

void TfrmMain::createRegionRows() {
  rbtnRectangle = addRadio(Panel1, "rbtnRectangle", "Rectangle - Integration", 8, rowTop(9), 250);
  edtBandWidth = addParameterEdit("edtBandWidth", "Band", "100", 10);
  // The rectangle's two modes form their own group on a panel of their own. It lies over
  // the parameter panel but belongs to the form: a radio button's group is every radio
  // button below its parent, nested panels included.
  pnlRectMode = new TPanel(this);
  pnlRectMode->setName("pnlRectMode");
  pnlRectMode->setParent(this);
  pnlRectMode->setBounds(Panel1->left() + kLabelLeft - 4, Panel1->top() + rowTop(11), 150, 2 * kRowHeight - 2);
  pnlRectMode->setBevelOuter(bvNone);
  pnlRectMode->setColor(kPanelColour);
  rbtnRect_Direction = addRadio(pnlRectMode, "rbtnRect_Direction", "Direction", 2, 1, 140);
  rbtnRect_Angle = addRadio(pnlRectMode, "rbtnRect_Angle", "Angle(deg)", 2, kRowHeight + 1, 140);
  rbtnRect_Direction->setChecked(true);
  cmbDirection = new TComboBox(this);
  cmbDirection->setName("cmbDirection");
  cmbDirection->setParent(Panel1);
  cmbDirection->setBounds(kEditLeft, rowTop(11), kEditWidth, 21);
  cmbDirection->setStyle(csDropDownList);
  for (const char* d : {"TOP", "BOTTOM", "VERTICAL", "LEFT", "RIGHT", "HORIZONTAL", "FULL", "RU", "RL", "LU", "LL"})
    cmbDirection->items()->add(d);
  cmbDirection->setItemIndex(4);
  edtRectAngle = addParameterEdit("edtRectAngle", nullptr, "0.000000", 12);
  rbtnSector = addRadio(Panel1, "rbtnSector", "Sector - Integration", 8, rowTop(13), 250);
  edtSectorStartAngle = addParameterEdit("edtSectorStartAngle", "Start Angle(deg)", "0.00000", 14);
  edtSectorEndAngle = addParameterEdit("edtSectorEndAngle", "End Angle(deg)", "10.00000", 15);
  addLabel("* 0~720(deg)", kHintLeft, rowTop(14))->setWidth(kPanelWidth - kHintLeft - 4);
  addLabel("* Start < End", kHintLeft, rowTop(15))->setWidth(kPanelWidth - kHintLeft - 4);
  rbtnSectoredDivision = addRadio(Panel1, "rbtnSectoredDivision", "Sectored division - Integration", 8,
                                  rowTop(16), 250);
  rbtnSectoredDivision->setChecked(true);
  edtSectoredAngle = addParameterEdit("edtSectoredAngle", "Angle(deg)", "22.5", 17);

  rbtnRectangle->OnClick = [](Component*) { region_radio_clicked(0); };
  rbtnSector->OnClick = [](Component*) { region_radio_clicked(1); };
  rbtnSectoredDivision->OnClick = [](Component*) { region_radio_clicked(2); };
  rbtnRect_Direction->OnClick = [](Component*) { rect_mode_radio_clicked(0); };
  rbtnRect_Angle->OnClick = [](Component*) { rect_mode_radio_clicked(1); };
  cmbDirection->OnChange = [](Component*) { direction_changed(); };
}

void TfrmMain::createCentreRows() {
  edtCenterX0 = addParameterEdit("edtCenterX0", "CenterX", "906", 18);
  edtCenterY0 = addParameterEdit("edtCenterY0", "CenterY", "1989", 19);
}

void TfrmMain::createDialogs() {
  opdFileSelect = new TOpenDialog(this);
  opdFileSelect->setName("opdFileSelect");
  svdFileSelect = new TSaveDialog(this);
  svdFileSelect->setName("svdFileSelect");
  PrintDialog1 = new TPrintDialog(this);
  PrintDialog1->setName("PrintDialog1");
}

void TfrmMain::FormCreate() {
  // The controls above hold their start texts; the radios were checked before any
  // handler was attached. The process-wide state starts here, then the settings apply.
  init_program_state();
  read_settings_file(settings_file_path());
  // The geometry follows what the window shows from the start: left at zero, the first
  // image loaded would write the zeros into the edits (a 2theta step of 0, say) and every
  // analysis would refuse until the user retyped them. A text that does not convert is
  // left for the next analysis to report.
  try {
    read_parameters();
  } catch (const ConversionError&) {
  }
}

void TfrmMain::FormClose() {
  if (settings_saved_) return;
  settings_saved_ = true;
  save_settings_file(settings_file_path());
}

}  // namespace kestrin::app
