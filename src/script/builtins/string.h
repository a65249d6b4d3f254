// String: the object of a string value: its characters as elements, `length` and charAt.
#pragma once

#include <cstdint>

#include "script/builtins/primitive.h"

namespace kestrin::script {

class TJEngine;

class TJStringObject : public TJPrimitiveObject {
public:
  TJStringObject(BaseEngine* engine, Value text);
  const ClassInfo& Class() const override;
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
};

// The character at `index` of CP932 text (empty past the end).
StrRef CharAt(const StrRef& text, int32_t index);

// Registers "String".
void RegisterString(TJEngine& engine);

}  // namespace kestrin::script
