// The background window: its controls, the view and gauge pictures, one call per button.
#include "app/bg_form.h"

#include <algorithm>
#include <initializer_list>

#include "app/image_view_paint.h"
#include "app/tool_form_builder.h"
#include "base/convert.h"
#include "commands/bg_commands.h"
#include "commands/main_form_commands.h"
#include "commands/osc_ana_commands.h"
#include "image/bg_image.h"
#include "image/display/gauge.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/bg_form_names.h"
#include "ports/ports.h"

namespace kestrin::app {

using namespace kgui;

namespace {

// The background view's grey ramp.
Palette bg_view_palette() { return image_palette(false, false); }

constexpr int kView = 600;
// Above this client size, with a background loaded, the view grows with the window.
constexpr int kLayoutWidth = 758, kLayoutHeight = 604;
constexpr TColor kRed = 0x0000FF, kWhite = 0xFFFFFF;

}  // namespace

TfrmBG::TfrmBG(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmBG::form));
  setCaption("KES for Windows (Back Ground)");
  setColor(kToolFormColour);
  setClientWidth(kView + 40 + 300);
  setClientHeight(kView + 110);
  ToolFormBuilder b(this, frmBG::start_texts);
  pnlImageBase = b.panel(this, frmBG::pnlImageBase, 0, 0, kView + 36, kView + 110);
  pnlButtons = b.panel(this, frmBG::pnlButtons, kView + 36, 0, 304, kView + 110);
  createView(b);
  createGauge(b);
  createMakeGroup(b);
  createSubtractGroup(b);
  createHidden(b);
  OnResize = [this](TComponent*) {
    if (clientWidth() > kLayoutWidth && clientHeight() > kLayoutHeight && bg_image().NoImageFlag == 0) layout_bg_form();
  };
}

void TfrmBG::layout_bg_form() {
  const int view_w = std::max(kView, clientWidth() - pnlButtons->width() - 36);
  const int view_h = std::max(kView, clientHeight() - 110);
  pnlImageBase->setBounds(0, 0, view_w + 36, view_h + 110);
  pnlButtons->setLeft(view_w + 36);
  pbxPart->setBounds(8, 8, view_w, view_h);
  scrDispX->setBounds(8, view_h + 10, view_w, 16);
  scrDispY->setBounds(view_w + 10, 8, 16, view_h);
  const int row = view_h + 32, gauge = view_h + 60;
  for (TControl* c : std::initializer_list<TControl*>{edtCursorX, edtCursorY, edtIntensity, edtDistance, cmbMagni,
                                                      edtMagni})
    c->setTop(row);
  for (TLabel* l : readout_labels_) l->setTop(row + 3);
  for (TControl* c : std::initializer_list<TControl*>{edtLowEdge, pbxGradationGauge, edtHighEdge}) c->setTop(gauge);
  for (TControl* c : std::initializer_list<TControl*>{lblLowIndex, lblHighIndex}) c->setTop(gauge + 25);
  state().bg_view.ViewWidth = view_w;
  state().bg_view.ViewHeight = view_h;
  bg_image_resized();
}

void TfrmBG::createView(ToolFormBuilder& b) {
  pbxPart = b.paint_box(pnlImageBase, frmBG::pbxPart, 8, 8, kView, kView);
  pbxPart->OnPaint = [this](TComponent*) { redraw_bg_view(); };
  pbxPart->OnMouseMove = [this](TComponent*, TShiftState, int x, int y) {
    const BgReadout r = bg_readout(x, y);
    edtCursorX->setText(r.x);
    edtCursorY->setText(r.y);
    edtIntensity->setText(r.intensity);
    edtDistance->setText(r.distance);
  };
  pbxPart->OnMouseDown = [this](TComponent*, TMouseButton button, TShiftState shift, int x, int y) {
    viewMouseDown(button, shift, x, y);
  };
  scrDispX = b.scroll_bar(pnlImageBase, frmBG::scrDispX, 8, kView + 10, kView, 16, false);
  scrDispY = b.scroll_bar(pnlImageBase, frmBG::scrDispY, kView + 10, 8, 16, kView, true);
  for (TScrollBar* s : {scrDispX, scrDispY}) {
    s->setLargeChange(kView);
    s->OnChange = [this](TComponent*) {
      if (scroll_lock_) return;
      state().bg_view.ScrollX = scrDispX->position();
      state().bg_view.ScrollY = scrDispY->position();
      redraw_bg_view();
    };
  }
  const int row = kView + 32;
  readout_labels_.push_back(b.label(pnlImageBase, "X", 8, row));
  edtCursorX = b.edit(pnlImageBase, frmBG::edtCursorX, 22, row, 50);
  readout_labels_.push_back(b.label(pnlImageBase, "Y", 80, row));
  edtCursorY = b.edit(pnlImageBase, frmBG::edtCursorY, 94, row, 50);
  readout_labels_.push_back(b.label(pnlImageBase, "Int", 152, row));
  edtIntensity = b.edit(pnlImageBase, frmBG::edtIntensity, 176, row, 80);
  readout_labels_.push_back(b.label(pnlImageBase, "Distance", 264, row));
  edtDistance = b.edit(pnlImageBase, frmBG::edtDistance, 324, row, 70);
  cmbMagni = b.combo(pnlImageBase, frmBG::cmbMagni, 404, row, 80, {"Whole", "100%", "200%", "400%", "800%"});
  cmbMagni->setItemIndex(1);
  cmbMagni->OnChange = [this](TComponent*) { applyZoom(set_bg_zoom(cmbMagni->itemIndex())); };
  edtMagni = b.edit(pnlImageBase, frmBG::edtMagni, 490, row, 50);
}

