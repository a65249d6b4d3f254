// The application's forms found by name or by class, for the windows, the ports and the
// menus alike.
#pragma once

#include <string_view>

#include "platform/gui/app.h"

namespace kgui {
class TForm;
}  // namespace kgui

namespace kestrin::app {

// The form with that name ("frmMain", "frmLog") among the application's forms, or null.
kgui::TForm* find_form(std::string_view name);

// Shows the form of that name, if there is one.
void show_window(std::string_view form);

// The application's form of class Form (created once at start), or null.
template <class Form>
Form* form_of() {
  kgui::TApplication* app = kgui::TApplication::instance();
  for (int i = 0; app && i < app->componentCount(); ++i)
    if (auto* f = dynamic_cast<Form*>(app->components(i))) return f;
  return nullptr;
}

}  // namespace kestrin::app
