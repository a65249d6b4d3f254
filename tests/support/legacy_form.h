// A form description as the platform's designer writes them, for the form reading tests.
#pragma once

#include <string>

namespace kestrin::testing {

// A legacy form file: a raw CP932 caption (so the file is not UTF-8), #13#10 in a caption,
// a + continuation inside Lines.Strings, a handler name, Tag = 5, a Panels collection, a
// menu named before its block, and the designer's own values (PixelsPerInch, TextHeight,
// OldCreateOrder, Left/Top of a menu, DesignSize).
std::string legacyFormText();

}  // namespace kestrin::testing