void TfrmBG::createGauge(ToolFormBuilder& b) {
  const int top = kView + 60;
  edtLowEdge = b.edit(pnlImageBase, frmBG::edtLowEdge, 8, top, 50);
  pbxGradationGauge = b.paint_box(pnlImageBase, frmBG::pbxGradationGauge, 64, top, 420, 20);
  edtHighEdge = b.edit(pnlImageBase, frmBG::edtHighEdge, 490, top, 60);
  lblLowIndex = b.label(pnlImageBase, frmBG::lblLowIndex, 64, top + 22);
  lblHighIndex = b.label(pnlImageBase, frmBG::lblHighIndex, 430, top + 22);
  edtLowEdge->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
    if (key == kEnterKey) gaugeKey(false);
  };
  edtHighEdge->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
    if (key == kEnterKey) gaugeKey(true);
  };
  pbxGradationGauge->OnPaint = [this](TComponent*) { draw_bg_gauge(); };
  pbxGradationGauge->OnMouseDown = [this](TComponent*, TMouseButton, TShiftState, int, int) {
    drag_ = {};
    drag_.held = true;
  };
  pbxGradationGauge->OnMouseMove = [this](TComponent*, TShiftState, int x, int) { gaugeMoved(x); };
  pbxGradationGauge->OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) {
    if (drag_.high || drag_.low) show_bg_display_levels();
    drag_ = {};
  };
  TGroupBox* scale = b.group(pnlButtons, "Scale", 8, 8, 288, 44);
  rbtnLogScale = b.radio(scale, frmBG::rbtnLogScale, "Log", 10, 18, 80);
  rbtnLinearScale = b.radio(scale, frmBG::rbtnLinearScale, "Linear", 100, 18, 80);
  rbtnLinearScale->setChecked(true);
  rbtnLogScale->OnClick = [](TComponent*) { bg_scale_clicked(true); };
  rbtnLinearScale->OnClick = [](TComponent*) { bg_scale_clicked(false); };
}

