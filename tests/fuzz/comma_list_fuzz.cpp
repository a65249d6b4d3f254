// Fuzz target: string lists' comma text. Items (the input cut at 0xFF bytes) written as
// comma text read back as the same items; any text read as comma text writes a comma text
// that reads back as the same list.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/classes/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  kgui::TStringList items, back;
  for (size_t start = 0; start <= input.size();) {
    size_t cut = input.find('\xff', start);
    if (cut == std::string_view::npos) cut = input.size();
    items.add(std::string(input.substr(start, cut - start)));
    start = cut + 1;
  }
  back.setCommaText(items.commaText());
  if (back.toVector() != items.toVector()) std::abort();
  kgui::TStringList read, reread;
  read.setCommaText(std::string(input));
  reread.setCommaText(read.commaText());
  if (reread.toVector() != read.toVector()) std::abort();
  return 0;
}
