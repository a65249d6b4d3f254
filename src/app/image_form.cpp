// TfrmImage: building the window's controls and attaching one command to each action.
#include "app/image_form.h"

#include <QGuiApplication>

#include "app/form_colours.h"
#include "app/printing.h"
#include "commands/file_commands.h"
#include "commands/image_form_commands.h"
#include "commands/image_view_commands.h"
#include "commands/main_form_commands.h"
#include "commands/window_start_values.h"
#include "model/state.h"
#include "ports/names/image_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

// The part view and its bars on the image panel; the panel's margins.
constexpr int kViewLeft = 4, kViewTop = 4, kViewSide = 600, kBarThickness = 17;
// The button panel: its width, and the columns of its controls.
constexpr int kButtonsWidth = 376, kMargin = 6, kGaugeWidth = 364, kGaugeHeight = 20;
constexpr int kRowHeight = 24, kButtonHeight = 28, kButtonTop = 288;
// The window-setting group below the buttons, and the panel's height down to its end.
constexpr int kSettingTop = kButtonTop + 4 * (kButtonHeight + 4) + 4, kSettingHeight = 70;
constexpr int kButtonsContentHeight = kSettingTop + kSettingHeight + kMargin;
constexpr int kImageLayoutDelay = 100;  // ms without a resize before the layout follows

std::string_view start_text(ControlName name) {
  for (const ControlStart& s : image_window_start_values())
    if (s.control == name) return s.text;
  return {};
}

int32_t start_value(ControlName name) {
  for (const ControlStart& s : image_window_start_values())
    if (s.control == name) return s.value;
  return 0;
}

TGroupBox* addGroup(TWinControl* parent, TComponent* owner, const char* caption, int left, int top, int width,
                    int height) {
  auto* g = new TGroupBox(owner);
  g->setParent(parent);
  g->setBounds(left, top, width, height);
  g->setCaption(caption);
  return g;
}

}  // namespace

TfrmImage::TfrmImage(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmImage::form));
  setCaption("KES for Windows (Image)");
  setColor(kFormColour);
  createImagePanel();
  createButtonPanel();
  const int panel = kViewTop + kViewSide + kBarThickness + 7;
  setBounds(left(), top(), panel + 5 + kButtonsWidth + 15, panel + 36);
  // Never so small that the button panel is cut.
  constraints()->setMinWidth(kImageFormMinWidth);
  constraints()->setMinHeight(kImageFormMinHeight);
  Timer1 = new TTimer(this);
  Timer1->setName(std::string(frmImage::Timer1.control));
  Timer1->setEnabled(false);
  Timer1->setInterval(kImageLayoutDelay);
  attachHandlers();
}

void TfrmImage::createImagePanel() {
  const int side = kViewTop + kViewSide + kBarThickness + 7;
  pnlImageBase = new TPanel(this);
  pnlImageBase->setName(std::string(frmImage::pnlImageBase.control));
  pnlImageBase->setParent(this);
  pnlImageBase->setBounds(0, 0, side, side);
  pnlImageBase->setBevelOuter(bvNone);
  pnlImageBase->setColor(kFormColour);
  pbxPart = new TPaintBox(this);
  pbxPart->setName(std::string(frmImage::pbxPart.control));
  pbxPart->setParent(pnlImageBase);
  pbxPart->setBounds(kViewLeft, kViewTop, kViewSide, kViewSide);
  scrDispX = new TScrollBar(this);
  scrDispX->setName(std::string(frmImage::scrDispX.control));
  scrDispX->setParent(pnlImageBase);
  scrDispX->setBounds(kViewLeft, kViewTop + kViewSide + 2, kViewSide, kBarThickness);
  scrDispY = new TScrollBar(this);
  scrDispY->setName(std::string(frmImage::scrDispY.control));
  scrDispY->setKind(sbVertical);
  scrDispY->setParent(pnlImageBase);
  scrDispY->setBounds(kViewLeft + kViewSide + 2, kViewTop, kBarThickness, kViewSide);
  for (TScrollBar* bar : {scrDispX, scrDispY}) {
    bar->setParams(0, 0, 0);
    bar->setLargeChange(kViewSide);
  }
}

