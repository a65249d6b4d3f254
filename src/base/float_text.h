// Decimal layouts of a double as the platform writes them (fixed, exponent, general, number),
// rounded on the exact decimal expansion with ties away from zero. Internal to base/.
#pragma once

#include <string>

namespace kestrin::float_text {

// A rounded decimal expansion: |v| ~ d1.d2d3... x 10^exponent, digits "d1d2d3...".
// Positions past the stored digits read as zero.
struct Digits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
  // The digit for 10^position.
  char at(int position) const;
  bool zero() const;
};

// Exactly `count` significant digits (count >= 1), ties away from zero; zero gives
// `count` zeros with exponent 0.
Digits significant(double v, int count);
// Rounded to a multiple of 10^-decimals, ties away from zero; zero gives no digits.
Digits to_decimals(double v, int decimals);

// "NAN", "INF" or "-INF" for values that are not finite; "" otherwise.
std::string special(double v);
// "-ddd.ddd" with `decimals` digits after the point (none and no point when 0).
std::string fixed(double v, int decimals);
// "-d.dddE+ddd": `precision` significant digits, the exponent with at least
// `min_exponent_digits` digits and a sign always.
std::string exponent(double v, int precision, int min_exponent_digits);
// The shorter of fixed and exponent form with `precision` significant digits, trailing
// zeros removed; fixed when the decimal exponent lies in [-4, precision - 1].
std::string general(double v, int precision);
// Fixed with ',' between groups of three integer digits.
std::string number(double v, int decimals);

}  // namespace kestrin::float_text
