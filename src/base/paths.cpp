// Path helpers over '/'-separated names, the case-insensitive side-file lookup and the
// configuration folder.
#include "base/paths.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace kestrin {
namespace {

size_t name_start(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Position of the extension's dot within `path`, or npos.
size_t extension_start(std::string_view path) {
  const size_t dot = path.rfind('.');
  return dot == std::string_view::npos || dot < name_start(path) ? std::string_view::npos : dot;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_directory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string with_slash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string home_folder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* pw = ::getpwuid(::getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "/tmp";
}

}  // namespace

std::string folder_of(std::string_view path) { return std::string(path.substr(0, name_start(path))); }

std::string file_name_of(std::string_view path) { return std::string(path.substr(name_start(path))); }

std::string base_name_of(std::string_view path) {
  const size_t start = name_start(path);
  const size_t dot = extension_start(path);
  return std::string(path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
}

std::string extension_of(std::string_view path) {
  const size_t dot = extension_start(path);
  return dot == std::string_view::npos ? "" : std::string(path.substr(dot));
}

bool has_extension(std::string_view path, std::string_view ext) { return iequals(extension_of(path), ext); }

std::string change_extension(std::string_view path, std::string_view ext) {
  return std::string(path.substr(0, extension_start(path))) + std::string(ext);
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string to_lower_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lower(c);
  return out;
}

bool file_exists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> find_side_file(const std::string& path) {
  if (file_exists(path)) return path;
  const std::string folder = folder_of(path);
  const std::string name = file_name_of(path);
  if (name.empty()) return std::nullopt;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  std::vector<std::string> matches;
  while (const dirent* entry = ::readdir(dir)) {
    if (iequals(entry->d_name, name) && file_exists(folder + entry->d_name)) matches.push_back(folder + entry->d_name);
  }
  ::closedir(dir);
  if (matches.size() != 1) return std::nullopt;
  return matches.front();
}

std::string config_folder() {
  // XDG asks that a relative $XDG_CONFIG_HOME be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return with_slash(xdg) + "kestrin/";
  return with_slash(home_folder()) + ".config/kestrin/";
}

bool ensure_config_folder() {
  const std::string folder = config_folder();
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return is_directory(folder);
}

}  // namespace kestrin
