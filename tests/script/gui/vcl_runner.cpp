// The GUI script runner of the tests.
#include "script/gui/vcl_runner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>

#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/gui/vcl_objects.h"

namespace kestrin::script::testing {

VclRun RunVclScript(const std::string& source, const std::vector<DriverStep>& steps, int timeout_ms) {
  VclRun run;
  TJHost host(RegisterBuiltins, {ImportHostLibrariesWithGui});
  auto append = [&run](TJScriptHost&, const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
      if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) run.out += s[i];
  };
  host.OnStdout = append;
  host.OnStderr = append;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  size_t next = 0;
  host.OnDoEvents = [&](TJScriptHost&, bool& abort) {
    if (std::chrono::steady_clock::now() >= deadline) {
      run.timed_out = true;
      abort = true;
    } else if (next < steps.size()) {
      steps[next++]();
    } else {
      abort = true;
    }
  };
  if (host.Compile(source)) run.code = host.Run();
  host.Clear();
  FlushVCLDeferredFrees();
  return run;
}

QWidget* Widget(const char* name) {
  for (QWidget* w : QApplication::allWidgets())
    if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
  ADD_FAILURE() << "no widget named " << name;
  return nullptr;
}

}  // namespace kestrin::script::testing
