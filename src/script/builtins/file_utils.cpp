// File and folder helpers over std::filesystem: script paths are converted at this edge,
// listings match the platform's wildcards, and the trash follows the freedesktop layout.
#include "script/builtins/file_utils.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/url_coding.h"
#include "script/builtins/cp932_chars.h"
#include "script/builtins/script_path.h"
#include "script/core/error_table.h"
#include "script/core/script_ui.h"

namespace kestrin::script {
namespace fs = std::filesystem;
namespace {

fs::path OsPath(std::string_view script_path) { return fs::path(ScriptPathToOs(script_path)); }

// The characters of a CP932 name, ASCII letters folded to lower case.
std::vector<uint32_t> FoldedChars(std::string_view s) {
  std::vector<uint32_t> out;
  ForEachCp932Char(s, [&](const Cp932Char& c) { out.push_back(c.code >= 'A' && c.code <= 'Z' ? c.code + ('a' - 'A') : c.code); });
  return out;
}

// "?" is one character, "*" any run; on a mismatch the last "*" takes one more character.
bool Match(const std::vector<uint32_t>& name, const std::vector<uint32_t>& mask) {
  size_t n = 0, m = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (star != std::string::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

bool Hidden(const std::string& name) { return !name.empty() && name[0] == '.'; }

// Everything in a folder (the folder itself with `with_dir`): files first, then folders,
// each in name order. A symbolic link counts as a file: it goes as a link, never followed.
std::vector<fs::path> Targets(const fs::path& dir, bool with_dir) {
  if (with_dir) return {dir};
  std::vector<std::pair<bool, fs::path>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    std::error_code type_ec;
    found.emplace_back(entry.is_directory(type_ec) && !entry.is_symlink(type_ec), entry.path());
  }
  std::sort(found.begin(), found.end());
  std::vector<fs::path> out;
  for (auto& [folder, path] : found) out.push_back(std::move(path));
  return out;
}

bool Confirmed(ScriptUi& ui, std::string_view dir, size_t count, bool allow_undo, bool with_dir) {
  const std::string folder = "'" + std::string(dir) + "'";
  const std::string what = with_dir ? folder : "the " + std::to_string(count) + " items in " + folder;
  const std::string text = allow_undo ? "Are you sure you want to move " + what + " to the trash?"
                                      : "Are you sure you want to delete " + what + " permanently?";
  return ui.MessageBox(text, "Confirm Delete", kMbYesNo | kMbIconQuestion) == kIdYes;
}

// The freedesktop trash of the user: $XDG_DATA_HOME/Trash, else ~/.local/share/Trash (a
// relative XDG_DATA_HOME is ignored, as the base-directory rules say); empty when there is
// no home to hold it.
fs::path TrashFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return fs::path(data) / "Trash";
  const char* home = std::getenv("HOME");
  if (!home || *home != '/') return fs::path();
  return fs::path(home) / ".local" / "share" / "Trash";
}

std::string DeletionDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &local);
  return buf;
}

// Claims info/NAME.trashinfo with O_EXCL (NAME, NAME.2, NAME.3, ...) and writes it.
bool ClaimTrashInfo(const fs::path& trash, const fs::path& item, fs::path& stored) {
  const std::string base = item.filename().string();
  for (int n = 1; n < 10000; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const fs::path info = trash / "info" / (name + ".trashinfo");
    const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const std::string text = "[Trash Info]\nPath=" + kestrin::URLEncode(fs::absolute(item).string(), "/", false) +
                             "\nDeletionDate=" + DeletionDate() + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    stored = trash / "files" / name;
    std::error_code ec;
    if (written && !fs::exists(stored, ec)) return true;
    fs::remove(info, ec);
    if (!written) return false;
  }
  return false;
}

// Moves the item into the trash; false, with the item where it was, when it cannot go
// there (no trash, or a trash on another file system).
bool MoveToTrash(const fs::path& item) {
  const fs::path trash = TrashFolder();
  if (trash.empty()) return false;
  std::error_code ec;
  fs::create_directories(trash / "files", ec);
  fs::create_directories(trash / "info", ec);
  fs::path stored;
  if (!ClaimTrashInfo(trash, item, stored)) return false;
  fs::rename(item, stored, ec);
  if (!ec) return true;
  fs::remove(trash / "info" / (stored.filename().string() + ".trashinfo"), ec);
  return false;
}

}  // namespace

bool DirExists(std::string_view dir) {
  std::error_code ec;
  return !dir.empty() && fs::is_directory(OsPath(dir), ec);
}

bool ForceDirectories(std::string_view dir) {
  if (dir.empty()) RaiseError(ScriptError::CannotCreateDir);
  fs::path path = OsPath(dir);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  return !ec && fs::is_directory(path, ec);
}

int64_t GetFileSizeByName(std::string_view file) {
  std::error_code ec;
  const fs::path path = OsPath(file);
  if (!fs::is_regular_file(path, ec)) return 0;
  const uintmax_t size = fs::file_size(path, ec);
  return ec ? 0 : static_cast<int64_t>(size);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask.empty() || mask == "*.*") return true;
  const std::vector<uint32_t> n = FoldedChars(name);
  if (Match(n, FoldedChars(mask))) return true;
  // "x.*" also matches "x": a name without an extension.
  return mask.size() > 2 && mask.substr(mask.size() - 2) == ".*" &&
         std::find(n.begin(), n.end(), uint32_t{'.'}) == n.end() && Match(n, FoldedChars(mask.substr(0, mask.size() - 2)));
}

void ListDirectory(std::string_view dir, std::string_view mask, int kind, std::vector<std::string>* dirs,
                   std::vector<std::string>& files) {
  if (!DirExists(dir)) return;
  if (dirs) dirs->clear();
  files.clear();
  if (kind == kListVolume) return;
  std::vector<std::pair<std::string, bool>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(OsPath(dir), ec)) {
    const std::string name = OsPathToScript(entry.path().filename().string());
    std::error_code type_ec;
    const bool folder = entry.is_directory(type_ec);
    if ((folder && kind == kListFiles) || (Hidden(name) && kind != kListFiles && kind != kListAll)) continue;
    if (MatchesMask(name, mask)) found.emplace_back(name, folder);
  }
  std::sort(found.begin(), found.end());
  for (const auto& [name, folder] : found) {
    if (!folder) files.push_back(std::string(dir) + name);
    else if (dirs) dirs->push_back(std::string(dir) + name);
  }
}

void GetSubDirectories(std::string_view dir, std::vector<std::string>& list) {
  std::vector<std::string> files;
  ListDirectory(dir, "*.*", kListFolders, &list, files);
}

bool DeleteDirectory(ScriptUi& ui, std::string_view dir, bool allow_undo, bool silent, bool with_dir) {
  if (!DirExists(dir)) return false;
  const std::vector<fs::path> targets = Targets(OsPath(dir), with_dir);
  if (!silent && !targets.empty() && !Confirmed(ui, dir, targets.size(), allow_undo, with_dir)) return false;
  bool all = true;
  for (const fs::path& item : targets) {
    std::error_code ec;
    if (allow_undo) all = MoveToTrash(item) && all;
    else all = fs::remove_all(item, ec) != static_cast<uintmax_t>(-1) && !ec && all;
  }
  return all;
}

}  // namespace kestrin::script
