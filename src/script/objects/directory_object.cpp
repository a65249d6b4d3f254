// Directory: the find-first/find-next walker, the listings, making, removing and emptying
// the folder, and its name functions. Failures are "EDirectoryError" with the folder.
#include "script/objects/directory_object.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "script/builtins/file_utils.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"
#include "script/objects/path_names.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

constexpr uint32_t kFindFileAttr = kFaReadOnly | kFaHidden | kFaSysFile | kFaArchive;

TJDirectoryObject& DirOf(TJObject& self) { return static_cast<TJDirectoryObject&>(self); }

std::string PathArg(TJObject& self, const TJValueList& params) {
  return params.GetCount() > 0 ? ArgText(params, 0) : DirOf(self).DirName();
}

std::string MaskArg(const TJValueList& params) { return params.GetCount() > 0 ? ArgText(params, 0) : "*.*"; }

[[noreturn]] void Fail(TJObject& self, ScriptError kind) { RaiseError(kind, {DirOf(self).DirName()}); }

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

Value NameOrNull(bool found, const std::string& name) { return found ? Value::String(name) : Value::Null(); }

// ---- searches ----

void DFindFirst(TJObject& self, TJValueList& params, Value& result, uint32_t attr) {
  std::string name;
  result = NameOrNull(DirOf(self).FindFirst(MaskArg(params), attr, name), name);
}

void DFindFirstFile(TJObject& self, TJValueList& params, Value& result) { DFindFirst(self, params, result, kFindFileAttr); }
void DFindFirstDir(TJObject& self, TJValueList& params, Value& result) { DFindFirst(self, params, result, kFaDirectory); }
void DFindFirstAny(TJObject& self, TJValueList& params, Value& result) { DFindFirst(self, params, result, kFaAnyFile); }

void DFindNextOf(TJObject& self, Value& result, ScriptError error, uint32_t want, uint32_t skip) {
  TJDirectoryObject& dir = DirOf(self);
  if (!dir.Searching()) Fail(self, error);
  std::string name;
  result = NameOrNull(dir.FindNext(want, skip, name), name);
}

void DFindNext(TJObject& self, TJValueList&, Value& result) { DFindNextOf(self, result, ScriptError::DirFindNext, 0, 0); }
void DFindNextFile(TJObject& self, TJValueList&, Value& result) {
  DFindNextOf(self, result, ScriptError::DirFindNextFile, 0, kFaDirectory | kFaVolumeId);
}
void DFindNextDir(TJObject& self, TJValueList&, Value& result) {
  DFindNextOf(self, result, ScriptError::DirFindNextDir, kFaDirectory, 0);
}
void DFindClose(TJObject& self, TJValueList&, Value&) { DirOf(self).FindClose(); }

// ---- the folder ----

void DMake(TJObject& self, TJValueList&, Value& result) {
  const std::string& dir = DirOf(self).DirName();
  if (dir.empty() || !ForceDirectories(dir)) Fail(self, ScriptError::DirMake);
  result = Value::Bool(true);
}

void DRemove(TJObject& self, TJValueList&, Value& result) {
  const std::string& dir = DirOf(self).DirName();
  if (dir.empty() || ::rmdir(ScriptPathToOs(dir).c_str()) != 0) Fail(self, ScriptError::DirRemove);
  result = Value::Bool(true);
}

// Left without behaviour: scripts cannot rely on what it would do.
void DRenameTo(TJObject&, TJValueList&, Value&) {}

void DExists(TJObject& self, TJValueList& params, Value& result) { result = Value::Bool(DirExists(PathArg(self, params))); }

// A folder that cannot be entered leaves the current one; nothing is reported.
void DChangeTo(TJObject& self, TJValueList& params, Value&) {
  const std::string path = PathArg(self, params);
  if (path.empty()) return;
  [[maybe_unused]] const int failed = ::chdir(ScriptPathToOs(path).c_str());
}

void DIncludePathDelimiter(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(IncludePathDelimiter(PathArg(self, params)));
}

void DExcludePathDelimiter(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(ExcludePathDelimiter(PathArg(self, params)));
}

// Everything inside the folder, files first, after the user said yes; into the trash
// unless the argument is false. Nothing is reported.
void DClear(TJObject& self, TJValueList& params, Value& result) {
  const bool to_trash = params.GetCount() == 0 || ValueToBool(params.GetValue(0));
  const std::string& dir = DirOf(self).DirName();
  if (!dir.empty()) DeleteDirectory(UiOf(self), dir, to_trash, false, false);
  result = Value::Object(&self);
}

Value Listing(TJObject& self, std::string_view mask, bool folders) {
  std::vector<std::string> files, dirs;
  ListDirectory(DirOf(self).DirName(), mask, folders ? kListFolders : kListFiles, folders ? &dirs : nullptr, files);
  return NewStringList(self.Engine(), folders ? dirs : files);
}

