// Kestrin's entry: the application object titled "Kestrin", the numeric locale, the
// twenty forms in their order (the main window first, the script window made here) and
// the event loop.
#include <clocale>

#include "app/program.h"
#include "platform/gui/app.h"
#include "scripting/script_window.h"

int main(int argc, char** argv) {
  kgui::TApplication app(argc, argv);
  // Qt takes the locale from the environment; numbers in files always use '.'.
  std::setlocale(LC_NUMERIC, "C");
  app.setTitle("Kestrin");
  kestrin::app::start_program(app, &kestrin::scripting::make_script_window);
  app.closeMainFormOnSignals();  // SIGTERM ends Kestrin as its close box does
  return app.run();
}
