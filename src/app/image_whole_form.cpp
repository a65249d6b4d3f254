// TfrmImageWhole: the picture, the zoom list whose choice does nothing, and the hidden
// Wide and Tele buttons.
#include "app/image_whole_form.h"

#include "model/state.h"
#include "ports/names/image_whole_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr TColor kFrameColour = 0x00FFFF;  // yellow; the frame itself is drawn with the brush

}  // namespace

TfrmImageWhole::TfrmImageWhole(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmImageWhole::form));
  setCaption("KES for Windows (Whole Image)");
  setClientWidth(kWholePictureSide + 8);
  setClientHeight(kWholePictureSide + 34);
  imgWhole = new TPaintBox(this);
  imgWhole->setName(std::string(frmImageWhole::imgWhole.control));
  imgWhole->setParent(this);
  imgWhole->setBounds(4, 2, kWholePictureSide, kWholePictureSide);
  imgWhole->canvas().pen().color = kFrameColour;
  cmbMagni = new TComboBox(this);
  cmbMagni->setName(std::string(frmImageWhole::cmbMagni.control));
  cmbMagni->setParent(this);
  cmbMagni->setBounds(4, kWholePictureSide + 6, 90, 21);
  cmbMagni->setStyle(csDropDownList);
  for (const char* item : {"50%", "100%", "200%", "400%", "Whole"}) cmbMagni->items()->add(item);
  pbtnWide = make_panel_button(this, std::string(frmImageWhole::pbtnWide.control), "Wide", 100, kWholePictureSide + 4, 60, 25);
  pbtnTele = make_panel_button(this, std::string(frmImageWhole::pbtnTele.control), "Tele", 164, kWholePictureSide + 4, 60, 25);
  pbtnWide->hide();
  pbtnTele->hide();
  imgWhole->OnMouseDown = [this](TComponent*, TMouseButton, TShiftState, int, int) { dragging_ = true; };
  imgWhole->OnMouseMove = [this](TComponent*, TShiftState, int x, int y) { imgWholeMouseMove(x, y); };
  imgWhole->OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int x, int y) { imgWholeMouseUp(x, y); };
}

void TfrmImageWhole::place_frame(int x, int y) {
  const ImageView& v = state().image_view;
  frame_ = place_whole_frame(x, y, v.FrameWidth, v.FrameHeight);
  imgWhole->canvas().frameRect({frame_.left, frame_.top, frame_.left + v.FrameWidth, frame_.top + v.FrameHeight});
}

void TfrmImageWhole::imgWholeMouseMove(int x, int y) {
  if (dragging_) place_frame(x, y);
}

void TfrmImageWhole::imgWholeMouseUp(int x, int y) {
  dragging_ = false;
  whole_frame_released(frame_);
  place_frame(x, y);
}

}  // namespace kestrin::app
