// Decimal layouts of a double with the platform's rounding: digits come from std::to_chars (which
// is locale-free and exact), and rounding to the requested digit is done here, ties away
// from zero, decided on the exact decimal expansion of the binary value.
#include "base/float_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kestrin::float_text {
namespace {

using Decimal = Digits;

// Enough digits to hold the exact expansion of any double (at most 767 significant).
constexpr int kExactPrecision = 770;

Decimal expand(double magnitude, int precision) {
  char buf[kExactPrecision + 16];
  auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision);
  std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
  const size_t e = text.find('e');
  Decimal d;
  d.digits.reserve(e);
  for (char c : text.substr(0, e))
    if (c != '.') d.digits.push_back(c);
  std::string_view exp = text.substr(e + 1);
  if (!exp.empty() && exp.front() == '+') exp.remove_prefix(1);
  std::from_chars(exp.data(), exp.data() + exp.size(), d.exponent);
  return d;
}

// Digits after the first that hold the exact expansion of `magnitude`, whose decimal
// exponent is at most `exponent`: m x 2^k (m odd) has max(0, -k) decimals.
int exact_precision(double magnitude, int exponent) {
  int binary_exponent = 0;
  auto mantissa = static_cast<uint64_t>(std::ldexp(std::frexp(magnitude, &binary_exponent), 53));
  int k = binary_exponent - 53;
  while (mantissa != 0 && (mantissa & 1) == 0) {
    mantissa >>= 1;
    ++k;
  }
  const int precision = exponent + (k < 0 ? -k : 0);
  return precision < kExactPrecision ? precision : kExactPrecision;
}

// At least `needed` leading digits of |v|, each equal to the exact (untruncated) digit.
// A short rounded expansion is exact in its first `needed` digits unless everything after
// them reads zero (a carry may have run through nines); then the exact expansion is used.
Decimal leading_digits(double magnitude, int needed) {
  Decimal d = expand(magnitude, needed + 3);
  if (d.digits.find_first_not_of('0', static_cast<size_t>(needed)) != std::string::npos) return d;
  const int exact = exact_precision(magnitude, d.exponent);
  return exact > needed + 3 ? expand(magnitude, exact) : d;
}

// Keeps the first `keep` digits of an exact expansion, rounding ties away from zero.
// keep <= 0 means every digit lies below the rounding position.
void round_to(Decimal& d, int keep) {
  if (keep <= 0) {
    const bool up = keep == 0 && d.digits[0] >= '5';
    d.exponent += up ? 1 : 0;
    d.digits = up ? "1" : "0";
    if (!up) d.exponent = 0;
    return;
  }
  const bool up = static_cast<size_t>(keep) < d.digits.size() && d.digits[keep] >= '5';
  d.digits.resize(static_cast<size_t>(keep), '0');
  if (!up) return;
  int i = keep - 1;
  while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
  if (i >= 0) {
    ++d.digits[i];
  } else {
    d.digits.insert(d.digits.begin(), '1');
    d.digits.pop_back();
    ++d.exponent;
  }
}

bool is_zero(const Decimal& d) { return d.zero(); }

Decimal round_significant(double v, int count) {
  if (v == 0) return Decimal{false, std::string(static_cast<size_t>(count), '0'), 0};
  Decimal d = leading_digits(std::fabs(v), count + 1);
  d.negative = v < 0;
  round_to(d, count);
  return d;
}

// Rounded to a multiple of 10^-decimals; digits may be shorter than the positions needed.
Decimal round_decimals(double v, int decimals) {
  if (v == 0) return Decimal{};
  Decimal d = expand(std::fabs(v), 0);
  const int keep = d.exponent + 1 + decimals;
  d = leading_digits(std::fabs(v), keep + 1 > 1 ? keep + 1 : 1);
  d.negative = v < 0;
  round_to(d, d.exponent + 1 + decimals);
  return d;
}

char digit_at(const Decimal& d, int position) { return d.at(position); }

std::string integer_part(const Decimal& d) {
  if (d.exponent < 0) return "0";
  std::string s;
  for (int p = d.exponent; p >= 0; --p) s.push_back(digit_at(d, p));
  return s;
}

std::string sign_of(const Decimal& d) { return d.negative && !is_zero(d) ? "-" : ""; }

std::string exponent_text(int e, int min_digits, bool always_sign) {
  std::string digits = std::to_string(std::abs(e));
  if (static_cast<int>(digits.size()) < min_digits)
    digits.insert(0, static_cast<size_t>(min_digits) - digits.size(), '0');
  return std::string("E") + (e < 0 ? "-" : always_sign ? "+" : "") + digits;
}

}  // namespace

char Digits::at(int position) const {
  const int index = exponent - position;
  return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
}

bool Digits::zero() const { return digits.find_first_not_of('0') == std::string::npos; }

Digits significant(double v, int count) { return round_significant(v, count < 1 ? 1 : count); }

Digits to_decimals(double v, int decimals) { return round_decimals(v, decimals); }

std::string special(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  return "";
}

std::string fixed(double v, int decimals) {
  const Decimal d = round_decimals(v, decimals);
  std::string s = sign_of(d) + integer_part(d);
  if (decimals > 0) s.push_back('.');
  for (int p = -1; p >= -decimals; --p) s.push_back(digit_at(d, p));
  return s;
}

std::string exponent(double v, int precision, int min_exponent_digits) {
  const Decimal d = round_significant(v, precision);
  std::string s = sign_of(d);
  s.push_back(d.digits[0]);
  if (precision > 1) s += "." + d.digits.substr(1);
  return s + exponent_text(d.exponent, min_exponent_digits, true);
}

std::string general(double v, int precision) {
  Decimal d = round_significant(v, precision);
  if (is_zero(d)) return "0";
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  const int e = d.exponent;
  std::string s = sign_of(d);
  if (e < -4 || e >= precision) {
    s.push_back(d.digits[0]);
    if (d.digits.size() > 1) s += "." + d.digits.substr(1);
    return s + exponent_text(e, 0, false);
  }
  s += integer_part(d);
  const int last = e - static_cast<int>(d.digits.size()) + 1;  // position of the last digit
  if (last < 0) {
    s.push_back('.');
    for (int p = -1; p >= last; --p) s.push_back(digit_at(d, p));
  }
  return s;
}

std::string number(double v, int decimals) {
  std::string s = fixed(v, decimals);
  const size_t start = s[0] == '-' ? 1 : 0;
  const size_t point = s.find('.');
  size_t end = point == std::string::npos ? s.size() : point;
  while (end > start + 3) {
    end -= 3;
    s.insert(end, 1, ',');
  }
  return s;
}

}  // namespace kestrin::float_text
