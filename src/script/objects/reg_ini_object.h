// RegIni: a key of Kestrin's registry store read and written like an INI file: sections
// are the keys below it, entries their string values. Every change is stored at once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/system/registry_store.h"
#include "script/objects/ini_object.h"

namespace kestrin::script {

class TJRegIniObject : public TJIniBase {
public:
  // Opens the key below HKEY_CURRENT_USER in the store `store_file` (the default store
  // when empty), creating it when missing. Raises "EIniError" "ini create error" when the
  // store cannot be used.
  TJRegIniObject(BaseEngine* engine, std::string key_path, const std::string& store_file = std::string());
  PublishedProperties* Published() override { return &props_; }

  const std::string& Name() const override { return key_; }
  bool DeleteKey(const std::string& section, const std::string& key) override;
  bool EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override;
  std::vector<std::string> ReadSections() override;
  bool SectionExists(const std::string& section) override;
  bool Write(const std::string& section, const std::string& key, const std::string& value) override;
  bool Read(const std::string& section, const std::string& key, std::string& value) override;

private:
  std::string SectionPath(const std::string& section) const { return key_ + "\\" + section; }

  std::string key_;
  std::unique_ptr<platform::RegistryStore> store_;
  PropTable props_;
};

// Registers "RegIni" (no global instance).
void RegisterRegIni(TJEngine& engine);

}  // namespace kestrin::script
