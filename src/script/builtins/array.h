// Array: the list of values behind array literals, argument lists and every list that the
// engine and the host objects hand to scripts.
#pragma once

#include <cstdint>

#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {

class TJEngine;

class TJArrayObject : public TJObject {
public:
  explicit TJArrayObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kArrayObjectClass; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return items.GetCount(); }
  void GetItem(int32_t index, Value& out) override;
  bool SetItem(int32_t index, const Value& v) override;
  TJValueList* ListItems() override { return &items; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  StrRef ToString(const Value* arg) override;
  void OnKill() override { items.Clear(); }
  // Element access by number; reading past the end gives undefined, writing grows.
  Value Get(int32_t index) const;
  void Set(int32_t index, const Value& v);
  TJValueList items;
};

// A member name that is an element index: a decimal number without sign or leading zeros.
bool ElementIndex(const StrRef& name, int32_t& index);

// Registers "Array".
void RegisterArray(TJEngine& engine);

}  // namespace kestrin::script
