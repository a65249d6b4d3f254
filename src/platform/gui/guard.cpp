// The handler guard and the platform's exception message box.
#include "platform/gui/guard.h"

#include <exception>

#include "platform/gui/dialogs.h"

namespace kgui {

static int g_depth = 0;

int handlerDepth() { return g_depth; }

std::string exceptionText(const std::string& message) {
  // The platform adds a full stop unless the text already ends in '.' or a character below it.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

static void report(const std::string& message) {
  dialogs().messageBox(exceptionText(message), applicationTitle(), mtError, 1u << mbOK);
}

bool guarded(const std::function<void()>& fn) {
  struct Depth {
    Depth() { ++g_depth; }
    ~Depth() { --g_depth; }
  } depth;
  try {
    fn();
    return true;
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report("Unknown exception");
  }
  return false;
}

}  // namespace kgui
