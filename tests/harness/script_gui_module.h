// What kestrin-script's GUI module (Qt and the GUI class library, loaded the first time a
// script needs a GUI object) offers the runner, which starts without Qt.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace kestrin::script {
class BaseEngine;
class TJObject;
class TJValueList;
}  // namespace kestrin::script

namespace kestrin::harness {

class Answers;

struct ScriptGuiModule {
  // The GUI wrappers' script constructors, in the order of kVCLClassNames.
  std::span<kestrin::script::TJObject* (*const)(kestrin::script::BaseEngine*, kestrin::script::TJValueList*)>
      constructors;
  // The engine's message pump over the application's events.
  bool (*pump)(std::chrono::milliseconds wait);
  // Makes the application object and a hidden main form (once); ends them.
  void (*start)(int& argc, char** argv);
  void (*finish)();
  int32_t (*application_handle)();
  int32_t (*main_form_handle)();
  // A run's watchdog on the application's timers: after `left`, the loops that wait inside
  // the GUI library end with an abort.
  void (*start_watchdog)(std::chrono::milliseconds left);
  void (*stop_watchdog)();
  // Frees the native objects whose freeing waited for a handler to return.
  void (*flush_deferred_frees)();
};

// The module's one entry point; the GUI library's open, save and font dialogs take their
// answers from `answers` from then on.
using ScriptGuiModuleEntry = const ScriptGuiModule* (*)(Answers& answers);
inline constexpr const char* kScriptGuiModuleEntry = "kestrin_script_gui_module";
inline constexpr const char* kScriptGuiModuleFile = "kestrin-script-gui.so";

}  // namespace kestrin::harness
