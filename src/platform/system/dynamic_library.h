// Shared libraries loaded by name for declared native functions: a handle that keeps its
// library mapped while anyone holds it, and symbol look-up with the "A" suffix fallback.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kestrin::platform {

// An opaque, shared handle of a loaded library; the library is closed when the last
// holder lets go.
using LibraryHandle = std::shared_ptr<void>;

// Loads a library (UTF-8 file name) with its symbols resolved now and kept local. A name
// without "/" is searched as the dynamic loader searches ("libc.so.6"). Null on failure;
// the loader's own message is not kept, callers report the name they asked for.
LibraryHandle LoadDynamicLibrary(const std::string& name);

// The address of an exported symbol: `name`, else `name` + "A"; null when neither exists.
void* GetDynaProcAddress(const LibraryHandle& library, std::string_view name);

}  // namespace kestrin::platform
