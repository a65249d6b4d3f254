// Runs script text through a host with the built-in objects and the host libraries, for
// the host objects' tests: what the script printed and the error the host reported.
#pragma once

#include <string>

#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/objects/host_libraries.h"

namespace kestrin::script::testing {

struct ScriptRun {
  std::string out;    // everything printed
  std::string error;  // "Exception: ..." without its line break, or ""
};

// `ui` answers the script's dialogs and questions (the window-less default when nil).
inline ScriptRun RunScript(const std::string& source, ScriptUi* ui = nullptr) {
  TJHost host(RegisterBuiltins, {ImportHostLibraries});
  if (ui) host.SetUi(ui);
  ScriptRun run;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { run.out += s; };
  host.OnStderr = [&](TJScriptHost&, const std::string& s) { run.error += s; };
  if (host.Compile(source)) host.Run();
  if (run.error.size() >= 2 && run.error.compare(run.error.size() - 2, 2, "\r\n") == 0) run.error.resize(run.error.size() - 2);
  return run;
}

}  // namespace kestrin::script::testing
