// The registry store: its file format, the cached reads and the locked, atomic changes.
#include "platform/system/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "base/cp932.h"
#include "base/paths.h"
#include "base/text_file.h"

namespace kestrin::platform {
namespace {

constexpr std::string_view kBanner = "; Kestrin registry: HKEY_CURRENT_USER";
constexpr std::string_view kEscaped = "%\r\n\\=[];";
constexpr char kHex[] = "0123456789ABCDEF";

// A two-byte character at s[i]: a lead byte and a byte of the trail range after it. Only
// "[", "\" and "]" of the escaped bytes can be trail bytes; they stay as they are there.
bool PairAt(std::string_view s, size_t i) {
  if (i + 1 >= s.size() || !is_cp932_lead(static_cast<unsigned char>(s[i]))) return false;
  const auto t = static_cast<unsigned char>(s[i + 1]);
  return t >= 0x40 && t <= 0xFC && t != 0x7F;
}

// The escaped bytes, and a lead byte without its trail, become "%" and two hex digits.
std::string Escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (PairAt(s, i)) {
      out.append(s.substr(i++, 2));
      continue;
    }
    const auto b = static_cast<unsigned char>(s[i]);
    if (kEscaped.find(s[i]) == std::string_view::npos && !is_cp932_lead(b)) {
      out += s[i];
      continue;
    }
    out += '%';
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "%" and two hex digits give their byte; any other "%" stands for itself.
std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    int hi, lo;
    if (s[i] == '%' && i + 2 < s.size() && (hi = HexDigit(s[i + 1])) >= 0 && (lo = HexDigit(s[i + 2])) >= 0) {
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::string JoinPath(const std::vector<std::string>& names, size_t count) {
  std::string out;
  for (size_t i = 0; i < count && i < names.size(); ++i) {
    if (i > 0) out += '\\';
    out += names[i];
  }
  return out;
}

std::string NormalPath(std::string_view path) {
  const std::vector<std::string> names = SplitKeyPath(UpToNul(path));
  return JoinPath(names, names.size());
}

bool StatFile(const std::string& file, struct stat& st) { return ::stat(file.c_str(), &st) == 0; }

}  // namespace

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  std::string name;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c == '\\') {
      if (!name.empty()) names.push_back(std::move(name));
      name.clear();
      continue;
    }
    name += path[i];
    if (is_cp932_lead(c) && i + 1 < path.size()) name += path[++i];
  }
  if (!name.empty()) names.push_back(std::move(name));
  return names;
}

std::string RegistryText(const std::vector<RegistryKey>& keys) {
  std::string out;
  put_line(out, kBanner);
  for (const RegistryKey& key : keys) {
    std::string header = "[";
    const std::vector<std::string> names = SplitKeyPath(key.path);
    for (size_t i = 0; i < names.size(); ++i) header += (i > 0 ? "\\" : "") + Escape(names[i]);
    put_line(out, header + "]");
    for (const auto& [name, value] : key.values) put_line(out, Escape(name) + "=" + Escape(value));
  }
  return out;
}

std::vector<RegistryKey> ParseRegistryText(std::string_view text) {
  std::vector<RegistryKey> keys;
  for (const std::string& line : split_lines(text)) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      // A "\" that is no trail byte separates (escaped names hold no other).
      std::string path;
      const std::string_view inner = std::string_view(line).substr(1, line.size() - 2);
      size_t start = 0;
      for (size_t i = 0; i <= inner.size(); ++i) {
        if (i < inner.size() && PairAt(inner, i)) {
          ++i;
          continue;
        }
        if (i < inner.size() && inner[i] != '\\') continue;
        const std::string name(UpToNul(Unescape(inner.substr(start, i - start))));
        if (!name.empty()) path += (path.empty() ? "" : "\\") + name;
        start = i + 1;
      }
      keys.push_back(RegistryKey{path, {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (keys.empty() || line.empty() || line[0] == ';' || eq == std::string::npos) continue;
    std::string name(UpToNul(Unescape(std::string_view(line).substr(0, eq))));
    std::string value(UpToNul(Unescape(std::string_view(line).substr(eq + 1))));
    auto& values = keys.back().values;
    auto same = std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == name; });
    if (same != values.end()) same->second = std::move(value);
    else values.emplace_back(std::move(name), std::move(value));
  }
  return keys;
}

std::string RegistryStore::DefaultFile() { return config_folder() + "registry/HKEY_CURRENT_USER.reg"; }

RegistryStore::RegistryStore(std::string file, TextCompare compare)
    : file_(std::move(file)), compare_(compare ? compare : compare_text_cp932) {}

