// The natives that run TRegex let its errors leave as the engine's library error: script
// try does not catch an ERegex, and the run reports it under that name.
#pragma once

#include "script/core/errors.h"
#include "script/core/function.h"
#include "script/regexp/regex.h"

namespace kestrin::script {

template <class F>
auto GuardedCall(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const ERegex& e) {
    throw EJLibraryError("ERegex", e.what());
  }
}

template <NativeMethod Method>
void Guarded(TJObject& self, TJValueList& params, Value& result) {
  GuardedCall([&] { Method(self, params, result); });
}

}  // namespace kestrin::script
