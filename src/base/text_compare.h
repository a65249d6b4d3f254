// Comparison functions for names and lines that lists, INI files and the registry store
// take from their owner, so script objects can install the engine's name order.
#pragma once

#include <string_view>

namespace kestrin {

// < 0, 0 or > 0 as a sorts before, with or after b.
using TextCompare = int (*)(std::string_view a, std::string_view b);

// Byte order with ASCII capitals folded to lower case at character starts of CP932 text:
// the trail byte of a two-byte character (0x41 in 83 41, "ア") is never folded.
int compare_text_cp932(std::string_view a, std::string_view b);

}  // namespace kestrin
