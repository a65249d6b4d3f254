// Number: keeps an integer, double, infinity or NaN as given; anything else is converted.
#include "script/builtins/number.h"

#include "script/builtins/primitive.h"
#include "script/core/engine.h"

namespace kestrin::script {

void RegisterNumber(TJEngine& engine) {
  engine.RegisterObjectClass("Number", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    Value v = p && p->GetCount() > 0 ? p->GetValue(0) : Value::Integer(0);
    if (v.type() != vtInteger && v.type() != vtDouble && v.type() != vtInfinity && v.type() != vtNaN)
      v = Value::Double(ValueToNumber(v));
    return new TJPrimitiveObject(e, "Number", kNumberObjectClass, v);
  });
}

}  // namespace kestrin::script
