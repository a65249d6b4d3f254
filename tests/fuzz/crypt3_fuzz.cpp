// Fuzz target: crypt(3) with arbitrary keys and salts (split at the first newline).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "script/builtins/crypt3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  const size_t split = s.find('\n');
  const std::string_view key = s.substr(0, split);
  const std::string_view salt = split == std::string_view::npos ? std::string_view() : s.substr(split + 1);
  kestrin::script::TCrypt3 crypt;
  const std::string result = crypt.Crypt(key, salt);
  // 13 characters, or cut at a zero byte of the salt; the salt comes back as given.
  if (result.size() > 13 || (result.size() == 13 && result[0] != (salt.empty() ? '\0' : salt[0]))) std::abort();
  if (crypt.Crypt(key, salt) != result) std::abort();  // the cached salt gives the same
  return 0;
}