void DFindFiles(TJObject& self, TJValueList& params, Value& result) { result = Listing(self, MaskArg(params), false); }

void DExpandUNCFilename(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(ExpandFileName(PathArg(self, params)));
}

Value GetDirName(TJObject& self) { return Value::String(DirOf(self).DirName()); }
void SetDirName(TJObject& self, const Value& v) { DirOf(self).SetDirName(ValueToStdString(v)); }
Value GetFiles(TJObject& self) { return Listing(self, "*.*", false); }
Value GetDirectories(TJObject& self) { return Listing(self, "*.*", true); }

constexpr PropDef kDirectoryProps[] = {{"dirname", GetDirName, SetDirName},
                              {"path", GetDirName, SetDirName},
                              {"files", GetFiles, nullptr},
                              {"directories", GetDirectories, nullptr}};

// The attributes of a directory entry; the system's file type is taken when it gives it.
uint32_t EntryAttr(const std::string& os_dir, const dirent& entry, std::string_view name) {
  bool folder = entry.d_type == DT_DIR;
  if (entry.d_type == DT_UNKNOWN || entry.d_type == DT_LNK) {
    struct stat st;
    folder = ::stat((os_dir + entry.d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  uint32_t attr = folder ? kFaDirectory : kFaArchive;
  if (!name.empty() && name[0] == '.' && !IsDotName(name)) attr |= kFaHidden;
  return attr;
}

}  // namespace

std::vector<FoundEntry> FindEntries(std::string_view dir, std::string_view mask, uint32_t attr) {
  std::vector<FoundEntry> found;
  const std::string os_dir = ScriptPathToOs(IncludePathDelimiter(dir));
  std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(os_dir.c_str()), ::closedir);
  if (dir.empty() || !handle) return found;
  const uint32_t excluded = ~attr & (kFaHidden | kFaSysFile | kFaVolumeId | kFaDirectory);
  while (const dirent* entry = ::readdir(handle.get())) {
    const std::string name = OsPathToScript(entry->d_name);
    const uint32_t entry_attr = EntryAttr(os_dir, *entry, name);
    if (!(entry_attr & excluded) && MatchesMask(name, mask)) found.push_back(FoundEntry{name, entry_attr});
  }
  std::sort(found.begin(), found.end(), [](const FoundEntry& a, const FoundEntry& b) {
    const bool da = IsDotName(a.name), db = IsDotName(b.name);
    if (da != db) return da;
    return a.name < b.name;
  });
  return found;
}

TJDirectoryObject::TJDirectoryObject(BaseEngine* engine, std::string_view dir_name)
    : TJObject(engine), props_(*this, kDirectoryProps) {
  SetObjectName("Directory");
  SetDirName(dir_name);
}

const ClassInfo& TJDirectoryObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"make", DMake}, {"remove", DRemove}, {"renameTo", DRenameTo}, {"findFirstFile", DFindFirstFile},
       {"findNext", DFindNext}, {"findNextFile", DFindNextFile}, {"findNextDir", DFindNextDir},
       {"findFirstDir", DFindFirstDir}, {"findFirst", DFindFirstAny}, {"findClose", DFindClose},
       {"exists", DExists}, {"changeTo", DChangeTo}, {"includePathDelimiter", DIncludePathDelimiter},
       {"excludePathDelimiter", DExcludePathDelimiter}, {"clear", DClear}, {"findFiles", DFindFiles},
       {"expandUNCFilename", DExpandUNCFilename}});
  return info;
}

void TJDirectoryObject::SetDirName(std::string_view name) {
  const std::string full = ExpandFileName(name);
  dir_name_ = full.empty() ? full : IncludePathDelimiter(full);
}

bool TJDirectoryObject::FindFirst(std::string_view mask, uint32_t attr, std::string& name) {
  FindClose();
  found_ = FindEntries(dir_name_, mask, attr);
  if (found_.empty()) return false;
  searching_ = true;
  next_ = 1;
  name = found_[0].name;
  return true;
}

bool TJDirectoryObject::FindNext(uint32_t want, uint32_t skip, std::string& name) {
  while (next_ < found_.size()) {
    const FoundEntry& e = found_[next_++];
    if ((e.attr & want) == want && !(e.attr & skip)) {
      name = e.name;
      return true;
    }
  }
  return false;
}

void TJDirectoryObject::FindClose() {
  found_.clear();
  next_ = 0;
  searching_ = false;
}

void RegisterDirectory(TJEngine& engine) {
  engine.RegisterObjectClass("Directory", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJDirectoryObject(e, p && p->GetCount() > 0 ? ValueToStdString(p->GetValue(0)) : std::string("."));
  }, true);
}

}  // namespace kestrin::script
