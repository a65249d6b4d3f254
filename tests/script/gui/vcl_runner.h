// Runs a GUI script with every host library and drives its windows: after the program, each
// pass of the event loop takes the next step of a driver (steps find widgets by object name,
// which is the control's Name, and act through QTest); the run ends after the last step, or
// when the watchdog's time is up.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrin::script::testing {

struct VclRun {
  std::string out;  // what the script printed, errors included (CR LF as LF)
  int32_t code = 0;
  bool timed_out = false;
};

using DriverStep = std::function<void()>;

// The script should end with eventLoop() so that the driver's steps run.
VclRun RunVclScript(const std::string& source, const std::vector<DriverStep>& steps = {}, int timeout_ms = 10000);

// The shown widget with that object name; nil, and the test failed, when there is none.
QWidget* Widget(const char* name);

}  // namespace kestrin::script::testing
