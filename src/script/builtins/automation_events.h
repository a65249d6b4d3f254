// What WScript.ConnectObject and DisconnectObject need of an ActiveXObject: its automation
// events connected to the script functions named prefix + event name, and disconnected.
#pragma once

#include "script/core/script_string.h"

namespace kestrin::script {

class AutomationEvents {
public:
  virtual ~AutomationEvents() = default;
  virtual void ConnectEvents(const StrRef& prefix) = 0;
  virtual void DisconnectEvents() = 0;
};

}  // namespace kestrin::script
