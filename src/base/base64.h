// Base64 (RFC 4648 alphabet, "=" padding, no line breaks) of byte strings.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

std::string EncodeBase64(std::string_view s);
// Characters outside the alphabet (CR and LF among them) are skipped; each group of four
// characters gives up to three bytes and a "=" ends its group, so the output is never
// longer than 3/4 of the input's alphabet characters.
std::string DecodeBase64(std::string_view s);

}  // namespace kestrin
