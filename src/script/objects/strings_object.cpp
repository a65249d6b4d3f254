// Strings and StringList: the list methods, the text forms, line indexing, and the
// platform list errors turned into "EStringsError".
#include "script/objects/strings_object.h"

#include "base/text_file.h"
#include "script/builtins/array_object.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/hash_table.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

TJBaseStringsObject& StringsOf(TJObject& self) { return static_cast<TJBaseStringsObject&>(self); }
kgui::TStrings& ListOf(TJObject& self) { return StringsOf(self).List(); }
kgui::TStringList& OwnListOf(TJObject& self) { return static_cast<TJStringsObject&>(self).OwnList(); }

// A change of the list; what the platform list raises becomes "EStringsError".
template <class F>
void Edit(F&& f) {
  GuardedText(ScriptError::StringsList, std::forward<F>(f));
}

int32_t LineIndex(const Value& v) { return ValueToInteger(v); }

// The lines of a Strings object, or the string forms of a collection's items; false for
// anything else.
bool SourceLines(const Value& source, std::vector<std::string>& lines) {
  TJObject* obj = source.object();
  if (!obj) return false;
  if (auto* strings = dynamic_cast<TJBaseStringsObject*>(obj)) {
    lines = strings->List().toVector();
    return true;
  }
  if (!obj->IsCollection()) return false;
  for (int32_t i = 0, n = obj->GetCount(); i < n; ++i) {
    Value item;
    obj->GetItem(i, item);
    lines.push_back(ValueToStdString(item));
  }
  return true;
}

void SAdd(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  int index = 0;
  Edit([&] {
    if (params.GetCount() == 0) index = list.add("");
    for (int32_t i = 0; i < params.GetCount(); ++i) index = list.add(ArgText(params, i));
  });
  result = Value::Integer(index);
}

void SInsert(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  if (params.GetCount() < 2) RaiseError(ScriptError::StringsInsert);
  Edit([&] { list.insert(LineIndex(params.GetValue(0)), ArgText(params, 1)); });
  result = Value::Object(&self);
}

void SDelete(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  if (params.GetCount() < 1) RaiseError(ScriptError::StringsDelete);
  Edit([&] { list.remove(LineIndex(params.GetValue(0))); });
  result = Value::Object(&self);
}

void SClear(TJObject& self, TJValueList&, Value& result) {
  kgui::TStrings& list = ListOf(self);
  Edit([&] { list.clear(); });
  result = Value::Object(&self);
}

void SIndexOf(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  result = Value::Integer(params.GetCount() > 0 ? list.indexOf(ArgText(params, 0)) : -1);
}

void SSaveToFile(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  if (params.GetCount() < 1) RaiseError(ScriptError::StringsSave);
  bool written = false;
  Guarded(ScriptError::StringsSave, "", [&] { written = write_file_bytes(ScriptPathToOs(ArgText(params, 0)), list.text()); });
  if (!written) RaiseError(ScriptError::StringsSave);
  result = Value::Object(&self);
}

void SLoadFromFile(TJObject& self, TJValueList& params, Value& result) {
  kgui::TStrings& list = ListOf(self);
  if (params.GetCount() < 1) RaiseError(ScriptError::StringsLoad);
  Guarded(ScriptError::StringsLoad, "", [&] {
    std::string bytes;
    if (!read_file_bytes(ScriptPathToOs(ArgText(params, 0)), bytes, nullptr, kMaxStringBytes + 1) ||
        bytes.size() > kMaxStringBytes)
      RaiseError(ScriptError::StringsLoad);
    list.setText(bytes);
  });
  result = Value::Object(&self);
}

// addStrings and assign: the lines of a Strings object or the items of a collection; the
// arguments' texts, as `add` takes them, for a value that is no object.
void AddFrom(TJObject& self, TJValueList& params, bool replace) {
  kgui::TStrings& list = ListOf(self);
  if (params.GetCount() < 1) RaiseError(ScriptError::StringsAddStrings);
  const Value source = params.GetValue(0);
  std::vector<std::string> lines;
  if (!source.object()) {
    for (int32_t i = 0; i < params.GetCount(); ++i) lines.push_back(ArgText(params, i));
  } else if (!SourceLines(source, lines)) {
    // Refused before the list is cleared, so a bad source loses nothing.
    RaiseError(ScriptError::StringsAddStrings);
  }
  Edit([&] {
    list.beginUpdate();
    struct End {
      kgui::TStrings& l;
      ~End() { l.endUpdate(); }
    } end{list};
    if (replace) list.clear();
    for (const std::string& line : lines) list.add(line);
  });
}

void SAddStrings(TJObject& self, TJValueList& params, Value& result) {
  AddFrom(self, params, false);
  result = Value::Object(&self);
}

void SAssign(TJObject& self, TJValueList& params, Value& result) {
  AddFrom(self, params, true);
  result = Value::Object(&self);
}

void SSort(TJObject& self, TJValueList&, Value& result) {
  kgui::TStringList& list = OwnListOf(self);
  Edit([&] { list.sort(); });
  result = Value::Object(&self);
}

