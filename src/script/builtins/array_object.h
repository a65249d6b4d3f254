// Array: the ordered, growable list of values behind array literals, the Global object's
// arguments and every list that the engine and the host objects hand to scripts.
#pragma once

#include <cstdint>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {

class TJEngine;

class TJArrayObject : public TJObject {
public:
  explicit TJArrayObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kArrayObjectClass; }
  PublishedProperties* Published() override { return &props_; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return items.GetCount(); }
  // Reading past the end first grows the array to hold the index (new items undefined);
  // a negative index raises "EIndexError" with the index as its message.
  void GetItem(int32_t index, Value& out) override;
  bool SetItem(int32_t index, const Value& v) override;
  TJValueList* ListItems() override { return &items; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  // Both the items joined by ",".
  StrRef ToString(const Value* arg) override;
  Value ValueOf() override { return Value::String(ToString(nullptr)); }
  void Clear() override;
  void OnKill() override;
  // Sets the count (new items undefined); a negative or too large count raises
  // "EIndexError".
  void Resize(int64_t count);
  // The items joined by sep; null and undefined items give empty text.
  StrRef Join(std::string_view sep);

  // The two arguments of a script compare function, reused by every comparison of a sort
  // and null again after it.
  TJValueList& SortArguments() { return sort_args_; }

  TJValueList items;

private:
  TJValueList sort_args_{Value::Null(), Value::Null()};
  PropTable props_;
};

// A member name that is an element index: a decimal integer as the engine writes one
// (optional "-", no leading zeros, no blanks, 32 bits). " 1", "01", "+1", "0x10" and
// "$10" are ordinary member names.
bool ElementIndex(const StrRef& name, int32_t& index);

// Registers "Array".
void RegisterArray(TJEngine& engine);

}  // namespace kestrin::script
