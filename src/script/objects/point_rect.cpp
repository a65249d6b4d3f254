// Point and Rect: coordinates as published properties and the text forms, read by a
// search that skips blanks and ignores case.
#include "script/objects/point_rect.h"

#include <algorithm>
#include <string>
#include <vector>

#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Matches `word` (lower case) at s[at] without case; moves `at` past it.
bool Word(std::string_view s, size_t& at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Lower(s[at + i]) != word[i]) return false;
  at += word.size();
  return true;
}

// One or more digits at s[at]; their value, 0 when it does not fit an Integer.
bool Digits(std::string_view s, size_t& at, int32_t& value) {
  const size_t start = at;
  int64_t v = 0;
  while (at < s.size() && s[at] >= '0' && s[at] <= '9') {
    if (v <= INT32_MAX) v = v * 10 + (s[at] - '0');
    ++at;
  }
  value = v <= INT32_MAX ? static_cast<int32_t>(v) : 0;
  return at > start;
}

bool MatchAt(std::string_view s, size_t at, std::span<const std::string_view> names, std::span<int32_t> out) {
  if (!Word(s, at, "{")) return false;
  for (size_t i = 0; i < names.size(); ++i)
    if ((i > 0 && !Word(s, at, ",")) || !Word(s, at, names[i]) || !Word(s, at, ":") || !Digits(s, at, out[i]))
      return false;
  return Word(s, at, "}");
}

TJPoint& PointOf(TJObject& self) { return static_cast<TJPoint&>(self); }
TJRect& RectOf(TJObject& self) { return static_cast<TJRect&>(self); }

Value GetPX(TJObject& self) { return Value::Integer(PointOf(self).x); }
void SetPX(TJObject& self, const Value& v) { PointOf(self).x = ValueToInteger(v); }
Value GetPY(TJObject& self) { return Value::Integer(PointOf(self).y); }
void SetPY(TJObject& self, const Value& v) { PointOf(self).y = ValueToInteger(v); }
Value GetPoint(TJObject& self) { return Value::String(self.ToString(nullptr)); }
void SetPoint(TJObject& self, const Value& v) { PointOf(self).SetText(ValueToString(v).view()); }

constexpr PropDef kPointProps[] = {{"x", GetPX, SetPX}, {"y", GetPY, SetPY}, {"point", GetPoint, SetPoint}};

Value GetLeft(TJObject& self) { return Value::Integer(RectOf(self).TopLeft().x); }
void SetLeft(TJObject& self, const Value& v) { RectOf(self).TopLeft().x = ValueToInteger(v); }
Value GetTop(TJObject& self) { return Value::Integer(RectOf(self).TopLeft().y); }
void SetTop(TJObject& self, const Value& v) { RectOf(self).TopLeft().y = ValueToInteger(v); }
Value GetRight(TJObject& self) { return Value::Integer(RectOf(self).BottomRight().x); }
void SetRight(TJObject& self, const Value& v) { RectOf(self).BottomRight().x = ValueToInteger(v); }
Value GetBottom(TJObject& self) { return Value::Integer(RectOf(self).BottomRight().y); }
void SetBottom(TJObject& self, const Value& v) { RectOf(self).BottomRight().y = ValueToInteger(v); }

// Copies the members x and y of an object into the corner; null (and any other value
// that is no object) changes nothing.
void CopyCorner(TJPoint& corner, const Value& v) {
  TJObject* from = v.object();
  if (!from) return;
  const int32_t x = ValueToInteger(from->GetValue("x")), y = ValueToInteger(from->GetValue("y"));
  corner.x = x;
  corner.y = y;
}

Value GetTopLeft(TJObject& self) { return Value::Object(&RectOf(self).TopLeft()); }
void SetTopLeft(TJObject& self, const Value& v) { CopyCorner(RectOf(self).TopLeft(), v); }
Value GetBottomRight(TJObject& self) { return Value::Object(&RectOf(self).BottomRight()); }
void SetBottomRight(TJObject& self, const Value& v) { CopyCorner(RectOf(self).BottomRight(), v); }
Value GetRectText(TJObject& self) { return Value::String(self.ToString(nullptr)); }
void SetRectText(TJObject& self, const Value& v) { RectOf(self).SetText(ValueToString(v).view()); }

constexpr PropDef kRectProps[] = {{"left", GetLeft, SetLeft},          {"top", GetTop, SetTop},
                                  {"right", GetRight, SetRight},       {"bottom", GetBottom, SetBottom},
                                  {"topLeft", GetTopLeft, SetTopLeft}, {"bottomRight", GetBottomRight, SetBottomRight},
                                  {"rect", GetRectText, SetRectText}};

constexpr std::string_view kPointNames[] = {"x", "y"};
constexpr std::string_view kRectNames[] = {"left", "top", "right", "bottom"};

}  // namespace

bool ParseFieldText(std::string_view text, std::span<const std::string_view> names, std::span<int32_t> values) {
  std::string s;
  for (char c : text)
    if (c != ' ') s += c;
  std::vector<int32_t> found(names.size());
  for (size_t at = s.find('{'); at != std::string::npos; at = s.find('{', at + 1)) {
    if (!MatchAt(s, at, names, found)) continue;
    std::copy(found.begin(), found.end(), values.begin());
    return true;
  }
  return false;
}

TJPoint::TJPoint(BaseEngine* engine) : TJObject(engine), props_(*this, kPointProps) { SetObjectName("Point"); }

StrRef TJPoint::ToString(const Value*) {
  return "{x:" + std::to_string(x) + ",y:" + std::to_string(y) + "}";
}

void TJPoint::SetText(std::string_view text) {
  int32_t v[2];
  if (ParseFieldText(text, kPointNames, v)) {
    x = v[0];
    y = v[1];
  }
}

TJRect::TJRect(BaseEngine* engine)
    : TJObject(engine), top_left_(new TJPoint(engine)), bottom_right_(new TJPoint(engine)), props_(*this, kRectProps) {
  SetObjectName("Rect");
}

void TJRect::SetRect(const Bounds& r) {
  top_left_->x = r.left;
  top_left_->y = r.top;
  bottom_right_->x = r.right;
  bottom_right_->y = r.bottom;
}

TJRect::Bounds TJRect::GetRect() const { return {top_left_->x, top_left_->y, bottom_right_->x, bottom_right_->y}; }

StrRef TJRect::ToString(const Value*) {
  const Bounds b = GetRect();
  return "{left:" + std::to_string(b.left) + ",top:" + std::to_string(b.top) + ",right:" + std::to_string(b.right) +
         ",bottom:" + std::to_string(b.bottom) + "}";
}

void TJRect::SetText(std::string_view text) {
  int32_t v[4];
  if (ParseFieldText(text, kRectNames, v)) SetRect({v[0], v[1], v[2], v[3]});
}

}  // namespace kestrin::script
