// Script literals for recorded lines.
#include "model/macro_recorder.h"

#include <charconv>

#include "base/convert.h"

namespace kestrin {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Digits from i on; false when there are none.
bool digits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  return i > start;
}

// The number forms the lexer reads whole: digits, then optionally '.' and digits, then
// optionally 'e' or 'E', a sign and digits; for integers also "0x" and hex digits.
bool lexer_number(std::string_view s, bool integer) {
  size_t i = 0;
  if (integer && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    for (i = 2; i < s.size(); ++i)
      if (!is_hex_digit(s[i])) return false;
    return true;
  }
  if (!digits(s, i)) return false;
  if (i < s.size() && s[i] == '.' && !digits(s, ++i)) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!digits(s, i)) return false;
  }
  return i == s.size();
}

std::string shortest_text(double v) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

}  // namespace

std::string js_quote(std::string_view text) {
  if (text.find('\'') == std::string_view::npos) return "'" + std::string(text) + "'";
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string recorded_number(std::string_view typed, bool integer) {
  std::string_view s = typed;
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  if (!s.empty() && s.front() == '-') s.remove_prefix(1);
  if (lexer_number(s, integer)) return std::string(typed);
  if (integer) {
    if (auto v = TryStrToInt(typed)) return Format("%d", {*v});
  } else if (auto v = TryStrToFloat(typed)) {
    return shortest_text(*v);
  }
  return std::string(typed);
}

}  // namespace kestrin
