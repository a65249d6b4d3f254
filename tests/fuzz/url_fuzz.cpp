// Fuzz target: URL parsing, building and resolving, and the percent coders, on arbitrary
// bytes. A bad port may raise the conversion error; nothing else may go wrong.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/convert.h"
#include "base/url_coding.h"
#include "script/objects/net/url_info.h"

using namespace kestrin;
using namespace kestrin::script;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t cut = text.find('\n');
  const std::string base = text.substr(0, cut);
  const std::string relative = cut == std::string::npos ? std::string() : text.substr(cut + 1);
  try {
    const TUrlInfo info = ParseURL(base);
    (void)BuildURL(info);
    (void)ResolveURL(base, relative);
  } catch (const ConversionError&) {
  }
  const std::string decoded = URLDecode(text, true);
  if (URLDecode(URLEncode(text, "", false), false) != text.substr(0, text.find(std::string(1, 0)))) __builtin_trap();
  (void)EncodeURI(decoded);
  return 0;
}
