// Fuzz target: the Point and Rect text setters. A text that matches gives values whose own
// text form matches again with the same values; one that does not changes nothing.
#include <cstdlib>
#include <string>
#include <string_view>

#include "script/objects/point_rect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrin::script;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TJRect r(nullptr);
  r.SetRect({-1, -2, -3, -4});
  r.SetText(text);
  const TJRect::Bounds b = r.GetRect();
  if (b.left != -1) {
    TJRect again(nullptr);
    again.SetText(r.ToString(nullptr).view());
    const TJRect::Bounds c = again.GetRect();
    if (c.left != b.left || c.top != b.top || c.right != b.right || c.bottom != b.bottom) std::abort();
  } else if (b.top != -2 || b.right != -3 || b.bottom != -4) {
    std::abort();
  }
  TJPoint p(nullptr);
  p.SetText(text);
  TJPoint q(nullptr);
  q.SetText(p.ToString(nullptr).view());
  if (q.x != p.x || q.y != p.y) std::abort();
  return 0;
}
