// RegIni over the registry store, with the engine's name order for keys and values.
#include "script/objects/reg_ini_object.h"

#include "script/core/engine.h"
#include "script/core/hash_table.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

Value GetRootKey(TJObject&) { return Value::String("HKEY_CURRENT_USER"); }
Value GetKey(TJObject& self) { return Value::String(static_cast<TJRegIniObject&>(self).Name()); }

constexpr PropDef kRegIniProps[] = {{"rootKey", GetRootKey, nullptr}, {"key", GetKey, nullptr}};

}  // namespace

TJRegIniObject::TJRegIniObject(BaseEngine* engine, std::string key_path, const std::string& store_file)
    : TJIniBase(engine), key_(std::move(key_path)),
      store_(std::make_unique<platform::RegistryStore>(store_file.empty() ? platform::RegistryStore::DefaultFile()
                                                                           : store_file,
                                                        LocaleCompareText)),
      props_(*this, kRegIniProps) {
  SetObjectName("RegIni");
  if (!store_->Open() || !store_->CreateKey(key_)) RaiseError(ScriptError::IniCreate);
}

bool TJRegIniObject::DeleteKey(const std::string& section, const std::string& key) {
  return store_->DeleteValue(SectionPath(section), key);
}

bool TJRegIniObject::EraseSection(const std::string& section) { return store_->DeleteKey(SectionPath(section)); }

std::vector<std::string> TJRegIniObject::ReadSection(const std::string& section) {
  return store_->ValueNames(SectionPath(section));
}

std::vector<std::string> TJRegIniObject::ReadSections() { return store_->SubKeyNames(key_); }

bool TJRegIniObject::SectionExists(const std::string& section) { return store_->KeyExists(SectionPath(section)); }

bool TJRegIniObject::Write(const std::string& section, const std::string& key, const std::string& value) {
  return store_->WriteValue(SectionPath(section), key, value);
}

bool TJRegIniObject::Read(const std::string& section, const std::string& key, std::string& value) {
  return store_->ReadValue(SectionPath(section), key, value);
}

void RegisterRegIni(TJEngine& engine) {
  engine.RegisterObjectClass("RegIni", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    if (!p || p->GetCount() < 1) RaiseError(ScriptError::IniCreate);
    return new TJRegIniObject(e, ValueToStdString(p->GetValue(0)));
  }, false);
}

}  // namespace kestrin::script
