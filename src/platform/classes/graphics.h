// Graphics value types shared by controls and canvases: points, rectangles, colours,
// and the TFont object with the platform's size and height rules.
#pragma once

#include <functional>
#include <string>

#include "base/colour.h"
#include "platform/classes/persistent.h"

namespace kgui {

using kestrin::TColor;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor systemColor(int index) { return static_cast<TColor>(0x80000000u + unsigned(index)); }
constexpr TColor clWindow = systemColor(5);
constexpr TColor clWindowText = systemColor(8);
constexpr TColor clBtnFace = systemColor(15);
constexpr TColor clBtnText = systemColor(18);

struct TPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const TSize&) const = default;
};

// Right and bottom are exclusive, as the platform's rectangles.
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const TRect&) const = default;
};

// Fonts measure at a fixed 96 pixels per inch, so Size and Height convert the same way
// everywhere and files round-trip: Height = -Size * 96 / 72, rounded.
constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  void assign(const TPersistent& source) override;

  std::string name() const { return name_; }
  void setName(const std::string& name);
  int size() const;
  void setSize(int points);
  int height() const { return height_; }
  void setHeight(int height);
  TColor color() const { return color_; }
  void setColor(TColor color);
  uint32_t style() const { return style_; }  // bits of TFontStyle
  void setStyle(uint32_t style);
  int charset() const { return charset_; }
  void setCharset(int charset);
  int pitch() const { return pitch_; }
  void setPitch(int pitch);

  std::function<void()> OnChange;

private:
  void changed() {
    if (OnChange) OnChange();
  }
  std::string name_ = "MS Sans Serif";
  int height_ = -11;  // 8 points
  TColor color_ = clWindowText;
  uint32_t style_ = 0;
  int charset_ = 1;  // DEFAULT_CHARSET
  int pitch_ = 0;
};

}  // namespace kgui
