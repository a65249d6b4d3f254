// Shared helpers of the parser tests: parse a source and dump the result or the error.
#pragma once

#include <string>
#include <string_view>

#include "script/core/parser.h"

namespace kestrin::script::test {

// The module's statements as S-expressions, "<none>" when nothing parsed, or
// "error <line>: <message>" for a syntax error and "<name>: <message>" for another script error.
std::string ParseToText(TJParser& parser, std::string_view source, bool with_lines = false);
std::string ParseToText(std::string_view source, bool with_lines = false);

}  // namespace kestrin::script::test
