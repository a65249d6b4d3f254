// The handler guard: every event handler runs inside it, so no C++ exception crosses Qt's
// event dispatch; a failure is shown as the platform's error message box and the handler returns.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace kgui {

// Runs fn; an exception is reported through the installed dialogs (caption: the
// application title) with the platform's wording: the message, plus a full stop when it
// does not end in one. Returns false when fn threw.
bool guarded(const std::function<void()>& fn);

// Nesting depth of guarded calls: nonzero while a handler runs.
int handlerDepth();

// Calls an assigned handler inside the guard; nothing when it is empty.
template <class F, class... A>
void fire(const F& handler, A&&... args) {
  if (handler) guarded([&] { handler(std::forward<A>(args)...); });
}

// The text the platform shows for an exception message.
std::string exceptionText(const std::string& message);

}  // namespace kgui
