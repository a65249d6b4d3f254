// Boolean: the truth of its argument (false without one).
#include "script/builtins/boolean.h"

#include "script/builtins/primitive.h"
#include "script/core/engine.h"

namespace kestrin::script {

void RegisterBoolean(TJEngine& engine) {
  engine.RegisterObjectClass("Boolean", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJPrimitiveObject(e, "Boolean", kBooleanObjectClass,
                                 Value::Bool(p && p->GetCount() > 0 && ValueToBool(p->GetValue(0))));
  });
}

}  // namespace kestrin::script
