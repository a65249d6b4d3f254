// StringBuffer: byte offsets from 0, searches over bytes, slices and in-place edits, all
// within the engine's string limit.
#include "script/objects/string_buffer_object.h"

#include <algorithm>
#include <memory>

#include "script/builtins/array_object.h"
#include "script/builtins/mbcs.h"
#include "script/builtins/number_object.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

TJStringBufferObject& BufferOf(TJObject& self) { return static_cast<TJStringBufferObject&>(self); }
std::string& TextOf(TJObject& self) { return BufferOf(self).Text(); }

int64_t Arg(const TJValueList& params, int32_t i, int64_t def) {
  return params.GetCount() > i ? ValueToInteger(params.GetValue(i)) : def;
}

// An offset clamped into 0 .. size.
size_t Clamp(int64_t offset, size_t size) {
  return static_cast<size_t>(std::clamp<int64_t>(offset, 0, static_cast<int64_t>(size)));
}

void CheckLength(size_t size) {
  if (size > kMaxStringBytes) RaiseError(ScriptError::AppendTooLong);
}

void Erase(std::string& text, int64_t start, int64_t end) {
  const size_t from = Clamp(start, text.size()), to = Clamp(end, text.size());
  if (to > from) text.erase(from, to - from);
}

void Insert(std::string& text, int64_t index, std::string_view s) {
  CheckLength(text.size() + s.size());
  text.insert(Clamp(index, text.size()), s);
}

void BAppend(TJObject& self, TJValueList& params, Value& result) {
  std::string& text = TextOf(self);
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    const StrRef s = ValueToString(params.GetValue(i));
    CheckLength(text.size() + s.size());
    text.append(s.view());
  }
  result = Value::Object(&self);
}

void BCharCodeAt(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  const int64_t i = Arg(params, 0, -1);
  result = i >= 0 && static_cast<uint64_t>(i) < text.size() ? Value::Integer(static_cast<unsigned char>(text[i]))
                                                             : Value::NaN();
}

void BDelete(TJObject& self, TJValueList& params, Value& result) {
  std::string& text = TextOf(self);
  if (params.GetCount() < 1) RaiseError(ScriptError::BufferDelete);
  Erase(text, Arg(params, 0, 0), Arg(params, 1, static_cast<int64_t>(text.size())));
  result = Value::Object(&self);
}

void BIndexOf(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  result = Value::Integer(-1);
  if (params.GetCount() < 1) return;
  const int64_t from = std::min<int64_t>(Arg(params, 1, 0) + 1, static_cast<int64_t>(text.size()));
  result = NumberValue(PosEx(ValueToString(params.GetValue(0)).view(), text, from) - 1);
}

void BInsert(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) RaiseError(ScriptError::BufferInsert);
  Insert(TextOf(self), Arg(params, 0, 0), ValueToString(params.GetValue(1)).view());
  result = Value::Object(&self);
}

void BLastIndexOf(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  result = Value::Integer(-1);
  if (params.GetCount() < 1) return;
  const int64_t from = std::max<int64_t>(Arg(params, 1, static_cast<int64_t>(text.size())) + 1, 1);
  result = NumberValue(LastPos(ValueToString(params.GetValue(0)).view(), text, from) - 1);
}

void BReplace(TJObject& self, TJValueList& params, Value& result) {
  std::string& text = TextOf(self);
  if (params.GetCount() < 3) RaiseError(ScriptError::BufferReplace);
  const int64_t start = Arg(params, 0, 0);
  Erase(text, start, Arg(params, 1, 0));
  Insert(text, start, ValueToString(params.GetValue(2)).view());
  result = Value::Object(&self);
}

// A negative offset counts from the end.
size_t FromEnd(int64_t offset, size_t size) {
  return Clamp(offset < 0 ? offset + static_cast<int64_t>(size) : offset, size);
}

void BSlice(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  std::string piece;
  if (params.GetCount() > 0) {
    const size_t start = FromEnd(Arg(params, 0, 0), text.size());
    const size_t end = FromEnd(Arg(params, 1, static_cast<int64_t>(text.size())), text.size());
    if (end > start) piece = text.substr(start, end - start);
  }
  result = NewHostObject<TJStringBufferObject>(self.Engine(), std::move(piece));
}

