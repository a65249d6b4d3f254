// The object of a primitive value: the value it wraps and the conversions through it.
#include "script/builtins/primitive.h"

namespace kestrin::script {

TJPrimitiveObject::TJPrimitiveObject(BaseEngine* engine, const char* class_name, uint32_t flags, Value value)
    : TJObject(engine), flags_(flags), value_(std::move(value)) {
  SetObjectName(class_name);
}

}  // namespace kestrin::script
