// TFont: name, size and height at 96 pixels per inch, colour, style and charset.
#include "platform/classes/graphics.h"

#include "platform/classes/property_builders.h"

namespace kgui {

// MulDiv rounding: halves away from zero.
static int mulDiv(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  long long q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
  return static_cast<int>(q);
}

namespace {

// The character sets a font names, as form descriptions write them.
const IdentMap& charsetIdents() {
  static const IdentMap map{"TFontCharset",
                            {{"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2},
                             {"MAC_CHARSET", 77}, {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
                             {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134}, {"CHINESEBIG5_CHARSET", 136},
                             {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163},
                             {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186},
                             {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222}, {"EASTEUROPE_CHARSET", 238},
                             {"OEM_CHARSET", 255}}};
  return map;
}

}  // namespace

const ClassInfo& TFont::staticClassInfo() {
  static const ClassInfo info(
      "TFont", &TPersistent::staticClassInfo(),
      {[] {
         auto p = ordProp<TFont, int>("Charset", PropKind::Integer, &TFont::charset, &TFont::setCharset);
         p.ident_map = &charsetIdents();
         return p;
       }(),
       [] {
         auto p = ordProp<TFont, TColor>("Color", PropKind::Integer, &TFont::color, &TFont::setColor);
         p.ident_map = &colorIdents();
         return p;
       }(),
       ordProp<TFont, int>("Height", PropKind::Integer, &TFont::height, &TFont::setHeight),
       strProp<TFont>("Name", &TFont::name, &TFont::setName),
       ordProp<TFont, int>("Pitch", PropKind::Enumeration, &TFont::pitch, &TFont::setPitch,
                           &fontPitchType(), 0),
       [] {
         auto p = ordProp<TFont, int>("Size", PropKind::Integer, &TFont::size, &TFont::setSize);
         p.stored = [](const TPersistent&) { return false; };  // Height carries it
         return p;
       }(),
       // Written even when empty ("Font.Style = []"), as the platform's designer writes it.
       ordProp<TFont, uint32_t>("Style", PropKind::Set, &TFont::style, &TFont::setStyle, &fontStyleType())});
  return info;
}

void TFont::assign(const TPersistent& source) {
  auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) return TPersistent::assign(source);
  name_ = f->name_;
  height_ = f->height_;
  color_ = f->color_;
  style_ = f->style_;
  charset_ = f->charset_;
  pitch_ = f->pitch_;
  changed();
}

void TFont::setName(const std::string& name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  changed();
}

int TFont::size() const { return -mulDiv(height_, 72, kPixelsPerInch); }

void TFont::setSize(int points) { setHeight(-mulDiv(points, kPixelsPerInch, 72)); }

void TFont::setHeight(int height) {
  if (height == height_) return;
  height_ = height;
  changed();
}

void TFont::setColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  changed();
}

void TFont::setStyle(uint32_t style) {
  if (style == style_) return;
  style_ = style;
  changed();
}

void TFont::setCharset(int charset) {
  charset_ = charset;
  changed();
}

void TFont::setPitch(int pitch) {
  pitch_ = pitch;
  changed();
}

}  // namespace kgui
