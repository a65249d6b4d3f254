// RegistryStore: Kestrin's own stand-in for the current user's registry: a tree of keys
// ("\" between names, compared without case) holding string values, kept in one text file.
// Every change re-reads the file under an exclusive lock on a companion lock file, applies
// the change and replaces the file atomically, so processes sharing the store keep each
// other's writes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text_compare.h"

namespace kestrin::platform {

// One key of the store with its values in the order they were first written.
struct RegistryKey {
  std::string path;  // names joined by "\"
  std::vector<std::pair<std::string, std::string>> values;
};

// The store's file text and back. A key is a line "[path]" followed by its "name=value"
// lines; in names and values the bytes "%", CR, LF, "\", "=", "[", "]" and ";" are written
// as "%" and two hex digits (but for the trail bytes of CP932 characters, so Japanese names
// stay readable), and so is a lead byte without its trail: any byte but NUL survives.
// Lines that are neither, and values before the first key, are skipped.
std::string RegistryText(const std::vector<RegistryKey>& keys);
std::vector<RegistryKey> ParseRegistryText(std::string_view text);

// The names of a key path: split at each "\" that starts a character (a CP932 trail byte
// 0x5C is part of its name); empty names are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

// Largest store file read; a bigger one makes the store unusable.
inline constexpr size_t kMaxRegistryFileBytes = size_t{64} << 20;
// How long a change waits for another process to release the store.
inline constexpr int kRegistryLockMs = 10000;

class RegistryStore {
public:
  // $XDG_CONFIG_HOME/kestrin/registry/HKEY_CURRENT_USER.reg (DESIGN's configuration folder).
  static std::string DefaultFile();

  explicit RegistryStore(std::string file, TextCompare compare = compare_text_cp932);
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;
  ~RegistryStore();

  // Makes the folder and the lock file and reads the store; false, with the reason, when
  // the store cannot be read or written.
  bool Open(std::string* error = nullptr);

  // A key exists when it was created or a key below it exists.
  bool KeyExists(std::string_view path);
  // Creates the key and every missing key above it.
  bool CreateKey(std::string_view path);
  // Removes the key with everything below it (nothing when it is absent); false when the
  // store could not be changed.
  bool DeleteKey(std::string_view path);
  // The names of the keys directly below, sorted without case.
  std::vector<std::string> SubKeyNames(std::string_view path);
  std::vector<std::string> ValueNames(std::string_view path);
  bool ReadValue(std::string_view path, std::string_view name, std::string& value);
  // Creates the key when missing. A NUL ends a name or value, as in the platform's strings.
  bool WriteValue(std::string_view path, std::string_view name, std::string_view value);
  // Removes the value (nothing when it is absent); false when the store could not be changed.
  bool DeleteValue(std::string_view path, std::string_view name);

  const std::string& File() const { return file_; }

private:
  using Edit = std::function<bool(std::vector<RegistryKey>&)>;
  // Locks the store, reads it, applies the edit and writes it back when the edit
  // changed something; false when the store could not be locked, read or written.
  bool Change(const Edit& edit);
  // The keys as the file holds them now (read again only when the file changed).
  const std::vector<RegistryKey>& Current();
  bool Read(std::vector<RegistryKey>& keys);
  // Finds or adds the key of a normal path and the keys above it; added_ tells whether
  // anything was added.
  RegistryKey* AddKey(std::vector<RegistryKey>& keys, const std::string& normal);
  bool SamePath(std::string_view a, std::string_view b) const;
  // Whether `path` is `parent` or below it; `rest` gets the names below `parent`.
  bool Below(std::string_view path, std::string_view parent, std::vector<std::string>* rest = nullptr) const;

  std::string file_;
  TextCompare compare_;
  int lock_fd_ = -1;
  std::vector<RegistryKey> keys_;
  // Identity of the file behind keys_ (inode, size, change time), to skip re-reading.
  ino_t ino_ = 0;
  off_t size_ = -1;
  timespec mtime_{};
  bool loaded_ = false;
  bool added_ = false;
};

}  // namespace kestrin::platform
