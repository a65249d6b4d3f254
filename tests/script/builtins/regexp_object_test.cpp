// The RegExp object's compile cache: a regular-expression literal in a loop (a fresh RegExp
// object each time) compiles once, and the cache of an engine stays bounded.
#include <gtest/gtest.h>

#include <string>

#include "script/builtins/builtins.h"
#include "script/builtins/regexp_object.h"
#include "script/core/host.h"

namespace kestrin::script {
namespace {

size_t CachedPrograms(TJHost& host) {
  auto* singleton = dynamic_cast<TJRegExpSingleton*>(host.Engine().RegExp());
  return singleton ? singleton->Cache()->size() : 0;
}

std::string RunScript(TJHost& host, const std::string& source) {
  std::string out;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { out += s; };
  host.OnStderr = [&](TJScriptHost&, const std::string& s) { out += s; };
  if (host.Compile(source)) host.Run();
  return out;
}

TEST(RegExpCache, LiteralInALoopCompilesOnce) {
  TJHost host(RegisterBuiltins);
  EXPECT_EQ(RunScript(host, "var n = 0;\n"
                      "for (var i = 0; i < 200; i++) if (/a(b+)c/.test(\"xabbc\" + i)) n++;\n"
                      "for (var j = 0; j < 200; j++) \"a-b\".replace(\"-\", \"+\");\n"
                      "print(n);"),
            "200");
  // Two patterns, each compiled once: a program per use would fill the cache.
  EXPECT_EQ(CachedPrograms(host), 2u);
}

TEST(RegExpCache, ManyPatternsKeepTheCacheBounded) {
  TJHost host(RegisterBuiltins);
  EXPECT_EQ(RunScript(host, "var n = 0;\n"
                      "for (var i = 0; i < 500; i++) if (new RegExp(\"x\" + i + \"y\").test(\"ax\" + i + \"y\")) n++;\n"
                      "print(n);"),
            "500");
  EXPECT_GT(CachedPrograms(host), 0u);
  EXPECT_LE(CachedPrograms(host), 64u);
}

}  // namespace
}  // namespace kestrin::script
