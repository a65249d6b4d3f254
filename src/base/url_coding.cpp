// Percent-coding: one encoder and one decoder behind the six script codings.
#include "base/url_coding.h"

namespace kestrin {
namespace {

bool is_unreserved(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '!': case '\'': case '(': case ')': case '*': case '-': case '.': case '_':
      return true;
    default:
      return false;
  }
}

// The value of a hex digit, -1 for any other byte.
int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string URLEncode(std::string_view s, std::string_view extra_safe, bool space_as_plus) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (is_unreserved(c) || extra_safe.find(ch) != std::string_view::npos) {
      out += ch;
    } else if (c == ' ' && space_as_plus) {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool HasPercentEscape(std::string_view s) {
  for (size_t i = 0; i + 2 < s.size(); ++i)
    if (s[i] == '%' && hex_value(s[i + 1]) >= 0 && hex_value(s[i + 2]) >= 0) return true;
  return false;
}

std::string URLDecode(std::string_view s, bool plus_as_space) {
  if (!HasPercentEscape(s)) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '%' && i + 1 < s.size() && s[i + 1] == '%') {
      out += '%';
      i += 2;
    } else if (c == '%' && i + 2 < s.size() && hex_value(s[i + 1]) >= 0 && hex_value(s[i + 2]) >= 0) {
      out += static_cast<char>(hex_value(s[i + 1]) * 16 + hex_value(s[i + 2]));
      i += 3;
    } else {
      out += c == '+' && plus_as_space ? ' ' : c;
      ++i;
    }
  }
  return out;
}

std::string EscapeString(std::string_view s) { return URLEncode(s, "", true); }
std::string UnescapeString(std::string_view s) { return URLDecode(s, true); }
std::string EncodeURI(std::string_view s) { return URLEncode(s, ";/?:@&=+,#", false); }
std::string EncodeURIComponent(std::string_view s) { return URLEncode(s, "", false); }
std::string DecodeURI(std::string_view s) { return URLDecode(s, false); }
std::string DecodeURIComponent(std::string_view s) { return URLDecode(s, false); }

}  // namespace kestrin
