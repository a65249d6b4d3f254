// The merge image window: its controls, the gauge and picture drawing, and one call into
// the merge commands per action.
#include "app/merge_image_form.h"

#include <cmath>

#include "app/image_view_paint.h"
#include "app/tool_form_controls.h"
#include "commands/image_form_commands.h"
#include "commands/merge_image_commands.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "ports/names/merge_image_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr int kGaugeLeft = 96, kGaugeTop = 206, kGaugeWidth = 400, kGaugeHeight = 20;
constexpr int kMergedPictureLeft = 8, kMergedPictureTop = 260;

TEdit* start_edit(TForm* form, TWinControl* parent, ControlName name, int left, int top, int width) {
  return add_edit(form, parent, name, start_text(frmMergeImage::start_texts, name), left, top, width);
}

}  // namespace

TfrmMergeImage::TfrmMergeImage(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmMergeImage::form, "frmMergeImage", 760, 620);
  createFileList();
  createSettingPanel();
  createScaleGroup();
  createGauge();
  createPicture();
  createDialogs();
  OnShow = [](TComponent*) { show_scale_radios(); };
}

void TfrmMergeImage::createFileList() {
  pbtnFileSelect = make_panel_button(this, std::string(frmMergeImage::pbtnFileSelect.control), "Select Target Files",
                                     8, 8, 150, 26);
  PanelButton1 = make_panel_button(this, std::string(frmMergeImage::PanelButton1.control), "Clear List", 164, 8, 96, 26);
  btnSort = add_button(this, this, frmMergeImage::btnSort, "Sort", 266, 8, 74, 26);
  memFileName = add_memo(this, this, frmMergeImage::memFileName, 8, 40, 332, 156);
  pbtnFileSelect->OnClick = [](TComponent*) { merge_select_files(); };
  PanelButton1->OnClick = [](TComponent*) { merge_clear_list(); };
  btnSort->OnClick = [](TComponent*) { merge_sort_list(); };
}

void TfrmMergeImage::createSettingPanel() {
  pnlSetting = new TPanel(this);
  pnlSetting->setName(std::string(frmMergeImage::pnlSetting.control));
  pnlSetting->setParent(this);
  pnlSetting->setBounds(348, 8, 220, 188);
  const char* labels[] = {"Left (x)", "Top (y)", "Right (x)", "Bottom (y)", "Rotation"};
  for (int i = 0; i < 5; ++i) add_label(this, pnlSetting, labels[i], 10, 13 + 34 * i);
  edtX0 = start_edit(this, pnlSetting, frmMergeImage::edtX0, 100, 10, 100);
  edtY0 = start_edit(this, pnlSetting, frmMergeImage::edtY0, 100, 44, 100);
  edtX1 = start_edit(this, pnlSetting, frmMergeImage::edtX1, 100, 78, 100);
  edtY1 = start_edit(this, pnlSetting, frmMergeImage::edtY1, 100, 112, 100);
  for (TEdit* e : {edtX0, edtY0, edtX1, edtY1}) e->OnKeyDown = [](TComponent*, int& key, TShiftState) { merge_area_key(key); };
  cmbRotation = new TComboBox(this);
  cmbRotation->setName(std::string(frmMergeImage::cmbRotation.control));
  cmbRotation->setParent(pnlSetting);
  cmbRotation->setBounds(100, 146, 100, 21);
  cmbRotation->setStyle(csDropDownList);
  for (const char* r : {"0°", "90°", "180°", "270°"}) cmbRotation->items()->add(r);
  cmbRotation->setItemIndex(0);
}

void TfrmMergeImage::createScaleGroup() {
  TGroupBox* g = add_group_box(this, this, "Scale", 576, 8, 176, 70);
  rbtnLinearScale = add_radio_button(this, g, frmMergeImage::rbtnLinearScale, "Linear", 12, 20, 150);
  rbtnLogScale = add_radio_button(this, g, frmMergeImage::rbtnLogScale, "Log", 12, 44, 150);
  rbtnLinearScale->setChecked(true);
  rbtnLinearScale->OnClick = [this](TComponent*) {
    merge_scale_clicked(false);
    drawGauge();
    drawPicture();
  };
  rbtnLogScale->OnClick = [this](TComponent*) {
    merge_scale_clicked(true);
    drawGauge();
    drawPicture();
  };
  pbtnMergeImage = make_panel_button(this, std::string(frmMergeImage::pbtnMergeImage.control), "Create Image", 576, 88,
                                     176, 28);
  pbtnSaveMergeImage = make_panel_button(this, std::string(frmMergeImage::pbtnSaveMergeImage.control),
                                         "Save Merge Image", 576, 124, 176, 28);
  pbtnMergeImage->OnClick = [this](TComponent*) {
    merge_create();
    sizePicture();
    drawGauge();
    drawPicture();
  };
  pbtnSaveMergeImage->OnClick = [](TComponent*) { merge_save(); };
}

