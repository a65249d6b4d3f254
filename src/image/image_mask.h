// Clearing the current image's mask (the menu, the script object and the loader's
// clear-mask option).
#pragma once

namespace kestrin {

// Without an image nothing happens; otherwise records "Kestrin.ClearMask();" and clears
// every mask byte of the image.
void clear_mask();

}  // namespace kestrin
