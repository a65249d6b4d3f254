// The GUI library's classes in the streaming class registry, so form descriptions may name them.
#pragma once

namespace kgui {

// Registers every component class of the library that a form description may hold
// (forms, controls, menus, actions, timers, dialogs). Calling it again changes nothing.
void RegisterVCLStreamClasses();

}  // namespace kgui
