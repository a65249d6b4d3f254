// The options and colour windows' commands.
#include "commands/option_commands.h"

#include "base/convert.h"
#include "model/state.h"
#include "ports/names/option_form_names.h"
#include "ports/ports.h"

namespace kestrin {

void show_options() {
  using namespace frmOption;
  const Options& o = state().options;
  Controls& c = controls();
  c.set_checked(chkVerticalReverse, o.VerticalReverse != 0);
  c.set_item_index(rdgCenterMarker, o.CenterMarker);
  c.set_text(edtHwhmPixel, Format("%8.4f", {o.HwhmPixel}));
  c.set_text(edtHwhmTheta, Format("%8.4f", {o.HwhmTheta}));
  c.set_item_index(rdgDistanceSetting, o.DistanceSetting);
  c.set_checked(chkGradationReverse, o.GradationReverse != 0);
  c.set_checked(chkClearMask, o.ClearMask == 1);
  c.set_checked(o.FitType != 0 ? rbtnFitType2 : rbtnFitType1, true);
}

void apply_options() {
  using namespace frmOption;
  Options& o = state().options;
  const Controls& c = controls();
  o.VerticalReverse = c.checked(chkVerticalReverse) ? 1 : 0;
  o.CenterMarker = c.item_index(rdgCenterMarker);
  o.HwhmPixel = StrToFloat(c.text(edtHwhmPixel));
  o.HwhmTheta = StrToFloat(c.text(edtHwhmTheta));
  o.DistanceSetting = c.item_index(rdgDistanceSetting);
  o.GradationReverse = c.checked(chkGradationReverse) ? 1 : 0;
  o.ClearMask = c.checked(chkClearMask) ? 1 : 0;
  if (c.checked(rbtnFitType1))
    o.FitType = 0;
  else if (c.checked(rbtnFitType2))
    o.FitType = 1;
}

void apply_display_colours(const std::array<TColor, 6>& swatches) {
  auto& colours = state().colours.colour;
  colours[0] = swatches[0];
  image_window().set_image_palette(state().options.GradationReverse != 0);
  for (size_t i = 1; i < colours.size(); ++i) colours[i] = swatches[i];
  // The image window keeps its last rendered picture; drawn again now, it shows the new mask
  // colour and overlay colours at once rather than after the next scroll or zoom.
  image_window().redraw_image();
}

}  // namespace kestrin
