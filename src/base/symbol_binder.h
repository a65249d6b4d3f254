// Typed look-ups of a run-time loaded library's functions, for the libraries the program
// opens only when first needed (OpenSSL for TLS, libffi for native calls).
#pragma once

#include <dlfcn.h>

namespace kestrin {

// Looks symbols of `library` (a dlopen handle) up into typed pointers and remembers whether
// every one was found.
class SymbolBinder {
public:
  explicit SymbolBinder(void* library) : library_(library) {}
  template <typename Pointer>
  void bind(Pointer& pointer, const char* name) {
    pointer = reinterpret_cast<Pointer>(::dlsym(library_, name));
    all_found_ = all_found_ && pointer != nullptr;
  }
  bool all_found() const { return all_found_; }

private:
  void* library_;
  bool all_found_ = true;
};

}  // namespace kestrin