void TfrmImage::createButtonPanel() {
  pnlButtons = new TPanel(this);
  pnlButtons->setName(std::string(frmImage::pnlButtons.control));
  pnlButtons->setParent(this);
  pnlButtons->setBounds(pnlImageBase->width() + 5, 0, kButtonsWidth, pnlImageBase->height());
  pnlButtons->setColor(kPanelColour);
  imgWhole = new TPaintBox(this);
  imgWhole->setName(std::string(frmImage::imgWhole.control));
  imgWhole->setParent(pnlButtons);
  imgWhole->setBounds(kMargin, kMargin, 100, 100);
  createReadouts();
  createZoomControls();
  createGauge();
  createRadioGroups();
  createCommandButtons();
  createWindowSetting();
}

TEdit* TfrmImage::addEdit(TWinControl* parent, ControlName name, int left, int top, int width) {
  auto* e = new TEdit(this);
  e->setName(std::string(name.control));
  e->setParent(parent);
  e->setBounds(left, top, width, 21);
  e->setColor(kEditColour);
  e->setText(std::string(start_text(name)));
  return e;
}

TLabel* TfrmImage::addLabel(TWinControl* parent, const char* caption, int left, int top) {
  auto* l = new TLabel(this);
  l->setParent(parent);
  l->setBounds(left, top + 3, 60, 16);
  l->setCaption(caption);
  return l;
}

void TfrmImage::createReadouts() {
  const int label = 112, edit = 172, width = 96;
  TEdit** edits[] = {&edtCursorX, &edtCursorY, &edtIntensity, &edtDistance, &edtAngle};
  const ControlName names[] = {frmImage::edtCursorX, frmImage::edtCursorY, frmImage::edtIntensity, frmImage::edtDistance,
                               frmImage::edtAngle};
  const char* captions[] = {"X", "Y", "Int", "Distance", "Chi(deg)"};
  for (int i = 0; i < 5; ++i) {
    addLabel(pnlButtons, captions[i], label, kMargin + i * kRowHeight);
    *edits[i] = addEdit(pnlButtons, names[i], edit, kMargin + i * kRowHeight, width);
    (*edits[i])->setReadOnly(true);
  }
}

void TfrmImage::createZoomControls() {
  const int left = kButtonsWidth - kMargin - 96;
  cmbMagni = new TComboBox(this);
  cmbMagni->setName(std::string(frmImage::cmbMagni.control));
  cmbMagni->setParent(pnlButtons);
  cmbMagni->setBounds(left, kMargin, 96, 21);
  cmbMagni->setStyle(csDropDownList);
  for (const char* item : {"Whole", "100%", "200%", "400%", "800%"}) cmbMagni->items()->add(item);
  cmbMagni->setItemIndex(start_value(frmImage::cmbMagni));
  edtMagni = addEdit(pnlButtons, frmImage::edtMagni, left, kMargin + kRowHeight, 96);
  cmbPenSize = new TComboBox(this);
  cmbPenSize->setName(std::string(frmImage::cmbPenSize.control));
  cmbPenSize->setParent(pnlButtons);
  cmbPenSize->setBounds(left, kMargin + 2 * kRowHeight, 96, 21);
  cmbPenSize->setStyle(csDropDownList);
  for (const char* item : {"2pts", "4pts", "8pts", "16pts", "32pts", "64pts", "128pts", "256pts"})
    cmbPenSize->items()->add(item);
  cmbPenSize->setItemIndex(start_value(frmImage::cmbPenSize));
  state().image_tools.PenSize = pen_size_of_entry(cmbPenSize->itemIndex());
}

void TfrmImage::createGauge() {
  const int top = 132;
  pbxGradationGauge = new TPaintBox(this);
  pbxGradationGauge->setName(std::string(frmImage::pbxGradationGauge.control));
  pbxGradationGauge->setParent(pnlButtons);
  pbxGradationGauge->setBounds(kMargin, top, kGaugeWidth, kGaugeHeight);
  lblLowIndex = addLabel(pnlButtons, "", kMargin, top + kGaugeHeight);
  lblLowIndex->setName(std::string(frmImage::lblLowIndex.control));
  lblLowIndex->setCaption(std::string(start_text(frmImage::lblLowIndex)));
  lblLowIndex->font()->setColor(clBlue);
  lblHighIndex = addLabel(pnlButtons, "", kButtonsWidth - kMargin - 60, top + kGaugeHeight);
  lblHighIndex->setName(std::string(frmImage::lblHighIndex.control));
  lblHighIndex->setCaption(std::string(start_text(frmImage::lblHighIndex)));
  lblHighIndex->setAlignment(taRightJustify);
  lblHighIndex->font()->setColor(clRed);
  edtLowEdge = addEdit(pnlButtons, frmImage::edtLowEdge, kMargin, top + kGaugeHeight + 20, 80);
  edtHighEdge = addEdit(pnlButtons, frmImage::edtHighEdge, kButtonsWidth - kMargin - 80, top + kGaugeHeight + 20, 80);
}

