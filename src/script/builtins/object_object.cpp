// Object: a plain TJObject with the base script methods and nothing of its own.
#include "script/builtins/object_object.h"

#include "script/core/engine.h"

namespace kestrin::script {

void RegisterObject(TJEngine& engine) {
  engine.RegisterObjectClass("Object", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJObject(e); }, true);
}

}  // namespace kestrin::script
