// Addresses, wildcards, names and small string functions of the network library.
#include "script/objects/net/net_utils.h"

#include <arpa/inet.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <random>
#include <vector>

#include "base/convert.h"
#include "base/paths.h"
#include "platform/net/posix_socket.h"
#include "platform/net/resolver.h"
#include "script/core/script_string.h"
#include "script/objects/net/socket_errors.h"

namespace kestrin::script {
namespace {

// A character of a CP932 text as one number: a byte, or lead * 256 + trail.
std::vector<unsigned> characters(std::string_view s, bool fold_case) {
  std::vector<unsigned> out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(c) && i + 1 < s.size()) {
      out.push_back(c * 256u + static_cast<unsigned char>(s[++i]));
    } else {
      if (fold_case && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
      out.push_back(c);
    }
  }
  return out;
}

std::mt19937& random_engine() {
  static std::mt19937 engine(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
  return engine;
}

}  // namespace

uint32_t ResolveAddress(const std::string& host, int* error) {
  if (host.empty()) {
    if (error) *error = net::WSAHOST_NOT_FOUND;
    return kNoAddress;
  }
  const net::Resolution r = net::ResolveHostName(host);
  if (error) *error = r.error;
  return r.ok() ? r.address : kNoAddress;
}

std::string AddressToText(uint32_t address) { return net::DottedAddress(address); }

std::string GetSocketLocalAddress(int sock) {
  net::SocketAddress local;
  return net::LocalAddressOf(sock, local) == 0 ? AddressToText(local.address) : "0.0.0.0";
}

uint32_t GetLocalHostAddress() {
  const uint32_t address = ResolveAddress(net::LocalHostName());
  return address == kNoAddress ? htonl(INADDR_LOOPBACK) : address;
}

// Greedy matching with one remembered star: linear in practice, at most length(name) *
// length(mask) steps for any input.
bool MatchWildcard(std::string_view name, std::string_view mask, bool ignore_case) {
  const std::vector<unsigned> n = characters(name, ignore_case), m = characters(mask, ignore_case);
  size_t i = 0, j = 0, star = SIZE_MAX, resume = 0;
  while (i < n.size()) {
    if (j < m.size() && m[j] == '*') {
      star = j++;
      resume = i;
    } else if (j < m.size() && (m[j] == '?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (star != SIZE_MAX) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == '*') ++j;
  return j == m.size();
}

std::string RandomString(int length) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  std::uniform_int_distribution<int> pick(0, 51);
  std::string out;
  for (int i = 0; i < length; ++i) out += kLetters[pick(random_engine())];
  return out;
}

std::string NextNumberedName(const std::string& file_name) {
  const std::string ext = extension_of(file_name);
  const std::string stem = file_name.substr(0, file_name.size() - ext.size());
  const size_t base_start = folder_of(stem).size();
  const size_t underscore = stem.rfind('_');
  if (underscore != std::string::npos && underscore >= base_start) {
    const std::string digits = stem.substr(underscore + 1);
    const bool numeric = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    if (numeric) {
      if (auto n = TryStrToInt(digits)) {
        std::string next = std::to_string(static_cast<int64_t>(*n) + 1);
        if (next.size() < 3) next.insert(0, 3 - next.size(), '0');
        return stem.substr(0, underscore) + "_" + next + ext;
      }
    }
  }
  return stem + "_000" + ext;
}

std::string ControlCharsToBlanks(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return out;
}

std::string RemoveCommas(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ',') out += c;
  return out;
}

std::string Dequote(std::string_view s, char quote) {
  if (s.empty() || s[0] != quote) return std::string(s);
  std::string out;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] != quote) {
      out += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == quote) {
      out += quote;
      ++i;
    } else {
      break;
    }
  }
  return out;
}

std::string IncludeTrailingSeparator(std::string_view path, int mode) {
  std::string out(path);
  if (out.empty()) return mode == 1 ? out : "/";
  const char separator = out.find('/') != std::string::npos ? '/' : '\\';
  if (out.back() != separator) out += separator;
  return out;
}

std::string MakeTempFileName(std::string_view prefix) {
  std::error_code ec;
  std::string folder = std::filesystem::temp_directory_path(ec).string();
  if (ec || folder.empty()) folder = "/tmp";
  std::string name = folder + "/" + std::string(prefix.substr(0, 3)) + "XXXXXX.tmp";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) return std::string();
  ::close(fd);
  return name;
}

uint16_t PortFromText(const std::string& text, uint16_t fallback) {
  const auto n = TryStrToInt(text);
  if (!n) return fallback;
  if (*n < 0 || *n > 65535) throw ELocalError("invalid port " + text);
  return static_cast<uint16_t>(*n);
}

std::string TrimText(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace kestrin::script
