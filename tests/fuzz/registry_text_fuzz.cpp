// Fuzz target: the registry store's file text. What the reader makes of any text is written
// and read back unchanged.
#include <cstdlib>
#include <string_view>

#include "platform/system/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kestrin::platform::ParseRegistryText;
  using kestrin::platform::RegistryText;
  const auto keys = ParseRegistryText(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto back = ParseRegistryText(RegistryText(keys));
  if (back.size() != keys.size()) std::abort();
  for (size_t i = 0; i < keys.size(); ++i)
    if (back[i].path != keys[i].path || back[i].values != keys[i].values) std::abort();
  return 0;
}
