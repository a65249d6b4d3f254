// What the host objects share: new objects registered with the engine, argument texts,
// 64-bit numbers for scripts, the host's UI services, and the guard that turns native
// exceptions into the object's own script error.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/object.h"
#include "script/core/script_ui.h"
#include "script/core/value_list.h"

namespace kestrin::script {

// A new object of class T made with the engine and kept by its factory (as `new` in a
// script makes one); the value holds its count.
template <class T, class... Args>
Value NewHostObject(BaseEngine* engine, Args&&... args) {
  T* obj = new T(engine, std::forward<Args>(args)...);
  Value v = Value::Object(obj);
  if (engine) engine->Factory().Register(obj);
  return v;
}

// The text of argument i ("" when it is missing).
inline std::string ArgText(const TJValueList& params, int32_t i) {
  return params.GetCount() > i ? ValueToStdString(params.GetValue(i)) : std::string();
}

// A 64-bit count or position as a script number: an Integer when it fits, else a Double.
inline Value NumberValue(int64_t n) {
  if (n >= INT32_MIN && n <= INT32_MAX) return Value::Integer(static_cast<int32_t>(n));
  return Value::Double(static_cast<double>(n));
}

// A script number as a 64-bit integer, truncated toward zero; false for NaN, the
// infinities and values beyond 2^63.
bool ValueToInt64(const Value& v, int64_t& out);

// The UI services of the engine that made the object (the window-less default without one).
ScriptUi& UiOf(TJObject& self);

// Runs f; a native exception that it lets through (a platform error, a failed allocation,
// a conversion) becomes the script error `kind` with `detail`. Script errors pass.
template <class F>
void Guarded(ScriptError kind, std::string_view detail, F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    RaiseError(kind, {detail});
  }
}

// The same with the exception's own text as the detail ("List index out of bounds (3)").
template <class F>
void GuardedText(ScriptError kind, F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const std::bad_alloc&) {
    RaiseError(kind, {"out of memory"});
  } catch (const std::exception& e) {
    RaiseError(kind, {e.what()});
  }
}

}  // namespace kestrin::script
