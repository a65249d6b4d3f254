// FloatToStr, StrToFloat/StrToInt and the guarded rounding helpers; none depends on the
// process locale (std::from_chars and our own digit code do all the work).
#include "base/convert.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "base/float_text.h"

namespace kestrin {
namespace {

bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_space_or_tab(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space_or_tab(s.back())) s.remove_suffix(1);
  return s;
}

// Skips a run of digits at `i`; returns how many there were.
size_t skip_digits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  return i - start;
}

// [sign] digits ["." digits] [("e"|"E") [sign] digits], with at least one mantissa digit.
bool is_decimal_real(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t mantissa = skip_digits(s, i);
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissa += skip_digits(s, i);
  }
  if (mantissa == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (skip_digits(s, i) == 0) return false;
  }
  return i == s.size();
}

// True when a syntactically valid real lies below the smallest double (rather than
// above the largest): its leading digit sits at a negative power of ten.
bool is_underflow(std::string_view s) {
  const size_t e = s.find_first_of("eE");
  std::string_view mantissa = s.substr(0, e);
  long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view text = s.substr(e + 1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (std::from_chars(text.data(), text.data() + text.size(), exponent).ec != std::errc())
      return !text.empty() && text.front() == '-';
  }
  if (exponent < -100000) return true;
  if (exponent > 100000) return false;
  const size_t point = mantissa.find('.');
  const size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return true;
  const long int_end = static_cast<long>(point == std::string_view::npos ? mantissa.size() : point);
  const long position = int_end - static_cast<long>(first) - (first > static_cast<size_t>(int_end) ? 0 : 1);
  return exponent + position < 0;
}

std::optional<double> parse_real(std::string_view text) {
  std::string_view s = trim_blanks(text);
  if (!is_decimal_real(s)) return std::nullopt;
  const bool negative = s.front() == '-';
  if (s.front() == '+' || s.front() == '-') s.remove_prefix(1);
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (!is_underflow(s)) return std::nullopt;
    v = 0;
  } else if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits up to 32 bits; as on the platform, values above $7FFFFFFF wrap to negative.
std::optional<int32_t> parse_hex(std::string_view s, bool negative) {
  if (s.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char c : s) {
    const int d = hex_digit_value(c);
    if (d < 0) return std::nullopt;
    v = v << 4 | static_cast<uint64_t>(d);
    if (v > UINT32_MAX) return std::nullopt;
  }
  const uint32_t u = static_cast<uint32_t>(v);
  return static_cast<int32_t>(negative ? 0u - u : u);
}

std::optional<int32_t> parse_int(std::string_view text) {
  std::string_view s = trim_blanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s.front() == '$') return parse_hex(s.substr(1), negative);
  if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return parse_hex(s.substr(2), negative);
  size_t i = 0;
  if (skip_digits(s, i) == 0 || i != s.size()) return std::nullopt;
  int64_t v = 0;
  for (char c : s) {
    v = v * 10 + (c - '0');
    if (v > int64_t(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

[[noreturn]] void invalid_operation() { throw ConversionError("Invalid floating point operation"); }

bool fits_int32(double v) { return v >= -2147483648.0 && v <= 2147483647.0; }

}  // namespace

std::string FloatToStr(double v) {
  const std::string s = float_text::special(v);
  return s.empty() ? float_text::general(v, 15) : s;
}

std::optional<double> TryStrToFloat(std::string_view s) { return parse_real(s); }

double StrToFloat(std::string_view s) {
  const auto v = parse_real(s);
  if (!v) throw ConversionError("'" + std::string(s) + "' is not a valid floating point value");
  return *v;
}

std::optional<int32_t> TryStrToInt(std::string_view s) { return parse_int(s); }

bool is_numeric(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return !text.empty() && !is_space_or_tab(text.back()) && !is_space_or_tab(text.front()) &&
         parse_real(text).has_value();
}

int32_t StrToInt(std::string_view s) {
  const auto v = parse_int(s);
  if (!v) throw ConversionError("'" + std::string(s) + "' is not a valid integer value");
  return *v;
}

int32_t Round(double v) {
  const double r = std::nearbyint(v);
  if (!fits_int32(r)) invalid_operation();
  return static_cast<int32_t>(r);
}

int32_t Trunc(double v) {
  const auto r = checked_int32(v);
  if (!r) invalid_operation();
  return *r;
}

int32_t TruncHalfUp(double v) { return Trunc(v + 0.5); }

std::optional<int32_t> checked_int32(double v) {
  const double t = std::trunc(v);
  if (!fits_int32(t)) return std::nullopt;
  return static_cast<int32_t>(t);
}

int32_t saturate_int32(double v) {
  if (std::isnan(v)) return 0;
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace kestrin
