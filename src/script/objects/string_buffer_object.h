// StringBuffer: a byte string that scripts change in place, indexable like an array; the
// engine treats it as a string wherever a string value is tested.
#pragma once

#include <cstdint>
#include <string>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJStringBufferObject : public TJObject {
public:
  TJStringBufferObject(BaseEngine* engine, std::string text);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kStringBufferClass; }
  PublishedProperties* Published() override { return &props_; }
  // b[i] reads byte i as a one-character string and b[i] = v stores the character of v; a
  // negative i counts from the end; a name that is no index, or an index outside the
  // bytes, raises "EIndexError" with the name.
  bool GetElement(const StrRef& key, Value& out) override;
  bool SetElement(const StrRef& key, const Value& v) override;
  StrRef ToString(const Value*) override { return text_; }
  Value ValueOf() override { return Value::String(text_); }
  double ToNumber() override { return ValueToNumber(Value::String(text_)); }
  bool ToBool() override { return !text_.empty(); }
  char ToChar() override { return text_.empty() ? '\0' : text_[0]; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return static_cast<int32_t>(text_.size()); }
  void GetItem(int32_t index, Value& out) override;

  std::string& Text() { return text_; }
  // Truncates or extends with 0 bytes; "EStringError" for a negative or too large length.
  void SetLength(const Value& length);

private:
  size_t ByteIndex(const StrRef& key) const;

  std::string text_;
  PropTable props_;
};

// Registers "StringBuffer".
void RegisterStringBuffer(TJEngine& engine);

}  // namespace kestrin::script