Value GetText(TJObject& self) { return Value::String(ListOf(self).text()); }
void SetText(TJObject& self, const Value& v) {
  kgui::TStrings& list = ListOf(self);
  Edit([&] { list.setText(ValueToStdString(v)); });
}
Value GetCommaText(TJObject& self) { return Value::String(ListOf(self).commaText()); }
void SetCommaText(TJObject& self, const Value& v) {
  kgui::TStrings& list = ListOf(self);
  Edit([&] { list.setCommaText(ValueToStdString(v)); });
}
Value GetLength(TJObject& self) { return Value::Integer(ListOf(self).count()); }

Value GetSorted(TJObject& self) { return Value::Bool(OwnListOf(self).sorted()); }
void SetSorted(TJObject& self, const Value& v) {
  kgui::TStringList& list = OwnListOf(self);
  Edit([&] { list.setSorted(ValueToBool(v)); });
}
Value GetDuplicates(TJObject& self) { return Value::Bool(OwnListOf(self).duplicates() == kgui::dupAccept); }
void SetDuplicates(TJObject& self, const Value& v) {
  OwnListOf(self).setDuplicates(ValueToBool(v) ? kgui::dupAccept : kgui::dupIgnore);
}
Value GetCaseSensitive(TJObject& self) { return Value::Bool(OwnListOf(self).caseSensitive()); }
void SetCaseSensitive(TJObject& self, const Value& v) {
  kgui::TStringList& list = OwnListOf(self);
  Edit([&] { list.setCaseSensitive(ValueToBool(v)); });
}

constexpr PropDef kStringsProps[] = {
    {"text", GetText, SetText}, {"commaText", GetCommaText, SetCommaText}, {"length", GetLength, nullptr},
    {"count", GetLength, nullptr}};

constexpr PropDef kStringListProps[] = {
    {"text", GetText, SetText},           {"commaText", GetCommaText, SetCommaText},
    {"length", GetLength, nullptr},       {"count", GetLength, nullptr},
    {"sorted", GetSorted, SetSorted},     {"duplicates", GetDuplicates, SetDuplicates},
    {"caseSensitive", GetCaseSensitive, SetCaseSensitive}};

}  // namespace

TJBaseStringsObject::TJBaseStringsObject(BaseEngine* engine) : TJBaseStringsObject(engine, kStringsProps) {}

TJBaseStringsObject::TJBaseStringsObject(BaseEngine* engine, std::span<const PropDef> props)
    : TJObject(engine), props_(*this, props) {
  SetObjectName("Strings");
}

const ClassInfo& TJBaseStringsObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"add", SAdd}, {"insert", SInsert}, {"delete", SDelete}, {"clear", SClear}, {"indexOf", SIndexOf},
       {"saveToFile", SSaveToFile}, {"loadFromFile", SLoadFromFile}, {"assign", SAssign},
       {"addStrings", SAddStrings}});
  return info;
}

kgui::TStrings& TJBaseStringsObject::List() const {
  if (!list_) RaiseError(ScriptError::StringsNull);
  return *list_;
}

bool TJBaseStringsObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int32_t index;
  if (!ElementIndex(name, index)) return TJObject::GetValueImpl(name, out, param);
  kgui::TStrings& list = List();
  if (index < 0 || index >= list.count()) RaiseError(ScriptError::IndexText, {name.view()});
  out = Value::String(list.get(index));
  return true;
}

bool TJBaseStringsObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  int32_t index;
  if (!ElementIndex(name, index)) return TJObject::SetValueImpl(name, v, param);
  kgui::TStrings& list = List();
  if (index < 0 || index >= list.count()) RaiseError(ScriptError::IndexText, {name.view()});
  Edit([&] { list.put(index, ValueToStdString(v)); });
  return true;
}

StrRef TJBaseStringsObject::ToString(const Value* arg) {
  std::string text = List().text();
  if (!arg) return text;
  const std::string sep = ValueToStdString(*arg);
  std::string out;
  for (size_t at = 0;;) {
    const size_t crlf = text.find("\r\n", at);
    if (crlf == std::string::npos) return out.append(text, at, std::string::npos);
    out.append(text, at, crlf - at).append(sep);
    at = crlf + 2;
  }
}

void TJBaseStringsObject::GetItem(int32_t index, Value& out) {
  kgui::TStrings& list = List();
  out = index >= 0 && index < list.count() ? Value::String(list.get(index)) : Value();
}

TJStringsObject::TJStringsObject(BaseEngine* engine)
    : TJBaseStringsObject(engine, kStringListProps), own_(std::make_unique<kgui::TStringList>()) {
  SetObjectName("StringList");
  // The engine's name order: trail bytes are never case-folded, so lists sort the same
  // way everywhere.
  own_->setCompare(LocaleCompareText, LocaleCompare);
  SetStrings(own_.get());
}

const ClassInfo& TJStringsObject::Class() const {
  static const ClassInfo info(&TJBaseStringsObject::Class(), {{"sort", SSort}});
  return info;
}

Value NewStringList(BaseEngine* engine, const std::vector<std::string>& lines) {
  Value v = NewHostObject<TJStringsObject>(engine);
  auto& list = static_cast<TJStringsObject*>(v.object())->OwnList();
  for (const std::string& line : lines) list.add(line);
  return v;
}

void RegisterStrings(TJEngine& engine) {
  engine.RegisterObjectClass("Strings", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    auto* obj = new TJStringsObject(e);
    if (p && p->GetCount() > 0 && ValueIsString(p->GetValue(0))) obj->OwnList().setText(ValueToStdString(p->GetValue(0)));
    return obj;
  }, true);
}

}  // namespace kestrin::script
