// The start values of the built windows' controls.
#include "model/window_start_values.h"

#include "ports/names/image_form_names.h"

namespace kestrin {

namespace {

using K = ControlStart;

constexpr ControlStart kImageWindow[] = {
    {frmImage::edtLowEdge, K::kText, "0"},
    {frmImage::edtHighEdge, K::kText, "1000"},
    {frmImage::lblLowIndex, K::kText, "0"},
    {frmImage::lblHighIndex, K::kText, "1000"},
    {frmImage::edtCursorX, K::kText, ""},
    {frmImage::edtCursorY, K::kText, ""},
    {frmImage::edtIntensity, K::kText, ""},
    {frmImage::edtDistance, K::kText, ""},
    {frmImage::edtAngle, K::kText, ""},
    {frmImage::cmbMagni, K::kItem, "", 1},
    {frmImage::edtMagni, K::kText, "1.0"},
    {frmImage::cmbPenSize, K::kItem, "", 2},
    {frmImage::rbtnLinearScale, K::kChecked, "", 1},
    {frmImage::rbtnLogScale, K::kChecked, "", 0},
    {frmImage::rbtnMask, K::kChecked, "", 0},
    {frmImage::rbtnAreaSelect, K::kChecked, "", 1},
    {frmImage::chkOmitGreen, K::kChecked, "", 0},
    {frmImage::chkOmitBlue, K::kChecked, "", 0},
    {frmImage::edtImageWindowWidth, K::kText, "800"},
    {frmImage::edtImageWindowHeight, K::kText, "800"},
    {frmImage::edtImageWindowCX, K::kText, "600"},
    {frmImage::edtImageWindowCY, K::kText, "600"},
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
      case K::kText: c.set_text(s.control, s.text); break;
      case K::kChecked: c.set_checked(s.control, s.value == 1); break;
      case K::kItem: c.set_item_index(s.control, s.value); break;
    }
  }
}

}  // namespace kestrin
