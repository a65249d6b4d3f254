// Shared libraries through dlopen and dlsym; dlclose runs with the last handle.
#include "platform/system/dynamic_library.h"

#include <dlfcn.h>

namespace kestrin::platform {

LibraryHandle LoadDynamicLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    (void)::dlerror();  // clears the loader's message: it never reaches a script
    return nullptr;
  }
  return LibraryHandle(handle, [](void* h) { ::dlclose(h); });
}

void* GetDynaProcAddress(const LibraryHandle& library, std::string_view name) {
  if (!library || name.empty()) return nullptr;
  std::string symbol(name);
  void* address = ::dlsym(library.get(), symbol.c_str());
  if (!address) {
    symbol += 'A';
    address = ::dlsym(library.get(), symbol.c_str());
  }
  (void)::dlerror();
  return address;
}

}  // namespace kestrin::platform
