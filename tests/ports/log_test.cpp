// The log keeps lines logged before a listener attaches and bounds what it holds.
#include <gtest/gtest.h>

#include "ports/ports.h"

namespace kestrin {
namespace {

TEST(Log, HeldLinesReachTheFirstListenerInOrderThenLiveLinesFollow) {
  Log log;
  log.add("a");
  log.add("");
  std::vector<std::string> got;
  log.set_listener([&](const std::string& l) { got.push_back(l); });
  log.add("b");
  EXPECT_EQ(got, (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(log.history().size(), 3u);
}

TEST(Log, HistoryKeepsOnlyTheNewestLines) {
  Log log;
  for (size_t i = 0; i <= Log::kHistoryLimit; ++i) log.add(std::to_string(i));
  EXPECT_LE(log.history().size(), Log::kHistoryLimit);
  EXPECT_NE(log.history().front(), "0");
  EXPECT_EQ(log.history().back(), std::to_string(Log::kHistoryLimit));
}

TEST(Log, HeldLinesKeepOnlyTheNewest) {
  Log log;
  for (size_t i = 0; i <= Log::kHistoryLimit; ++i) log.add(std::to_string(i));
  std::vector<std::string> got;
  log.set_listener([&](const std::string& l) { got.push_back(l); });
  ASSERT_FALSE(got.empty());
  EXPECT_LE(got.size(), Log::kHistoryLimit);
  EXPECT_NE(got.front(), "0");
  EXPECT_EQ(got.back(), std::to_string(Log::kHistoryLimit));
}

}  // namespace
}  // namespace kestrin
