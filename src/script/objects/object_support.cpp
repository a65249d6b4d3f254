// The host objects' shared helpers that need the engine.
#include "script/objects/object_support.h"

#include <cmath>

#include "script/builtins/number_object.h"
#include "script/core/engine.h"

namespace kestrin::script {

bool ValueToInt64(const Value& v, int64_t& out) {
  if (v.type() == vtInteger) {
    out = v.integer();
    return true;
  }
  const double d = std::trunc(NumberOf(v));
  if (!(d >= -9.2233720368547758e18 && d < 9.2233720368547758e18)) return false;
  out = static_cast<int64_t>(d);
  return true;
}

ScriptUi& UiOf(TJObject& self) {
  auto* engine = dynamic_cast<TJEngine*>(self.Engine());
  return engine ? engine->Ui() : DefaultScriptUi();
}

}  // namespace kestrin::script
