// Fuzz target: form text parsed, written and parsed again gives the same tree, and writing
// that tree gives the same text.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/classes/form_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (kgui::RawText raw : {kgui::RawText::Detect, kgui::RawText::Cp932}) {
    const kgui::FormParseResult first = kgui::parseFormText(text, raw);
    if (!first.ok()) continue;
    const std::string written = kgui::formatFormText(first.root);
    const kgui::FormParseResult second = kgui::parseFormText(written);
    if (!second.ok() || !(second.root == first.root)) std::abort();
    if (kgui::formatFormText(second.root) != written) std::abort();
  }
  return 0;
}