RegistryStore::~RegistryStore() {
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

bool RegistryStore::Open(std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(folder_of(file_)), ec);
  if (lock_fd_ < 0) lock_fd_ = ::open((file_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock_fd_ < 0) {
    if (error) *error = "Cannot create '" + file_ + ".lock': " + std::strerror(errno);
    return false;
  }
  if (!Read(keys_)) {
    if (error) *error = "Cannot read '" + file_ + "'";
    return false;
  }
  return true;
}

bool RegistryStore::Read(std::vector<RegistryKey>& keys) {
  struct stat st;
  if (!StatFile(file_, st)) {
    if (errno != ENOENT) return false;
    keys.clear();
    ino_ = 0;
    size_ = -1;
    loaded_ = true;
    return true;
  }
  if (loaded_ && st.st_ino == ino_ && st.st_size == size_ && st.st_mtim.tv_sec == mtime_.tv_sec &&
      st.st_mtim.tv_nsec == mtime_.tv_nsec) {
    if (&keys != &keys_) keys = keys_;
    return true;
  }
  std::string text;
  if (!read_file_bytes(file_, text, nullptr, kMaxRegistryFileBytes + 1) || text.size() > kMaxRegistryFileBytes)
    return false;
  keys = ParseRegistryText(text);
  if (&keys != &keys_) keys_ = keys;
  ino_ = st.st_ino;
  size_ = st.st_size;
  mtime_ = st.st_mtim;
  loaded_ = true;
  return true;
}

const std::vector<RegistryKey>& RegistryStore::Current() {
  if (!Read(keys_)) keys_.clear();
  return keys_;
}

bool RegistryStore::Change(const Edit& edit) {
  if (lock_fd_ < 0 && !Open()) return false;
  // flock has no timed wait: poll, so that a hung process cannot hang this one.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRegistryLockMs);
  while (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  struct Unlock {
    int fd;
    ~Unlock() { ::flock(fd, LOCK_UN); }
  } unlock{lock_fd_};
  loaded_ = false;  // another process may have written within the file's time resolution
  std::vector<RegistryKey> keys;
  if (!Read(keys)) return false;
  if (!edit(keys)) return true;
  if (!write_file_bytes(file_, RegistryText(keys))) return false;
  loaded_ = false;
  return Read(keys_);
}

bool RegistryStore::SamePath(std::string_view a, std::string_view b) const { return compare_(a, b) == 0; }

bool RegistryStore::Below(std::string_view path, std::string_view parent, std::vector<std::string>* rest) const {
  const std::vector<std::string> p = SplitKeyPath(path), q = SplitKeyPath(parent);
  if (p.size() < q.size()) return false;
  for (size_t i = 0; i < q.size(); ++i)
    if (compare_(p[i], q[i]) != 0) return false;
  if (rest) rest->assign(p.begin() + static_cast<std::ptrdiff_t>(q.size()), p.end());
  return true;
}

bool RegistryStore::KeyExists(std::string_view path) {
  for (const RegistryKey& k : Current())
    if (Below(k.path, path)) return true;
  return false;
}

bool RegistryStore::CreateKey(std::string_view path) {
  const std::string normal = NormalPath(path);
  return Change([&](std::vector<RegistryKey>& keys) { return AddKey(keys, normal) != nullptr && added_; });
}

RegistryKey* RegistryStore::AddKey(std::vector<RegistryKey>& keys, const std::string& normal) {
  const std::vector<std::string> names = SplitKeyPath(normal);
  added_ = false;
  RegistryKey* found = nullptr;
  // The key and every key above it (the root only when it is the key itself).
  for (size_t n = names.empty() ? 0 : 1; n <= names.size(); ++n) {
    const std::string prefix = JoinPath(names, n);
    auto it = std::find_if(keys.begin(), keys.end(), [&](const RegistryKey& k) { return SamePath(k.path, prefix); });
    if (it == keys.end()) {
      keys.push_back(RegistryKey{prefix, {}});
      added_ = true;
      it = keys.end() - 1;
    }
    found = &*it;
  }
  return found;
}

bool RegistryStore::DeleteKey(std::string_view path) {
  const std::string normal = NormalPath(path);
  return Change([&](std::vector<RegistryKey>& keys) {
    return std::erase_if(keys, [&](const RegistryKey& k) { return Below(k.path, normal); }) > 0;
  });
}

std::vector<std::string> RegistryStore::SubKeyNames(std::string_view path) {
  std::vector<std::string> names;
  for (const RegistryKey& k : Current()) {
    std::vector<std::string> rest;
    if (!Below(k.path, path, &rest) || rest.empty()) continue;
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return compare_(n, rest[0]) == 0; }))
      names.push_back(rest[0]);
  }
  std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return compare_(a, b) < 0; });
  return names;
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view path) {
  std::vector<std::string> names;
  for (const RegistryKey& k : Current())
    if (SamePath(k.path, NormalPath(path)))
      for (const auto& v : k.values) names.push_back(v.first);
  return names;
}

bool RegistryStore::ReadValue(std::string_view path, std::string_view name, std::string& value) {
  const std::string normal = NormalPath(path);
  const std::string_view n = UpToNul(name);
  for (const RegistryKey& k : Current()) {
    if (!SamePath(k.path, normal)) continue;
    for (const auto& v : k.values)
      if (SamePath(v.first, n)) {
        value = v.second;
        return true;
      }
  }
  return false;
}

bool RegistryStore::WriteValue(std::string_view path, std::string_view name, std::string_view value) {
  const std::string normal = NormalPath(path);
  const std::string n(UpToNul(name)), v(UpToNul(value));
  return Change([&](std::vector<RegistryKey>& keys) {
    RegistryKey& key = *AddKey(keys, normal);
    for (auto& entry : key.values)
      if (SamePath(entry.first, n)) {
        const bool changed = entry.second != v || added_;
        entry.second = v;
        return changed;
      }
    key.values.emplace_back(n, v);
    return true;
  });
}

bool RegistryStore::DeleteValue(std::string_view path, std::string_view name) {
  const std::string normal = NormalPath(path);
  const std::string_view n = UpToNul(name);
  return Change([&](std::vector<RegistryKey>& keys) {
    bool removed = false;
    for (RegistryKey& k : keys)
      if (SamePath(k.path, normal))
        removed = std::erase_if(k.values, [&](const auto& v) { return SamePath(v.first, n); }) > 0 || removed;
    return removed;
  });
}

}  // namespace kestrin::platform
