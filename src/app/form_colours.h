// The colours the program's windows share: the form, its panels and its edits.
#pragma once

#include "platform/classes/graphics.h"

namespace kestrin::app {

constexpr kgui::TColor kFormColour = 0xFFE4CE;
constexpr kgui::TColor kPanelColour = 0xFFF2E8;
constexpr kgui::TColor kEditColour = 0xECFFFE;
constexpr kgui::TColor kEditTextColour = 0x421C34;

}  // namespace kestrin::app
