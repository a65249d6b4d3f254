// The methods that Ini and RegIni share, and Ini over TMemIniFile with its update.
#include "script/objects/ini_object.h"

#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/hash_table.h"
#include "script/objects/object_support.h"
#include "script/objects/path_names.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

TJIniBase& IniOf(TJObject& self) { return static_cast<TJIniBase&>(self); }

// Raises `kind` with the object's name unless the store answered true.
void Check(TJObject& self, bool ok, ScriptError kind) {
  if (!ok) RaiseError(kind, {IniOf(self).Name()});
}

void NeedArguments(TJObject& self, const TJValueList& params, int32_t count, ScriptError kind) {
  Check(self, params.GetCount() >= count, kind);
}

void IDeleteKey(TJObject& self, TJValueList& params, Value& result) {
  NeedArguments(self, params, 2, ScriptError::IniDeleteKey);
  Check(self, IniOf(self).DeleteKey(ArgText(params, 0), ArgText(params, 1)), ScriptError::IniDeleteKey);
  result = Value::Object(&self);
}

void IEraseSection(TJObject& self, TJValueList& params, Value& result) {
  NeedArguments(self, params, 1, ScriptError::IniEraseSection);
  Check(self, IniOf(self).EraseSection(ArgText(params, 0)), ScriptError::IniEraseSection);
  result = Value::Object(&self);
}

void IReadSection(TJObject& self, TJValueList& params, Value& result) {
  NeedArguments(self, params, 1, ScriptError::IniReadSection);
  result = NewStringList(self.Engine(), IniOf(self).ReadSection(ArgText(params, 0)));
}

void IReadSections(TJObject& self, TJValueList&, Value& result) {
  result = NewStringList(self.Engine(), IniOf(self).ReadSections());
}

void ISectionExists(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && IniOf(self).SectionExists(ArgText(params, 0)));
}

// A text that a line of the store cannot hold is refused: nothing is written.
void IWrite(TJObject& self, TJValueList& params, Value& result) {
  NeedArguments(self, params, 3, ScriptError::IniWrite);
  Check(self, IniOf(self).Write(ArgText(params, 0), ArgText(params, 1), ArgText(params, 2)), ScriptError::IniWrite);
  result = Value::Object(&self);
}

void IRead(TJObject& self, TJValueList& params, Value& result) {
  NeedArguments(self, params, 3, ScriptError::IniRead);
  std::string value;
  if (!IniOf(self).Read(ArgText(params, 0), ArgText(params, 1), value)) value = ArgText(params, 2);
  result = Value::String(value);
}

// The old file stays as it was when the new one cannot be written.
void IUpdate(TJObject& self, TJValueList&, Value& result) {
  Check(self, static_cast<TJIniObject&>(self).Ini().UpdateFile(), ScriptError::IniUpdate);
  result = Value::Object(&self);
}

Value GetIniFileName(TJObject& self) { return Value::String(IniOf(self).Name()); }

constexpr PropDef kIniProps[] = {{"filename", GetIniFileName, nullptr}};

}  // namespace

const ClassInfo& TJIniBase::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"deleteKey", IDeleteKey}, {"eraseSection", IEraseSection}, {"readSection", IReadSection},
       {"readSections", IReadSections}, {"sectionExists", ISectionExists}, {"write", IWrite}, {"read", IRead}});
  return info;
}

TJIniObject::TJIniObject(BaseEngine* engine, std::string file_name)
    : TJIniBase(engine), file_name_(std::move(file_name)),
      ini_(ScriptPathToOs(ExpandFileName(file_name_)), LocaleCompareText), props_(*this, kIniProps) {
  SetObjectName("Ini");
  if (file_name_.empty()) RaiseError(ScriptError::IniCreate);
  GuardedText(ScriptError::IniCreate, [&] { ini_.Load(); });
}

const ClassInfo& TJIniObject::Class() const {
  static const ClassInfo info(&TJIniBase::Class(), {{"update", IUpdate}});
  return info;
}

bool TJIniObject::DeleteKey(const std::string& section, const std::string& key) {
  ini_.DeleteKey(section, key);
  return true;
}

bool TJIniObject::EraseSection(const std::string& section) {
  ini_.EraseSection(section);
  return true;
}

void RegisterIni(TJEngine& engine) {
  engine.RegisterObjectClass("Ini", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    if (!p || p->GetCount() < 1) RaiseError(ScriptError::IniCreate);
    return new TJIniObject(e, ValueToStdString(p->GetValue(0)));
  }, false);
}

}  // namespace kestrin::script
