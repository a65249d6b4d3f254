// The window-message table: sends reach the registered target at once, posts wait for the
// next delivery, unknown and unregistered handles answer as invalid window handles do.
#include <gtest/gtest.h>

#include <vector>

#include "platform/system/window_messages.h"

namespace kestrin::platform {
namespace {

struct RecordingWindow : WindowMessageTarget {
  struct Call {
    uint32_t msg;
    WParam wparam;
    LParam lparam;
  };
  LResult Message(uint32_t msg, WParam wparam, LParam lparam) override {
    calls.push_back({msg, wparam, lparam});
    return static_cast<LResult>(msg) * 100 + lparam;
  }
  std::vector<Call> calls;
};

TEST(WindowMessages, SendsReachTheTargetAndUnknownHandlesGiveZero) {
  RecordingWindow window;
  WindowHandle h = RegisterWindow(window);
  EXPECT_NE(h, 0);
  EXPECT_EQ(SendWindowMessage(h, kWmGetTextLength, 1, 2), 1402);
  ASSERT_EQ(window.calls.size(), 1u);
  EXPECT_EQ(window.calls[0].wparam, 1u);
  UnregisterWindow(h);
  EXPECT_EQ(SendWindowMessage(h, kWmClose, 0, 0), 0);
  EXPECT_FALSE(PostWindowMessage(h, kWmClose, 0, 0));
  EXPECT_EQ(window.calls.size(), 1u);
}

TEST(WindowMessages, PostsWaitForDeliveryInOrder) {
  RecordingWindow a, b;
  WindowHandle ha = RegisterWindow(a), hb = RegisterWindow(b);
  EXPECT_NE(ha, hb);
  EXPECT_TRUE(PostWindowMessage(ha, kWmSetText, 0, 1));
  EXPECT_TRUE(PostWindowMessage(hb, kWmClose, 0, 2));
  EXPECT_TRUE(PostWindowMessage(ha, kWmClose, 0, 3));
  EXPECT_TRUE(a.calls.empty());
  EXPECT_TRUE(HasPostedMessages());
  // A window gone before delivery gets nothing.
  UnregisterWindow(hb);
  EXPECT_EQ(DeliverPostedMessages(), 2);
  ASSERT_EQ(a.calls.size(), 2u);
  EXPECT_EQ(a.calls[0].lparam, 1);
  EXPECT_EQ(a.calls[1].msg, kWmClose);
  EXPECT_TRUE(b.calls.empty());
  EXPECT_FALSE(HasPostedMessages());
  UnregisterWindow(ha);
}

}  // namespace
}  // namespace kestrin::platform
