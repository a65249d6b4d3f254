// Point and Rect: the text forms read by the search for their pattern, the corners shared
// with the rectangle, and the rectangle as the GUI wrappers set and get it.
#include <gtest/gtest.h>

#include <array>

#include "script/objects/point_rect.h"

namespace kestrin::script {
namespace {

TEST(PointRect, PointTextForms) {
  const struct {
    const char* text;
    bool matches;
    int32_t x, y;
  } cases[] = {
      {"{x:3,y:4}", true, 3, 4},
      {" { x : 3 , y : 4 } ", true, 3, 4},
      {"{X:3,Y:4}", true, 3, 4},
      {"point {x:12,y:0} and {x:1,y:1}", true, 12, 0},
      {"{x:-3,y:4}", false, 0, 0},
      {"{x:3,y:4", false, 0, 0},
      {"{x:+3,y:4}", false, 0, 0},
      {"{x:3.5,y:4}", false, 0, 0},
      {"{x:,y:4}", false, 0, 0},
      {"{x:99999999999,y:007}", true, 0, 7},
      {"{x:-1,y:1}{x:5,y:6}", true, 5, 6},
      {"", false, 0, 0},
      {"{x:1\t,y:2}", false, 0, 0},
  };
  for (const auto& c : cases) {
    TJPoint p(nullptr);
    p.x = p.y = 0;
    p.SetText(c.text);
    EXPECT_EQ(p.x, c.x) << c.text;
    EXPECT_EQ(p.y, c.y) << c.text;
    std::array<int32_t, 2> v{-1, -1};
    constexpr std::string_view names[] = {"x", "y"};
    EXPECT_EQ(ParseFieldText(c.text, names, v), c.matches) << c.text;
  }
}

TEST(PointRect, RectTextFormsAndCorners) {
  TJRect r(nullptr);
  EXPECT_EQ(r.ToString(nullptr).str(), "{left:0,top:0,right:0,bottom:0}");
  r.SetText("{LEFT: 1, Top:2 ,right:3,bottom:4}");
  EXPECT_EQ(r.ToString(nullptr).str(), "{left:1,top:2,right:3,bottom:4}");
  r.SetText("{left:1,top:2,right:-3,bottom:4}");  // a negative coordinate matches nothing
  EXPECT_EQ(r.GetRect().right, 3);
  r.SetText("{left:1,top:2,right:3}");
  EXPECT_EQ(r.GetRect().bottom, 4);
  // The corners are the rectangle's own points.
  r.TopLeft().x = 10;
  EXPECT_EQ(r.GetRect().left, 10);
  r.SetRect({-5, -6, 7, 8});
  EXPECT_EQ(r.TopLeft().y, -6);
  EXPECT_EQ(r.ToString(nullptr).str(), "{left:-5,top:-6,right:7,bottom:8}");
  const TJRect::Bounds b = r.GetRect();
  EXPECT_EQ(b.left + b.top + b.right + b.bottom, 4);
}

}  // namespace
}  // namespace kestrin::script
