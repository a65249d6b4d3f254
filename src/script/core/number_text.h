// Number texts of script values: the general double format and the float and integer
// text grammars, all independent of the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin::script {

// General format with 15 significant digits: rounded first, then fixed notation without
// trailing zeros when 1E-4 <= |x| < 1E15, else "d.dddE[-]n" (1E20, 1.5E-7). Negative zero
// prints "0"; infinities "infinity"/"-infinity"; NaN "NaN".
std::string DoubleToScriptText(double d);

// Float text: blanks, optional sign, digits with an optional '.' and fraction, an optional
// exponent, blanks. No "inf", "nan" or hex floats; a value beyond the double range is
// refused, one below it reads as 0.
std::optional<double> ParseFloatText(std::string_view s);

// Integer text: leading blanks, optional sign, decimal digits, or hexadecimal digits after
// "$", "x" or "0x" (at most 32 bits, read as signed). Out-of-range decimals are refused.
std::optional<int32_t> ParseIntegerText(std::string_view s);

}  // namespace kestrin::script
