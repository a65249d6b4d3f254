// The start values of the built windows' controls.
#include "commands/window_start_values.h"

#include "ports/names/image_form_names.h"

namespace kestrin {

namespace {

constexpr ControlStart kImageWindow[] = {
    {frmImage::edtLowEdge, ControlStart::kText, "0"},
    {frmImage::edtHighEdge, ControlStart::kText, "1000"},
    {frmImage::lblLowIndex, ControlStart::kText, "0"},
    {frmImage::lblHighIndex, ControlStart::kText, "1000"},
    {frmImage::edtCursorX, ControlStart::kText, ""},
    {frmImage::edtCursorY, ControlStart::kText, ""},
    {frmImage::edtIntensity, ControlStart::kText, ""},
    {frmImage::edtDistance, ControlStart::kText, ""},
    {frmImage::edtAngle, ControlStart::kText, ""},
    {frmImage::cmbMagni, ControlStart::kItem, "", 1},
    {frmImage::edtMagni, ControlStart::kText, "1.0"},
    {frmImage::cmbPenSize, ControlStart::kItem, "", 2},
    {frmImage::rbtnLinearScale, ControlStart::kChecked, "", 1},
    {frmImage::rbtnLogScale, ControlStart::kChecked, "", 0},
    {frmImage::rbtnMask, ControlStart::kChecked, "", 0},
    {frmImage::rbtnAreaSelect, ControlStart::kChecked, "", 1},
    {frmImage::chkOmitGreen, ControlStart::kChecked, "", 0},
    {frmImage::chkOmitBlue, ControlStart::kChecked, "", 0},
    {frmImage::edtImageWindowWidth, ControlStart::kText, "800"},
    {frmImage::edtImageWindowHeight, ControlStart::kText, "800"},
    {frmImage::edtImageWindowCX, ControlStart::kText, "600"},
    {frmImage::edtImageWindowCY, ControlStart::kText, "600"},
};

constexpr ControlName kScaleRadios[] = {frmImage::rbtnLinearScale, frmImage::rbtnLogScale};
constexpr ControlName kMouseModeRadios[] = {frmImage::rbtnMask, frmImage::rbtnAreaSelect};
constexpr std::span<const ControlName> kRadioGroups[] = {kScaleRadios, kMouseModeRadios};

}  // namespace

std::span<const ControlStart> image_window_start_values() { return kImageWindow; }

std::span<const std::span<const ControlName>> window_radio_groups() { return kRadioGroups; }

void show_window_start_values(Controls& c) {
  for (const ControlStart& s : image_window_start_values()) {
    switch (s.kind) {
      case ControlStart::kText: c.set_text(s.control, s.text); break;
      case ControlStart::kChecked: c.set_checked(s.control, s.value == 1); break;
      case ControlStart::kItem: c.set_item_index(s.control, s.value); break;
    }
  }
}

}  // namespace kestrin
