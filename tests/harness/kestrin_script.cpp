// kestrin-script FILE: runs a script file through the host component (with the host
// libraries and the automation test objects) and prints what it writes, the errors as the
// host reports them, and the exit code (CR LF shown as LF).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/objects/host_libraries.h"
#include "support/automation_test_objects.h"

namespace {

void Put(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kestrin-script FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kestrin-script: cannot read %s\n", argv[1]);
    return 2;
  }
  std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  kestrin::test::RegisterAutomationTestObjects();
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins, {kestrin::script::ImportHostLibraries});
  // Libraries are looked up next to the script first.
  std::string file = argv[1];
  size_t slash = file.rfind('/');
  host.SetLibraryPath({slash == std::string::npos ? std::string(".") : file.substr(0, slash)});
  host.OnStdout = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStderr = [](kestrin::script::TJScriptHost&, const std::string& s) { Put(s); };
  host.OnStdin = [](kestrin::script::TJScriptHost&, std::string& s, bool& ok, int32_t, bool) {
    ok = static_cast<bool>(std::getline(std::cin, s));
  };
  int32_t code = 0;
  if (host.Compile(source)) code = host.Run();
  std::fflush(stdout);
  std::printf("exit code: %d\n", code);
  return 0;
}
