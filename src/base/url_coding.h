// Percent-coding of byte strings as URLs and the script functions escape, encodeURI and
// their relatives use it.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// Copies ASCII letters and digits, ! ' ( ) * - . _ and the bytes of `extra_safe`; a blank
// becomes "+" when `space_as_plus` is set; every other byte becomes "%" and two lower-case
// hex digits. Every byte is coded, NUL included.
std::string URLEncode(std::string_view s, std::string_view extra_safe, bool space_as_plus);
// True when a "%" followed by two hex digits occurs anywhere in `s`.
bool HasPercentEscape(std::string_view s);
// Returns `s` unchanged unless it holds a percent escape. Otherwise "%%" gives "%", "%" and
// two hex digits give the byte of that pair, "+" gives a blank when `plus_as_space` is set;
// any other "%" (not followed by two hex digits) is copied as it stands.
std::string URLDecode(std::string_view s, bool plus_as_space);

// The script-visible codings over the two functions above.
std::string EscapeString(std::string_view s);         // blank as "+"
std::string UnescapeString(std::string_view s);       // "+" as blank
std::string EncodeURI(std::string_view s);            // keeps ; / ? : @ & = + , #
std::string EncodeURIComponent(std::string_view s);   // blank as %20
std::string DecodeURI(std::string_view s);            // "+" kept
std::string DecodeURIComponent(std::string_view s);   // "+" kept

}  // namespace kestrin
