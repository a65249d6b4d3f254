// The handle tables: one number per object, both ways, released numbers not given again
// until the numbering wraps, and the constraints' limits kept consistent.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/classes/handles.h"
#include "platform/classes/size_constraints.h"

namespace kgui {
namespace {

TEST(HandleTable, GivesOneNumberPerObjectAndFindsTheObjectByIt) {
  HandleTable table(0x10010, 4);
  int a = 0, b = 0;
  EXPECT_EQ(table.find(&a), 0u);
  const uint32_t ha = table.handleOf(&a), hb = table.handleOf(&b);
  EXPECT_EQ(ha, 0x10010u);
  EXPECT_EQ(hb, 0x10014u);
  EXPECT_EQ(table.handleOf(&a), ha);
  EXPECT_EQ(table.object(ha), &a);
  EXPECT_EQ(table.object(hb), &b);
  EXPECT_EQ(table.object(0), nullptr);
  EXPECT_EQ(table.object(0x10012), nullptr);
  EXPECT_EQ(table.handleOf(nullptr), 0u);
  table.release(&a);
  EXPECT_EQ(table.object(ha), nullptr);
  EXPECT_EQ(table.find(&a), 0u);
  // A released object asking again gets a new number: a stale one names nothing.
  EXPECT_EQ(table.handleOf(&a), 0x10018u);
  table.release(&b);
  table.release(&b);  // twice is harmless
  EXPECT_EQ(table.size(), 1u);
}

TEST(HandleTable, WrapsPastTheLastNumberWithoutZero) {
  HandleTable table(UINT32_MAX - 1, 1);
  int a = 0, b = 0, c = 0;
  EXPECT_EQ(table.handleOf(&a), UINT32_MAX - 1);
  EXPECT_EQ(table.handleOf(&b), UINT32_MAX);
  // Past the top the numbering starts again from 1, never 0.
  const uint32_t hc = table.handleOf(&c);
  EXPECT_EQ(hc, 1u);
  EXPECT_EQ(table.object(hc), &c);
  HandleTable windows(0x10010, 4);
  EXPECT_EQ(windows.handleOf(&a), 0x10010u);
}

TEST(SizeConstraints, LimitsStayConsistentAndClampTheSize) {
  struct Case {
    const char* what;
    int min_w, max_w, w, expected_w, expected_min, expected_max;
  };
  const Case cases[] = {
      {"no limits", 0, 0, 500, 500, 0, 0},
      {"below the minimum", 100, 0, 50, 100, 100, 0},
      {"above the maximum", 0, 200, 300, 200, 0, 200},
      {"a maximum below the minimum lowers the minimum", 150, 100, 300, 100, 100, 100},
      {"negative limits are no limits", -5, -5, 7, 7, 0, 0},
  };
  for (const Case& c : cases) {
    TSizeConstraints s;
    s.setMinWidth(c.min_w);
    s.setMaxWidth(c.max_w);
    int w = c.w, h = 10;
    s.constrain(w, h);
    EXPECT_EQ(w, c.expected_w) << c.what;
    EXPECT_EQ(s.minWidth(), c.expected_min) << c.what;
    EXPECT_EQ(s.maxWidth(), c.expected_max) << c.what;
    EXPECT_EQ(h, 10) << c.what;
  }
  TSizeConstraints s;
  s.setMaxHeight(50);
  s.setMinHeight(80);  // a minimum above the maximum raises the maximum
  EXPECT_EQ(s.maxHeight(), 80);
  int changes = 0;
  s.OnChange = [&] { ++changes; };
  TSizeConstraints copy;
  copy.setMinWidth(3);
  s.assign(copy);
  EXPECT_EQ(s.minWidth(), 3);
  EXPECT_EQ(s.maxHeight(), 0);
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace kgui
