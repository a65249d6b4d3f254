// Point and Rect: positions and rectangles that the GUI wrappers hand to scripts, with
// their text forms "{x:1,y:2}" and "{left:1,top:2,right:3,bottom:4}". Scripts do not make
// them with new.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

// Reads a text form: blanks are removed, then the first "{" name ":" digits ("," name ":"
// digits)... "}" with the given names (in order, any case) is searched anywhere. Only
// unsigned decimal digits match; a group that does not fit an Integer reads 0. False, and
// `values` untouched, when there is no match.
bool ParseFieldText(std::string_view text, std::span<const std::string_view> names, std::span<int32_t> values);

class TJPoint : public TJObject {
public:
  explicit TJPoint(BaseEngine* engine);
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override;

  int32_t x = 0;
  int32_t y = 0;
  // Takes x and y from the text form; nothing changes when it does not match.
  void SetText(std::string_view text);

private:
  PropTable props_;
};

class TJRect : public TJObject {
public:
  explicit TJRect(BaseEngine* engine);
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override;

  struct Bounds {
    int32_t left, top, right, bottom;
  };
  void SetRect(const Bounds& r);
  Bounds GetRect() const;
  // The rectangle's own corner points (counted by the rectangle).
  TJPoint& TopLeft() const { return *top_left_; }
  TJPoint& BottomRight() const { return *bottom_right_; }
  void SetText(std::string_view text);

private:
  Ref<TJPoint> top_left_;
  Ref<TJPoint> bottom_right_;
  PropTable props_;
};

}  // namespace kestrin::script