void TfrmBG::createMakeGroup(ToolFormBuilder& b) {
  lblBGFileName = b.label(pnlButtons, frmBG::lblBGFileName, 8, 60);
  pbtnLoadImage = b.button(pnlButtons, frmBG::pbtnLoadImage, "Load BG", 8, 82, 100);
  pbtnLoadImage->OnClick = [this](TComponent*) {
    load_bg_img_dialog();
    log_window().show();
    if (bg_image().NoImageFlag == 0) lblBGFileName->setCaption(bg_image().ImageFileName.substr(
                                           bg_image().ImageFileName.find_last_of('/') + 1));
  };
  TGroupBox* g = b.group(pnlButtons, "Make B.G.", 8, 116, 288, 230);
  const ToolFormBuilder::LabelledEdit rows[] = {{&edtFilterSize, frmBG::edtFilterSize, "Median Fil. Size"},
                                                {&edtFilterStep, frmBG::edtFilterStep, "Step(0=not Mesh)"},
                                                {&edtFilterSelect, frmBG::edtFilterSelect, "Se. Param.(50=Center)"}};
  b.labelled_edits(g, rows, 10, 200, 18, 24);
  rbtnBGSmoothing1 = b.radio(g, frmBG::rbtnBGSmoothing1, "Median", 10, 92, 80);
  rbtnBGSmoothing2 = b.radio(g, frmBG::rbtnBGSmoothing2, "Average", 90, 92, 80);
  rbtnBGSmoothing3 = b.radio(g, frmBG::rbtnBGSmoothing3, "Not Use", 170, 92, 80);
  rbtnBGSmoothing1->setChecked(true);
  b.label(g, "Smooth Fil. Type&&Size", 10, 116);
  edtFilterSize2 = b.edit(g, frmBG::edtFilterSize2, 200, 116, 60);
  lblPastSecond = b.label(g, frmBG::lblPastSecond, 10, 142);
  lblCurrentLine = b.label(g, frmBG::lblCurrentLine, 100, 142);
  lblLines = b.label(g, frmBG::lblLines, 180, 142);
  Button1 = b.button(g, frmBG::Button1, "Pause", 10, 166, 80);
  Button2 = b.button(g, frmBG::Button2, "Cancel", 96, 166, 80);
  pbtnExecuteFiltering = b.button(g, frmBG::pbtnExecuteFiltering, "Make BG", 10, 196, 130);
  PanelButton1 = b.button(g, frmBG::PanelButton1, "Save BG", 148, 196, 130);
  Button1->OnClick = [](TComponent*) { batch_toggle_pause_command(); };
  Button2->OnClick = [](TComponent*) { batch_cancel_command(); };
  pbtnExecuteFiltering->OnClick = [](TComponent*) { make_bg_command(); };
  PanelButton1->OnClick = [](TComponent*) { save_bg_command(); };
  for (TEdit* e : {edtFilterSize, edtFilterStep, edtFilterSelect, edtFilterSize2})
    e->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
      if (key == kEnterKey) filterKey();
    };
}

void TfrmBG::createSubtractGroup(ToolFormBuilder& b) {
  TGroupBox* g = b.group(pnlButtons, "Subtract B.G.", 8, 352, 288, 220);
  TGroupBox* s = b.group(g, "Smoothing Setting", 8, 18, 272, 70);
  rbtnSourceSmoothing1 = b.radio(s, frmBG::rbtnSourceSmoothing1, "Median", 8, 18, 80);
  rbtnSourceSmoothing2 = b.radio(s, frmBG::rbtnSourceSmoothing2, "Average", 90, 18, 80);
  rbtnSourceSmoothing3 = b.radio(s, frmBG::rbtnSourceSmoothing3, "Not Use", 172, 18, 80);
  rbtnSourceSmoothing1->setChecked(true);
  edtSourceSmoothingFilterSize = b.edit(s, frmBG::edtSourceSmoothingFilterSize, 8, 42, 50);
  edtSourceSmoothingFilterSize->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
    if (key == kEnterKey) filterKey();
  };
  b.label(g, "元データ+", 10, 96);
  edtSourcePlus = b.edit(g, frmBG::edtSourcePlus, 100, 96, 60);
  b.label(g, "-100～+100 (0=下駄なし)", 10, 118);
  b.label(g, "BG*", 10, 142);
  edtBGMagni = b.edit(g, frmBG::edtBGMagni, 100, 142, 60);
  pbtnSubtractBG = b.button(g, frmBG::pbtnSubtractBG, "Sbtract BG", 10, 176, 130);
  pbtnSaveImage = b.button(g, frmBG::pbtnSaveImage, "Save Image", 148, 176, 130);
  pbtnSubtractBG->OnClick = [](TComponent*) { subtract_bg_command(); };
  pbtnSaveImage->OnClick = [](TComponent*) { save_bg_command(); };
}

void TfrmBG::createHidden(ToolFormBuilder& b) {
  cmbPenSize = b.combo(pnlButtons, frmBG::cmbPenSize, 8, 580, 60, {});
  chkEraseMode = b.check(pnlButtons, frmBG::chkEraseMode, "", 8, 580, 60);
  chkOmitGreen = b.check(pnlButtons, frmBG::chkOmitGreen, "", 8, 580, 60);
  chkOmitBlue = b.check(pnlButtons, frmBG::chkOmitBlue, "", 8, 580, 60);
  rbtnHistoScale = b.radio(pnlButtons, frmBG::rbtnHistoScale, "", 8, 580, 60);
  edtOffset1 = b.edit(pnlButtons, frmBG::edtOffset1, 8, 580, 60);
  imgWhole = b.paint_box(pnlButtons, frmBG::imgWhole, 8, 580, 60, 20);
  Memo1 = b.memo(pnlButtons, frmBG::Memo1, 8, 580, 60, 20);
  for (TControl* c : std::initializer_list<TControl*>{cmbPenSize, chkEraseMode, chkOmitGreen, chkOmitBlue,
                                                      rbtnHistoScale, edtOffset1, imgWhole, Memo1})
    c->setVisible(false);
}

