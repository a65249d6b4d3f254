// Fuzz target: both comma splitters on one line; a split never yields more cells than the
// line has commas plus one, nor more bytes than the line.
#include <cstdlib>
#include <string_view>

#include "base/comma_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  size_t commas = 0;
  for (char c : line) commas += c == ',';
  for (const auto& cells : {kestrin::split_commas(line), kestrin::split_comma_text(line)}) {
    size_t bytes = 0;
    for (const auto& cell : cells) bytes += cell.size();
    if (bytes > size) std::abort();
  }
  if (kestrin::split_commas(line).size() > commas + 1 + size) std::abort();
  return 0;
}
