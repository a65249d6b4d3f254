// The smallest built-in objects the interpreter needs before the full library arrives:
// Global (output, exit, eval, the event loop), Array, and the String, Number and Boolean
// wrappers of primitive values. Each is replaced by its full class later.
#pragma once

#include <cstdint>

#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {

class TJEngine;

// The script's global functions; the namespace scope sees its members.
class TJGlobalObject : public TJObject {
public:
  explicit TJGlobalObject(TJEngine* engine);
  const ClassInfo& Class() const override;
  void OnKill() override { arguments_ = Value(); }
  TJEngine* Owner() const { return owner_; }
  bool terminated = true;
  // The arguments array of the run.
  void SetArguments(Value array) { arguments_ = std::move(array); }
  const Value& Arguments() const { return arguments_; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool HasKey(const StrRef& name) override;

private:
  TJEngine* owner_;
  Value arguments_;
};

// A list of values: literals, arguments, name lists.
class TJArrayObject : public TJObject {
public:
  explicit TJArrayObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kArrayObjectClass; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return items.GetCount(); }
  void GetItem(int32_t index, Value& out) override;
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  StrRef ToString(const Value* arg) override;
  void OnKill() override { items.Clear(); }
  // Element access by number; reading past the end gives undefined, writing grows.
  Value Get(int32_t index) const;
  void Set(int32_t index, const Value& v);
  TJValueList items;
};

// A primitive's object: String, Number or Boolean, made for member access on a value.
class TJPrimitiveObject : public TJObject {
public:
  TJPrimitiveObject(BaseEngine* engine, const char* class_name, uint32_t flags, Value value);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return flags_; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  StrRef ToString(const Value*) override { return ValueToString(value_); }
  Value ValueOf() override { return value_; }
  double ToNumber() override { return ValueToNumber(value_); }
  bool ToBool() override { return ValueToBool(value_); }
  bool IsCollection() override { return value_.type() == vtString; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
  const Value& Primitive() const { return value_; }

private:
  uint32_t flags_;
  Value value_;
};

// Registers "Object", "Global", "Array", "String", "Number" and "Boolean" with the engine.
void RegisterMinimalBuiltins(TJEngine& engine);
// The character at `index` of CP932 text (empty past the end).
StrRef CharAt(const StrRef& text, int32_t index);

}  // namespace kestrin::script