void BSubstr(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  result = Value::String("");
  if (params.GetCount() < 1) return;
  const size_t start = Clamp(Arg(params, 0, 0), text.size());
  const int64_t length = Arg(params, 1, static_cast<int64_t>(text.size()));
  if (length > 0) result = Value::String(std::string_view(text).substr(start, static_cast<size_t>(length)));
}

void BSubstring(TJObject& self, TJValueList& params, Value& result) {
  const std::string& text = TextOf(self);
  result = Value::String("");
  if (params.GetCount() < 1) return;
  size_t a = Clamp(Arg(params, 0, 0), text.size()), b = Clamp(Arg(params, 1, static_cast<int64_t>(text.size())), text.size());
  if (a > b) std::swap(a, b);
  result = Value::String(std::string_view(text).substr(a, b - a));
}

void BFill(TJObject& self, TJValueList& params, Value& result) {
  std::string& text = TextOf(self);
  std::fill(text.begin(), text.end(), params.GetCount() > 0 ? ValueToChar(params.GetValue(0)) : '\0');
  result = Value::Object(&self);
}

Value GetBufferLength(TJObject& self) { return NumberValue(static_cast<int64_t>(TextOf(self).size())); }
void SetLength(TJObject& self, const Value& v) { BufferOf(self).SetLength(v); }
Value GetBufferText(TJObject& self) { return Value::String(TextOf(self)); }
void SetBufferText(TJObject& self, const Value& v) { TextOf(self) = ValueToStdString(v); }

constexpr PropDef kStringBufferProps[] = {{"length", GetBufferLength, SetLength}, {"text", GetBufferText, SetBufferText}};

}  // namespace

TJStringBufferObject::TJStringBufferObject(BaseEngine* engine, std::string text)
    : TJObject(engine), text_(std::move(text)), props_(*this, kStringBufferProps) {
  SetObjectName("StringBuffer");
}

const ClassInfo& TJStringBufferObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"append", BAppend}, {"charCodeAt", BCharCodeAt}, {"delete", BDelete}, {"indexOf", BIndexOf},
       {"insert", BInsert}, {"lastIndexOf", BLastIndexOf}, {"replace", BReplace}, {"slice", BSlice},
       {"substr", BSubstr}, {"substring", BSubstring}, {"fill", BFill}});
  return info;
}

void TJStringBufferObject::SetLength(const Value& length) {
  int64_t n = 0;
  if (!ValueToInt64(length, n) || n < 0) RaiseError(ScriptError::BufferLength, {ValueToString(length).view()});
  CheckLength(static_cast<uint64_t>(n));
  text_.resize(static_cast<size_t>(n), '\0');
}

size_t TJStringBufferObject::ByteIndex(const StrRef& key) const {
  int32_t index = 0;
  if (!ElementIndex(key, index)) RaiseError(ScriptError::IndexText, {key.view()});
  const int64_t i = index < 0 ? int64_t{index} + static_cast<int64_t>(text_.size()) : index;
  if (i < 0 || static_cast<uint64_t>(i) >= text_.size()) RaiseError(ScriptError::IndexText, {key.view()});
  return static_cast<size_t>(i);
}

bool TJStringBufferObject::GetElement(const StrRef& key, Value& out) {
  out = Value::String(std::string(1, text_[ByteIndex(key)]));
  return true;
}

bool TJStringBufferObject::SetElement(const StrRef& key, const Value& v) {
  text_[ByteIndex(key)] = ValueToChar(v);
  return true;
}

void TJStringBufferObject::GetItem(int32_t index, Value& out) {
  out = index >= 0 && static_cast<size_t>(index) < text_.size() ? Value::String(std::string(1, text_[index])) : Value();
}

void RegisterStringBuffer(TJEngine& engine) {
  engine.RegisterObjectClass("StringBuffer", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    auto obj = std::make_unique<TJStringBufferObject>(e, "");
    const Value x = p && p->GetCount() > 0 ? p->GetValue(0) : Value::String("");
    if (ValueIsNumber(x)) {
      obj->SetLength(x);
      obj->Text().assign(obj->Text().size(), p->GetCount() > 1 ? ValueToChar(p->GetValue(1)) : '\0');
    } else {
      obj->Text() = ValueToStdString(x);
    }
    return obj.release();
  }, true);
}

}  // namespace kestrin::script