void TfrmMergeImage::createGauge() {
  edtLowEdge = start_edit(this, this, frmMergeImage::edtLowEdge, 8, kGaugeTop, 80);
  edtHighEdge = start_edit(this, this, frmMergeImage::edtHighEdge, kGaugeLeft + kGaugeWidth + 8, kGaugeTop, 80);
  edtLowEdge->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
    merge_low_edge_key(key);
    drawGauge();
    drawPicture();
  };
  edtHighEdge->OnKeyDown = [this](TComponent*, int& key, TShiftState) {
    merge_high_edge_key(key);
    drawGauge();
    drawPicture();
  };
  pbxMergeGradationGauge = new TPaintBox(this);
  pbxMergeGradationGauge->setName(std::string(frmMergeImage::pbxMergeGradationGauge.control));
  pbxMergeGradationGauge->setParent(this);
  pbxMergeGradationGauge->setBounds(kGaugeLeft, kGaugeTop, kGaugeWidth, kGaugeHeight);
  pbxMergeGradationGauge->OnPaint = [this](TComponent*) { drawGauge(); };
  pbxMergeGradationGauge->OnMouseDown = [](TComponent*, TMouseButton, TShiftState, int, int) { merge_gauge_down(); };
  pbxMergeGradationGauge->OnMouseMove = [this](TComponent*, TShiftState, int x, int) {
    if (merge_gauge_move(x, pbxMergeGradationGauge->width())) drawGauge();
  };
  pbxMergeGradationGauge->OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) {
    if (merge_gauge_up()) drawPicture();
  };
  lblLowIndex = add_label(this, this, std::string(start_text(frmMergeImage::start_texts, frmMergeImage::lblLowIndex)),
                          kGaugeLeft, kGaugeTop + kGaugeHeight + 2);
  lblLowIndex->setName(std::string(frmMergeImage::lblLowIndex.control));
  lblLowIndex->font()->setColor(clBlue);
  lblHighIndex = add_label(this, this, std::string(start_text(frmMergeImage::start_texts, frmMergeImage::lblHighIndex)),
                           kGaugeLeft + kGaugeWidth - 40, kGaugeTop + kGaugeHeight + 2);
  lblHighIndex->setName(std::string(frmMergeImage::lblHighIndex.control));
  lblHighIndex->font()->setColor(clRed);
}

void TfrmMergeImage::createPicture() {
  scrMagni = new TScrollBar(this);
  scrMagni->setName(std::string(frmMergeImage::scrMagni.control));
  scrMagni->setParent(this);
  scrMagni->setBounds(592, kGaugeTop, 110, 17);
  scrMagni->setParams(100, 10, 100);
  scrMagni->setSmallChange(10);
  scrMagni->setLargeChange(10);
  Label1 = add_label(this, this, std::string(start_text(frmMergeImage::start_texts, frmMergeImage::Label1)), 708,
                     kGaugeTop + 2);
  Label1->setName(std::string(frmMergeImage::Label1.control));
  scrMagni->OnChange = [this](TComponent*) {
    merge_magnification(scrMagni->position());
    sizePicture();
    drawPicture();
  };
  pbxMergeImage = new TPaintBox(this);
  pbxMergeImage->setName(std::string(frmMergeImage::pbxMergeImage.control));
  pbxMergeImage->setParent(this);
  pbxMergeImage->setBounds(kMergedPictureLeft, kMergedPictureTop, 1, 1);
  pbxMergeImage->OnPaint = [this](TComponent*) { drawPicture(); };
}

void TfrmMergeImage::createDialogs() {
  opdImageFile = new TOpenDialog(this);
  opdImageFile->setName(std::string(frmMergeImage::opdImageFile.control));
  svdMergeImage = new TSaveDialog(this);
  svdMergeImage->setName(std::string(frmMergeImage::svdMergeImage.control));
}

void TfrmMergeImage::sizePicture() {
  const MergeState& m = merge_state();
  if (!m.Merged) return;
  const int w = std::max(1, int(std::trunc(double(m.width) * m.magnification / 100)));
  const int h = std::max(1, int(std::trunc(double(m.height) * m.magnification / 100)));
  pbxMergeImage->setBounds(kMergedPictureLeft, kMergedPictureTop, w, h);
}

void TfrmMergeImage::drawGauge() {
  const MergeState& m = merge_state();
  const int width = pbxMergeGradationGauge->width(), height = pbxMergeGradationGauge->height();
  const std::optional<GaugePicture> p = gauge_picture(m.gauge, width);
  if (!m.Merged || !p) return;
  Canvas& c = pbxMergeGradationGauge->canvas();
  // The gauge runs with the picture: the picture's own palette.
  Palette palette{};
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = m.MergeDIB.Color(i);
  c.stretchDraw({0, 0, width, height}, Raster8{width, 1, width, p->row.data(), palette});
  const TColor pen = c.pen().color;
  for (const auto& [x, colour] : {std::pair{p->high_column, clRed}, std::pair{p->low_column, clBlue}}) {
    c.pen().color = colour;
    c.moveTo(x, 0);
    c.lineTo(x, height);
  }
  c.pen().color = pen;
  pbxMergeGradationGauge->invalidate();
}

void TfrmMergeImage::drawPicture() {
  const MergeState& m = merge_state();
  if (!m.Merged) return;
  draw_dib(pbxMergeImage->canvas(), {0, 0, pbxMergeImage->width(), pbxMergeImage->height()}, m.MergeDIB);
  pbxMergeImage->invalidate();
}

}  // namespace kestrin::app