void TfrmBG::applyZoom(const ZoomResult& r) {
  scroll_lock_ = true;
  scrDispX->setParams(0, 0, r.scroll_max_x);
  scrDispY->setParams(0, 0, r.scroll_max_y);
  scrDispX->setPosition(state().bg_view.ScrollX);
  scrDispY->setPosition(state().bg_view.ScrollY);
  if (r.large_change_x > 0) scrDispX->setLargeChange(r.large_change_x);
  if (r.large_change_y > 0) scrDispY->setLargeChange(r.large_change_y);
  scroll_lock_ = false;
  edtMagni->setText(FloatToStr(bg_image_view().Zoom));
  redraw_bg_view();
}

void TfrmBG::bg_image_resized() {
  const int item = cmbMagni->itemIndex() < 0 ? 1 : cmbMagni->itemIndex();
  applyZoom(set_bg_zoom(item));
}

void TfrmBG::redraw_bg_view() {
  const ImageStore& bg = bg_image();
  const DisplayLevels& levels = state().bg_levels;
  if (bg.NoImageFlag == 1 || levels.level.size() != size_t(bg.ImageWidth) * size_t(bg.ImageHeight)) return;
  const ImageView v = bg_image_view();
  std::vector<uint8_t> mask(levels.level.size(), 0);
  paint_image_view(*pbxPart, levels.level, mask, bg.ImageWidth, bg.ImageHeight, v, v.WholeView ? 0 : v.ScrollX,
                   v.WholeView ? 0 : v.ScrollY, bg_view_palette(), mask_palette(0));
  pbxPart->invalidate();
}

// The gauge runs with the view: both take the view's palette.
void TfrmBG::draw_bg_gauge() {
  draw_gauge(*pbxGradationGauge, state().bg_view.scale, GaugeRounding::kTrunc, bg_view_palette());
  pbxGradationGauge->invalidate();
}

void TfrmBG::viewMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && (shift & (1u << ssShift))) bg_pixel_information(x, y);
  if (button != mbMiddle || bg_image().NoImageFlag == 1) return;
  if (cmbMagni->itemIndex() != 0) {
    zoom_item_before_whole_ = cmbMagni->itemIndex();
    cmbMagni->setItemIndex(0);
    applyZoom(set_bg_zoom(0));
    return;
  }
  const ImageView whole = bg_image_view();
  const int32_t px = Trunc(x / whole.Zoom), py = Trunc(y / whole.Zoom);
  cmbMagni->setItemIndex(zoom_item_before_whole_);
  const ZoomResult r = set_bg_zoom(zoom_item_before_whole_);
  const ImageView v = bg_image_view();
  state().bg_view.ScrollX = std::clamp(px - v.ViewCols / 2, 0, r.scroll_max_x);
  state().bg_view.ScrollY = std::clamp(py - v.ViewRows / 2, 0, r.scroll_max_y);
  applyZoom(r);
}

void TfrmBG::gaugeKey(bool high) {
  DisplayScale& s = state().bg_view.scale;
  if (high) set_gauge_high(s, StrToInt(edtHighEdge->text()));
  else bg_low_edge_entered(s, StrToInt(edtLowEdge->text()));
  lblLowIndex->setCaption(Format("%d", {s.LowEdge}));
  lblHighIndex->setCaption(Format("%d", {s.HighEdge}));
  draw_bg_gauge();
  show_bg_display_levels();
}

void TfrmBG::gaugeMoved(int x) {
  DisplayScale& s = state().bg_view.scale;
  const bool moved = drag_gauge_edge(drag_, s, gauge_value(s, x, pbxGradationGauge->width(), GaugeRounding::kTrunc));
  if (!moved) return;
  lblLowIndex->setCaption(Format("%d", {s.LowEdge}));
  lblHighIndex->setCaption(Format("%d", {s.HighEdge}));
  draw_bg_gauge();
}

void TfrmBG::filterKey() {
  const TColor colour = filter_size_ok() ? kWhite : kRed;
  edtFilterSize->setColor(colour);
  edtFilterStep->setColor(colour);
}

}  // namespace kestrin::app
