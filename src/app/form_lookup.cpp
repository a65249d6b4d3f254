// The application's forms found by name.
#include "app/form_lookup.h"

#include "platform/gui/form.h"

namespace kestrin::app {

kgui::TForm* find_form(std::string_view name) {
  kgui::TApplication* app = kgui::TApplication::instance();
  return app ? dynamic_cast<kgui::TForm*>(app->findComponent(name)) : nullptr;
}

void show_window(std::string_view form) {
  if (kgui::TForm* f = find_form(form)) f->showForm();
}

}  // namespace kestrin::app
