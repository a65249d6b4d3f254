// String: the object of a CP932 script string. Positions count characters (a lead byte
// and its trail byte are one), from 0; its characters are its items.
#pragma once

#include <cstdint>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJStringObject : public TJObject {
public:
  TJStringObject(BaseEngine* engine, StrRef text);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kStringObjectClass; }
  PublishedProperties* Published() override { return &props_; }
  // s[i] reads one character (a negative index counts from the end); s[a, b] reads the
  // slice from a to b. Other names are members.
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  // s[i] = v replaces one character by the text of v; s[a, b] = v replaces the slice.
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  StrRef ToString(const Value*) override { return text_; }
  Value ValueOf() override { return Value::String(text_); }
  double ToNumber() override { return ValueToNumber(Value::String(text_)); }
  bool ToBool() override { return !text_.empty(); }
  char ToChar() override { return text_.empty() ? '\0' : text_.data()[0]; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, Value& out) override;
  bool Rewrap(const Value& primitive) override;

  const StrRef& Text() const { return text_; }
  void SetText(StrRef text) { text_ = std::move(text); }

private:
  // The 1-based character position of an index name, or "EIndexError" with the name.
  int64_t CharPosition(const StrRef& name, int32_t index);

  StrRef text_;
  PropTable props_;
};

// Registers "String".
void RegisterString(TJEngine& engine);

}  // namespace kestrin::script