TRadioButton* TfrmImage::addRadio(TWinControl* parent, ControlName name, const char* caption, int left, int width) {
  auto* r = new TRadioButton(this);
  r->setName(std::string(name.control));
  r->setParent(parent);
  r->setBounds(left, 18, width, 20);
  r->setCaption(caption);
  r->setChecked(start_value(name) == 1);
  return r;
}

TCheckBox* TfrmImage::addCheckBox(ControlName name, const char* caption, int left, int top) {
  auto* c = new TCheckBox(this);
  c->setName(std::string(name.control));
  c->setParent(pnlButtons);
  c->setBounds(left, top, 150, 20);
  c->setCaption(caption);
  c->setChecked(start_value(name) == 1);
  return c;
}

void TfrmImage::createRadioGroups() {
  const int top = 198, half = (kGaugeWidth - kMargin) / 2;
  TGroupBox* scale = addGroup(pnlButtons, this, "Scale", kMargin, top, half, 46);
  rbtnLinearScale = addRadio(scale, frmImage::rbtnLinearScale, "Linear", 8, 70);
  rbtnLogScale = addRadio(scale, frmImage::rbtnLogScale, "Log", 84, 70);
  TGroupBox* mode = addGroup(pnlButtons, this, "Mouse Mode", 2 * kMargin + half, top, half, 46);
  rbtnMask = addRadio(mode, frmImage::rbtnMask, "Mask", 8, 60);
  rbtnAreaSelect = addRadio(mode, frmImage::rbtnAreaSelect, "Area Select", 70, 100);
  chkOmitGreen = addCheckBox(frmImage::chkOmitGreen, "Omit Green", kMargin, top + 52);
  chkOmitBlue = addCheckBox(frmImage::chkOmitBlue, "Omit Blue", 2 * kMargin + half, top + 52);
}

TPanelButton* TfrmImage::addButton(ControlName name, const char* caption, int index) {
  const int width = (kGaugeWidth - kMargin) / 2;
  return make_panel_button(pnlButtons, std::string(name.control), caption, kMargin + (index % 2) * (width + kMargin),
                           kButtonTop + (index / 2) * (kButtonHeight + 4), width, kButtonHeight);
}

void TfrmImage::createCommandButtons() {
  pbtnLoadImage = addButton(frmImage::pbtnLoadImage, "Load Image", 0);
  pbtnClearMask = addButton(frmImage::pbtnClearMask, "Clear Mask", 1);
  pbtnFindCenter = addButton(frmImage::pbtnFindCenter, "Find Center", 2);
  pbtnLoadMask = addButton(frmImage::pbtnLoadMask, "Load Mask", 3);
  pbtnSaveMask = addButton(frmImage::pbtnSaveMask, "Save Mask", 4);
  pbtnFindSpots = addButton(frmImage::pbtnFindSpots, "Find Spots", 5);
  pbtnPrintImage = addButton(frmImage::pbtnPrintImage, "Pri.Windo.Img", 6);
  pbtnSaveImage = addButton(frmImage::pbtnSaveImage, "Save Image", 7);
}

void TfrmImage::createWindowSetting() {
  TGroupBox* g = addGroup(pnlButtons, this, "ImageWindowSetting", kMargin, kSettingTop, kGaugeWidth, kSettingHeight);
  TEdit** edits[] = {&edtImageWindowWidth, &edtImageWindowHeight, &edtImageWindowCX, &edtImageWindowCY};
  const ControlName names[] = {frmImage::edtImageWindowWidth, frmImage::edtImageWindowHeight, frmImage::edtImageWindowCX,
                               frmImage::edtImageWindowCY};
  const char* captions[] = {"Width", "Height", "CX", "CY"};
  for (int i = 0; i < 4; ++i) {
    const int left = 8 + (i % 2) * 180, top = 18 + (i / 2) * kRowHeight;
    addLabel(g, captions[i], left, top);
    *edits[i] = addEdit(g, names[i], left + 56, top, 100);
  }
}

