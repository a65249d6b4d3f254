// Command lines split as the platform's, and detached starts that report whether the
// program ran: a missing program or folder is false, never a started child that fails.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/system/program_start.h"

namespace kestrin::platform {
namespace {

TEST(ProgramStart, CommandLinesSplitAtBlanksOutsideQuotes) {
  const struct {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"a b  c", {"a", "b", "c"}},
      {"/bin/sh -c \"echo hi > x\"", {"/bin/sh", "-c", "echo hi > x"}},
      {"\"a b\"c d", {"a bc", "d"}},
      {"\"\" x", {"", "x"}},
      {"\ta\t", {"a"}},
      {"", {}},
      {"\"unclosed quote", {"unclosed quote"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(ProgramStart, StartsDetachedAndReportsFailures) {
  char tmpl[] = "/tmp/kestrin-start-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  EXPECT_NE(FindProgram("sh"), "");
  EXPECT_EQ(FindProgram("no-such-program-here"), "");
  EXPECT_EQ(FindProgram(dir), "");  // a folder is no program
  ASSERT_TRUE(StartDetached({"sh", "-c", "pwd > made.txt"}, dir));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!std::filesystem::exists(dir + "/made.txt") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(std::filesystem::exists(dir + "/made.txt"));
  EXPECT_FALSE(StartDetached({"/no/such/program"}));
  EXPECT_FALSE(StartDetached({"sh", "-c", "true"}, dir + "/missing"));
  EXPECT_FALSE(StartDetached({}));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kestrin::platform
