// Fuzz target: arbitrary bytes compiled and run by the host component with a step cap
// must end in output or a reported script error, never a crash, a hang or runaway memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/builtins/builtins.h"
#include "script/core/host.h"

using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view source(reinterpret_cast<const char*>(data), size);
  // sleep() and WScript.Sleep wait as long as they are told, and WriteBlankLines writes
  // as many lines: that is their job, not a fault.
  for (std::string_view slow : {"sleep", "Sleep", "BlankLines"})
    if (source.find(slow) != std::string_view::npos) return 0;
  TJHost host(RegisterBuiltins);
  size_t output = 0;
  int steps = 0;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { output += s.size(); };
  host.OnStderr = [&](TJScriptHost&, const std::string& s) { output += s.size(); };
  host.OnStep = [&](TJScriptHost&, bool& abort) { abort = ++steps > 20000; };
  host.OnDoEvents = [](TJScriptHost&, bool& abort) { abort = true; };
  if (host.Compile(source)) host.Run();
  host.Clear();
  return 0;
}
