// Fuzz target: the percent decoder on arbitrary bytes never reads past the end, and what
// the encoders write decodes back to the text (up to its first NUL byte) whenever the
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
  const std::string plain = text.substr(0, text.find('\0'));
  // Without a %hh in it the escaped text is left as it is, blanks as "+" included.
  const std::string escaped = EscapeString(text);
  if (UnescapeString(escaped) != (HasPercentEscape(escaped) ? plain : escaped)) std::abort();
  if (DecodeURIComponent(EncodeURIComponent(text)) != plain) std::abort();
  if (DecodeURI(EncodeURI(text)) != plain) std::abort();
  return 0;
}