void TfrmImage::attachHandlers() {
  OnResize = [this](TComponent*) { FormResize(); };
  OnShow = [](TComponent*) { show_scale_radios(); };
  Timer1->setOnTimer([this](TComponent*) { Timer1Timer(); });
  scrDispX->OnChange = [this](TComponent*) { scroll_bar_changed(true, scrDispX->position(), scrDispY->position()); };
  scrDispY->OnChange = [this](TComponent*) { scroll_bar_changed(false, scrDispX->position(), scrDispY->position()); };
  cmbMagni->OnChange = [](TComponent*) { magnification_chosen(); };
  edtMagni->OnKeyDown = [](TComponent*, int& key, TShiftState) { magnification_key(key); };
  cmbPenSize->OnChange = [](TComponent*) { pen_size_chosen(); };
  rbtnMask->OnClick = [](TComponent*) { mouse_mode_clicked(0); };
  rbtnAreaSelect->OnClick = [](TComponent*) { mouse_mode_clicked(1); };
  chkOmitGreen->OnClick = [](TComponent*) { omit_green_clicked(); };
  chkOmitBlue->OnClick = [](TComponent*) { omit_blue_clicked(); };
  rbtnLinearScale->OnClick = rbtnLogScale->OnClick = [](TComponent*) { scale_radio_clicked(); };
  edtLowEdge->OnKeyDown = [](TComponent*, int& key, TShiftState) { edge_edit_key(frmImage::edtLowEdge, key); };
  edtHighEdge->OnKeyDown = [](TComponent*, int& key, TShiftState) { edge_edit_key(frmImage::edtHighEdge, key); };
  for (TEdit* e : {edtImageWindowWidth, edtImageWindowHeight, edtImageWindowCX, edtImageWindowCY})
    e->OnKeyDown = [](TComponent*, int& key, TShiftState) { window_size_key(key); };

  pbxPart->OnPaint = [this](TComponent*) { redraw_image(); };
  pbxPart->OnMouseDown = [](TComponent*, TMouseButton b, TShiftState s, int x, int y) { image_mouse_down(b, s, x, y); };
  pbxPart->OnMouseMove = [](TComponent*, TShiftState, int x, int y) { image_mouse_move(x, y); };
  pbxPart->OnMouseUp = [](TComponent*, TMouseButton b, TShiftState, int, int) { image_mouse_up(b); };
  imgWhole->OnMouseDown = [this](TComponent*, TMouseButton, TShiftState, int x, int y) {
    thumbnail_clicked(x, y, imgWhole->width());
  };
  pbxGradationGauge->OnPaint = [this](TComponent*) { draw_gradation_gauge(); };
  pbxGradationGauge->OnMouseDown = [](TComponent*, TMouseButton, TShiftState, int, int) { gauge_mouse_down(); };
  pbxGradationGauge->OnMouseMove = [this](TComponent*, TShiftState, int x, int) {
    gauge_mouse_move(x, pbxGradationGauge->width());
  };
  pbxGradationGauge->OnMouseUp = [](TComponent*, TMouseButton, TShiftState, int, int) { gauge_mouse_up(); };

  pbtnLoadImage->OnClick = [](TComponent*) { load_image_command(); };
  pbtnClearMask->OnClick = [](TComponent*) { clear_mask_command(); };
  pbtnFindCenter->OnClick = [](TComponent*) { find_center_command(false); };
  pbtnLoadMask->OnClick = [](TComponent*) { load_mask_dialog(); };
  pbtnSaveMask->OnClick = [](TComponent*) { save_mask_dialog(); };
  pbtnFindSpots->OnClick = [](TComponent*) { find_spot_command(); };
  pbtnPrintImage->OnClick = [this](TComponent*) { print_img_proc2(pbxPart->image()); };
  pbtnSaveImage->OnClick = [](TComponent*) { save_img_command(); };
}

// Resizes only ask for a layout; the timer lays out once they stop and no button is held
// (a frame drag under X11 holds no button the program can see).
void TfrmImage::FormResize() {
  // The size the view edits gave the window is laid out already.
  if (width() == sized_width_ && height() == sized_height_) return;
  if (!layout_wanted(width(), height())) return;
  state().image_view.LayoutPending = true;
  Timer1->setEnabled(false);
  Timer1->setEnabled(true);
}

int TfrmImage::buttons_content_height() { return kButtonsContentHeight; }

void TfrmImage::Timer1Timer() {
  if (!state().image_view.LayoutPending) return Timer1->setEnabled(false);
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
  Timer1->setEnabled(false);
  state().image_view.LayoutPending = false;
  layout_image_form();
}

}  // namespace kestrin::app
