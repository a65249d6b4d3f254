// Fuzz target: the percent decoder on arbitrary bytes never reads past the end, and what
// the encoders write (every byte, NUL included) decodes back to the text whenever the
// encoded text holds an escape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/url_coding.h"

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string decoded = URLDecode(text, true);
  decoded += URLDecode(text, false);
  // Without a %hh in it the escaped text is left as it is, blanks as "+" included.
  const std::string escaped = EscapeString(text);
  if (UnescapeString(escaped) != (HasPercentEscape(escaped) ? text : escaped)) std::abort();
  if (DecodeURIComponent(EncodeURIComponent(text)) != text) std::abort();
  if (DecodeURI(EncodeURI(text)) != text) std::abort();
  return 0;
}
