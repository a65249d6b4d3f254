// Directory: one folder listed, searched, made, emptied and removed. Names are script
// paths; the folder's name is held expanded and ends in "/".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

// The platform's find attributes of folder entries.
inline constexpr uint32_t kFaReadOnly = 1, kFaHidden = 2, kFaSysFile = 4, kFaVolumeId = 8, kFaDirectory = 16,
                          kFaArchive = 32, kFaAnyFile = 63;

// One entry found by a search: its name (a script string) and attributes.
struct FoundEntry {
  std::string name;
  uint32_t attr = 0;
};

// The entries of `dir` whose names match `mask` (the listings' wildcard rules) and whose
// attributes the set `attr` admits, as the platform's find-first does: an entry is left
// out when it has the hidden, system, volume or folder bit and `attr` lacks it. Names
// beginning with "." count as hidden, "." and ".." excepted. Sorted by their CP932 bytes,
// "." and ".." first.
std::vector<FoundEntry> FindEntries(std::string_view dir, std::string_view mask, uint32_t attr);

class TJDirectoryObject : public TJObject {
public:
  TJDirectoryObject(BaseEngine* engine, std::string_view dir_name);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override { return dir_name_; }
  void OnKill() override { FindClose(); }

  const std::string& DirName() const { return dir_name_; }
  // Stores the full path with its trailing "/" ("" stays "").
  void SetDirName(std::string_view name);

  // Starts a search (closing a running one); the first name, or false.
  bool FindFirst(std::string_view mask, uint32_t attr, std::string& name);
  // The next entry with all of `want` (0: any) and none of `skip`; false at the end.
  bool FindNext(uint32_t want, uint32_t skip, std::string& name);
  void FindClose();
  bool Searching() const { return searching_; }

private:
  std::string dir_name_;
  std::vector<FoundEntry> found_;
  size_t next_ = 0;
  bool searching_ = false;
  PropTable props_;
};

// Registers "Directory".
void RegisterDirectory(TJEngine& engine);

}  // namespace kestrin::script
