// The current image's display levels in the shared state: rebuilt from its codes through
// the grey-scale window whenever the image or the window changes.
#pragma once

namespace kestrin {

// Rebuilds state().display_levels from the current image and display_scale; nothing (and
// false) while no image is loaded. The command that changed the levels redraws the image.
bool update_display_levels();

}  // namespace kestrin
