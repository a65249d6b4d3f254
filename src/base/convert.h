// Number conversions with the fixed, locale-free behaviour of Kestrin's file formats:
// The platform's Format, FloatToStr, StrToFloat/StrToInt, and the rounding helpers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kestrin {

// A text that is not a number, or a value that does not fit; the message is the
// user-facing text, e.g. "'abc' is not a valid floating point value".
class ConversionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One argument of Format: integers, reals and strings.
class FormatArg {
public:
  FormatArg(int v) : v_(static_cast<int64_t>(v)) {}
  FormatArg(long v) : v_(static_cast<int64_t>(v)) {}
  FormatArg(long long v) : v_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned v) : v_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned long v) : v_(static_cast<int64_t>(v)) {}
  FormatArg(double v) : v_(v) {}
  FormatArg(float v) : v_(static_cast<double>(v)) {}
  FormatArg(const char* v) : v_(std::string(v)) {}
  FormatArg(std::string v) : v_(std::move(v)) {}
  FormatArg(std::string_view v) : v_(std::string(v)) {}
  const std::variant<int64_t, double, std::string>& value() const { return v_; }

private:
  std::variant<int64_t, double, std::string> v_;
};

// The platform's Format: %d %u %x %p %e %f %g %n %m %s with flags '-', width, '.precision' and '*'.
// "%f" alone has 2 decimals; "%e" writes d.ddddddddddddddE+ddd (precision 15 digits,
// at least three exponent digits); decimal ties of "%.Nf" round away from zero. "%p" is
// eight upper-case hex digits; "%m" is currency in the Japanese defaults: the yen sign
// (byte 0x5C) before the number, thousands separated, no decimals unless a precision is
// given. Integers serve d u x p, reals e f g n m, strings s.
// A mismatched argument kind throws ConversionError ("Format '%d' invalid or incompatible with argument").
std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args);
// The same over a list made at run time (the script functions' arguments).
std::string Format(std::string_view fmt, const std::vector<FormatArg>& args);

// The platform's FormatFloat: digit placeholders "0" and "#", "." for the decimal point, ","
// for thousands separators, "E+", "E-", "e+", "e-" for an exponent, quoted literals and up
// to three sections (positive; negative; zero) separated by ";". Ties round away from
// zero; an empty format gives FloatToStr. Throws ConversionError for a format past the
// size limit.
std::string FormatFloat(std::string_view format, double value);

// The platform's FloatToStr: 15 significant digits, general format (fixed unless the exponent is
// below -4 or at least 15), e.g. 0.1 -> "0.1", 1E20 -> "1E20", 1.5E-7 -> "1.5E-7".
std::string FloatToStr(double v);

// StrToFloat/StrToInt: surrounding blanks allowed, '.' only, no inf, nan or hex floats.
// Throw ConversionError with "'<text>' is not a valid floating point value" /
// "'<text>' is not a valid integer value".
double StrToFloat(std::string_view s);
int32_t StrToInt(std::string_view s);
std::optional<double> TryStrToFloat(std::string_view s);
std::optional<int32_t> TryStrToInt(std::string_view s);

// The run-time library's real conversion with an error position of 0: the whole text is a
// decimal real ("1e3", ".5", "+1"); leading spaces are skipped, anything after the number
// (a trailing blank included) makes it not a number.
bool is_numeric(std::string_view text);

// Round to the nearest integer, halves to even (the platform's Round). Throws ConversionError
// when the value is NaN or outside the Int32 range.
int32_t Round(double v);
// Truncation toward zero (the platform's Trunc), guarded like Round.
int32_t Trunc(double v);
// Trunc(v + 0.5): the "round half up" of the analysis code (differs from Round for
// halves and for negative values).
int32_t TruncHalfUp(double v);
// Guarded double -> Int32: nullopt for NaN or out of range, never undefined behaviour.
std::optional<int32_t> checked_int32(double v);
// Saturating double -> Int32: NaN gives 0, out of range clamps.
int32_t saturate_int32(double v);

}  // namespace kestrin
