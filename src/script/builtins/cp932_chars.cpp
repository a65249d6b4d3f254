// The CP932 tables, built once on first use by decoding every code through iconv.
#include "script/builtins/cp932_chars.h"

#include <unordered_map>
#include <vector>

#include "base/cp932.h"
#include "script/core/script_string.h"

namespace kestrin::script {
namespace {

// The first code point of UTF-8 text (0 for none).
uint32_t DecodeUtf8(std::string_view s) {
  if (s.empty()) return 0;
  const auto c = static_cast<unsigned char>(s[0]);
  if (c < 0x80) return c;
  const int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
  if (s.size() < static_cast<size_t>(n) + 1) return 0;
  uint32_t cp = c & (0x3F >> n);
  for (int i = 1; i <= n; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[static_cast<size_t>(i)]) & 0x3F);
  return cp;
}

struct Tables {
  std::vector<uint16_t> to_unicode = std::vector<uint16_t>(65536, 0);
  std::unordered_map<uint32_t, uint16_t> to_cp932;

  Tables() {
    for (uint32_t b = 0; b < 256; ++b)
      if (!IsLeadByte(static_cast<unsigned char>(b))) Add(b, std::string(1, static_cast<char>(b)));
    for (uint32_t lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (uint32_t trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        Add(lead * 256 + trail, std::string{static_cast<char>(lead), static_cast<char>(trail)});
      }
    }
  }

  void Add(uint32_t code, const std::string& bytes) {
    const std::string utf8 = kestrin::cp932_to_utf8(bytes);
    if (utf8.empty() || (utf8 == "?" && bytes != "?")) return;
    const uint32_t cp = DecodeUtf8(utf8);
    if (cp == 0 && code != 0) return;
    to_unicode[code] = static_cast<uint16_t>(cp);
    auto it = to_cp932.find(cp);
    if (it == to_cp932.end()) {
      to_cp932.emplace(cp, static_cast<uint16_t>(code));
      return;
    }
    // Several codes share the code point: the platform's encoder decides.
    const std::string back = kestrin::utf8_to_cp932(utf8);
    size_t size = 0;
    it->second = static_cast<uint16_t>(Cp932CodeAt(back, 0, size));
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

uint32_t Cp932ToUnicode(uint32_t code) { return code < 65536 ? TheTables().to_unicode[code] : 0; }

uint32_t UnicodeToCp932(uint32_t code_point) {
  if (code_point == 0) return 0;
  const auto& map = TheTables().to_cp932;
  auto it = map.find(code_point);
  return it == map.end() ? 0 : it->second;
}

uint32_t Cp932CodeAt(std::string_view s, size_t at, size_t& size) {
  const auto c = static_cast<unsigned char>(s[at]);
  if (IsLeadByte(c) && at + 1 < s.size()) {
    size = 2;
    return c * 256u + static_cast<unsigned char>(s[at + 1]);
  }
  size = 1;
  return c;
}

void AppendCp932(std::string& out, uint32_t code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

}  // namespace kestrin::script
