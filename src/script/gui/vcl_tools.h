// The script classes of the tool window family (tool bars with their buttons, cool bars)
// and of images, as rows (vcl_class.h). Tool bars are collections of their buttons:
// bar[i] is button i, null out of range, each the caster's one wrapper of the button. An
// image has "onProgress" (stage, percentDone, redrawNow, rect, msg) besides the mouse.
#pragma once

#include "script/gui/vcl_class.h"

namespace kestrin::script {

extern const VCLClassDef kVCLToolBar, kVCLToolButton, kVCLCoolBar, kVCLImage;

}  // namespace kestrin::script
