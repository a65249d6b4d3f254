// The current image's display levels in the shared state: rebuilt from its codes through
// the grey-scale window whenever the image or the window changes.
#pragma once

namespace kestrin {

// Rebuilds state().display_levels from the current image and display_scale; nothing while
// no image is loaded.
void update_display_levels();

// update_display_levels, then the image window redraws; nothing while no image is loaded.
void build_display_levels();

}  // namespace kestrin
