// Shared libraries by name and by path: symbols with the "A" suffix fallback, missing
// libraries and symbols, and the unload when the last handle goes.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/system/dynamic_library.h"

namespace kestrin::platform {
namespace {

TEST(DynamicLibrary, LoadsByLoaderNameAndFindsSymbols) {
  LibraryHandle libc = LoadDynamicLibrary("libc.so.6");
  ASSERT_TRUE(libc);
  auto strlen_fn = reinterpret_cast<size_t (*)(const char*)>(GetDynaProcAddress(libc, "strlen"));
  ASSERT_NE(strlen_fn, nullptr);
  EXPECT_EQ(strlen_fn("four"), 4u);
  EXPECT_EQ(GetDynaProcAddress(libc, "no_such_function_here"), nullptr);
  EXPECT_EQ(GetDynaProcAddress(nullptr, "strlen"), nullptr);
}

TEST(DynamicLibrary, FallsBackToTheSuffixedName) {
  LibraryHandle lib = LoadDynamicLibrary(KESTRIN_DYNATEST);
  ASSERT_TRUE(lib);
  void* only = GetDynaProcAddress(lib, "dt_only");
  EXPECT_NE(only, nullptr);
  EXPECT_EQ(only, GetDynaProcAddress(lib, "dt_onlyA"));
}

TEST(DynamicLibrary, MissingLibrariesGiveNoHandle) {
  for (const char* name : {"kernel32.dll", "/nonexistent/libx.so", ""}) EXPECT_FALSE(LoadDynamicLibrary(name)) << name;
}

TEST(DynamicLibrary, UnloadsWhenTheLastHandleGoes) {
  int unloaded = 0;
  LibraryHandle first = LoadDynamicLibrary(KESTRIN_DYNATEST);
  ASSERT_TRUE(first);
  auto set_flag = reinterpret_cast<void (*)(int*)>(GetDynaProcAddress(first, "dt_set_unload_flag"));
  set_flag(&unloaded);
  LibraryHandle second = first;
  first.reset();
  EXPECT_EQ(unloaded, 0);
  second.reset();
  EXPECT_EQ(unloaded, 1);
}

}  // namespace
}  // namespace kestrin::platform
