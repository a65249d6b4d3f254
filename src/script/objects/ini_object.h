// Ini: an INI file held in memory and written back by update. TJIniBase carries the
// methods that Ini and RegIni share over their own stores.
#pragma once

#include <string>
#include <vector>

#include "platform/classes/ini_file.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

// Sections of keys with string values, read and written by the shared script methods
// deleteKey, eraseSection, readSection, readSections, sectionExists, write and read.
// Failures are "EIniError" with the method's name and Name().
class TJIniBase : public TJObject {
public:
  using TJObject::TJObject;
  const ClassInfo& Class() const override;
  // The file name or key path the object was made with.
  virtual const std::string& Name() const = 0;
  // The store's operations; false when the store failed.
  virtual bool DeleteKey(const std::string& section, const std::string& key) = 0;
  virtual bool EraseSection(const std::string& section) = 0;
  virtual std::vector<std::string> ReadSection(const std::string& section) = 0;
  virtual std::vector<std::string> ReadSections() = 0;
  virtual bool SectionExists(const std::string& section) = 0;
  virtual bool Write(const std::string& section, const std::string& key, const std::string& value) = 0;
  virtual bool Read(const std::string& section, const std::string& key, std::string& value) = 0;
};

class TJIniObject : public TJIniBase {
public:
  // Reads the file (a relative name starts at the current folder); a missing file is an
  // empty INI. Raises "EIniError" "ini create error" when the file cannot be read.
  TJIniObject(BaseEngine* engine, std::string file_name);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

  const std::string& Name() const override { return file_name_; }
  bool DeleteKey(const std::string& section, const std::string& key) override;
  bool EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override { return ini_.ReadSection(section); }
  std::vector<std::string> ReadSections() override { return ini_.ReadSections(); }
  bool SectionExists(const std::string& section) override { return ini_.SectionExists(section); }
  bool Write(const std::string& section, const std::string& key, const std::string& value) override {
    return ini_.WriteString(section, key, value);
  }
  bool Read(const std::string& section, const std::string& key, std::string& value) override {
    return ini_.ReadString(section, key, value);
  }
  kgui::TMemIniFile& Ini() { return ini_; }

private:
  std::string file_name_;
  kgui::TMemIniFile ini_;
  PropTable props_;
};

// Registers "Ini" (no global instance).
void RegisterIni(TJEngine& engine);

}  // namespace kestrin::script
