// What the options window (TfrmOption) and the colour window (TfrmOptionColor) do, without
// the widgets: the options record and the six display colours, shown and stored.
#pragma once

#include <array>

#include "base/colour.h"

namespace kestrin {

// The options window's creation: its controls show the options record (half widths in
// "%8.4f"; Gaussian checked for a fit type other than 0, else Lorentz).
void show_options();

// "Apply": the controls into the options record, in the record's order. A half width that
// is not a number raises the conversion error; the fields before it are stored by then.
// The fit type stays as it was when neither fit radio is checked. Nothing is redrawn.
void apply_options();

// The colour window's "Apply": the mask colour, then the image palettes rebuilt with the
// current grey-scale direction, then the other five colours; then the image is redrawn.
void apply_display_colours(const std::array<TColor, 6>& swatches);

}  // namespace kestrin
