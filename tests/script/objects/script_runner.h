// Runs script text through a host with the built-ins, the host libraries and the
// automation test objects; collects what the script printed and the errors it reported.
#pragma once

#include <string>
#include <string_view>

#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/objects/host_libraries.h"
#include "support/automation_test_objects.h"

namespace kestrin::script::testing {

class ScriptRunner {
public:
  ScriptRunner() : host_(RegisterBuiltins, {ImportHostLibraries}) {
    kestrin::test::RegisterAutomationTestObjects();
    host_.OnStdout = [this](TJScriptHost&, const std::string& s) { Append(s); };
    host_.OnError = [this](TJScriptHost&, int32_t, const std::string& msg) { out_ += "error: " + msg + "\n"; };
  }
  // The output with CR LF as LF; error texts follow "error: ". The run's objects stay
  // alive until the next Run.
  std::string Run(std::string_view source) {
    out_.clear();
    if (host_.Compile(source)) host_.Run();
    return out_;
  }
  // Everything printed and reported since the last Run began.
  const std::string& Output() const { return out_; }
  // A variable of the last run (undefined when there is none).
  Value Global(const char* name) {
    Value v;
    host_.Engine().GetGlobalVariable(name, v);
    return v;
  }
  TJHost& Host() { return host_; }

private:
  void Append(const std::string& s) {
    for (char c : s)
      if (c != '\r') out_ += c;
  }
  TJHost host_;
  std::string out_;
};

}  // namespace kestrin::script::testing
