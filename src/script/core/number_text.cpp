// The general double format and the number grammars of script strings.
#include "script/core/number_text.h"

#include <charconv>
#include <cmath>

namespace kestrin::script {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Writes the 15 significant digits (trailing zeros removed) and the decimal exponent of
// |d|, so that |d| ~ 0.DIGITS * 10^exp10.
void SignificantDigits(double d, std::string& digits, int& exp10) {
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(d), std::chars_format::scientific, 14);
  std::string_view t(buf, static_cast<size_t>(res.ptr - buf));  // d.ddddddddddddddde[+-]XX
  size_t e = t.find('e');
  digits.assign(1, t[0]);
  digits.append(t.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string_view ex = t.substr(e + 1);
  if (!ex.empty() && ex[0] == '+') ex.remove_prefix(1);
  int exponent = 0;
  std::from_chars(ex.data(), ex.data() + ex.size(), exponent);
  exp10 = exponent + 1;
}

}  // namespace

std::string DoubleToScriptText(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d < 0 ? "-infinity" : "infinity";
  if (d == 0) return "0";
  std::string digits;
  int exp10 = 0;
  SignificantDigits(d, digits, exp10);
  std::string out = d < 0 ? "-" : "";
  int n = static_cast<int>(digits.size());
  if (exp10 > 15 || exp10 < -3) {
    out.push_back(digits[0]);
    if (n > 1) {
      out.push_back('.');
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out.append(std::to_string(exp10 - 1));
  } else if (exp10 <= 0) {
    out.append("0.");
    out.append(static_cast<size_t>(-exp10), '0');
    out.append(digits);
  } else if (exp10 >= n) {
    out.append(digits);
    out.append(static_cast<size_t>(exp10 - n), '0');
  } else {
    out.append(digits, 0, static_cast<size_t>(exp10));
    out.push_back('.');
    out.append(digits, static_cast<size_t>(exp10), std::string::npos);
  }
  return out;
}

std::optional<double> ParseFloatText(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  while (n > i && IsBlank(s[n - 1])) --n;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  size_t start = i, mantissa_digits = 0;
  while (i < n && IsAsciiDigit(s[i])) ++i, ++mantissa_digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && IsAsciiDigit(s[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return std::nullopt;
  bool negative_exponent = false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative_exponent = s[i++] == '-';
    size_t exp_digits = 0;
    while (i < n && IsAsciiDigit(s[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  // The grammar is checked; from_chars reads the validated text without locale.
  std::string body(s.substr(start, n - start));
  if (body[0] == '.') body.insert(body.begin(), '0');
  double v = 0;
  auto res = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (!negative_exponent) return std::nullopt;
    v = 0;
  } else if (res.ec != std::errc() || res.ptr != body.data() + body.size()) {
    return std::nullopt;
  }
  if (std::isinf(v)) return std::nullopt;
  return neg ? -v : v;
}

std::optional<int32_t> ParseIntegerText(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  bool hex = false;
  if (i < n && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return std::nullopt;
  uint64_t acc = 0;
  for (; i < n; ++i) {
    int dv = hex ? HexDigit(s[i]) : (IsAsciiDigit(s[i]) ? s[i] - '0' : -1);
    if (dv < 0) return std::nullopt;
    acc = acc * (hex ? 16 : 10) + static_cast<uint64_t>(dv);
    if (acc > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    uint32_t bits = static_cast<uint32_t>(acc);
    if (neg) bits = 0u - bits;
    return static_cast<int32_t>(bits);
  }
  if (neg ? acc > 2147483648ull : acc > 2147483647ull) return std::nullopt;
  int64_t signed_value = neg ? -static_cast<int64_t>(acc) : static_cast<int64_t>(acc);
  return static_cast<int32_t>(signed_value);
}

}  // namespace kestrin::script
