// The object of a primitive value (String, Number or Boolean), made when a script reads a
// member of the value or calls its constructor.
#pragma once

#include <cstdint>

#include "script/core/object.h"

namespace kestrin::script {

class TJPrimitiveObject : public TJObject {
public:
  TJPrimitiveObject(BaseEngine* engine, const char* class_name, uint32_t flags, Value value);
  uint32_t ClassFlags() const override { return flags_; }
  StrRef ToString(const Value*) override { return ValueToString(value_); }
  Value ValueOf() override { return value_; }
  double ToNumber() override { return ValueToNumber(value_); }
  bool ToBool() override { return ValueToBool(value_); }
  const Value& Primitive() const { return value_; }

private:
  uint32_t flags_;
  Value value_;
};

}  // namespace kestrin::script
