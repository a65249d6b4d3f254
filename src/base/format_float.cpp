// The platform's FormatFloat: a picture of digit placeholders, point, thousands separators,
// exponent and quoted literals, in up to three sections, laid out over digits rounded by
// float_text (ties away from zero).
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/float_text.h"

namespace kestrin {
namespace {

// Longest picture accepted; longer ones are refused rather than laid out.
constexpr size_t kMaxPictureSize = 4096;
// The platform formats extended values: at most 18 significant digits, then zeros.
constexpr int kMaxSignificant = 18;
// Fixed layout of values from 1E18 on is replaced by the general format.
constexpr int kMaxFixedExponent = 18;

// One picture element, in order.
struct Item {
  enum Kind { Literal, Digit, Point, Exponent };
  explicit Item(Kind k) : kind(k) {}
  Kind kind;
  std::string text;     // Literal: its text
  bool zero = false;    // Digit: '0' (always shown) rather than '#'
  bool plus = false;    // Exponent: "E+" shows the sign of positive exponents too
  char letter = 'E';    // Exponent: its letter
  int min_digits = 0;   // Exponent: the '0's after it (at most 4)
};

// A parsed section: the items and what they count.
struct FloatPicture {
  std::vector<Item> items;
  int int_places = 0;      // digit placeholders before the point
  int frac_places = 0;     // digit placeholders after the point
  int first_zero = -1;     // integer placeholder index (from the left) of the first '0'
  int last_zero = -1;      // fraction placeholder index of the last '0'
  bool thousands = false;
  bool scientific = false;
  bool has_point = false;
};

// Splits the format at ';' outside quotes.
std::vector<std::string_view> Sections(std::string_view format) {
  std::vector<std::string_view> out;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      out.push_back(format.substr(start, i - start));
      start = i + 1;
    }
  }
  out.push_back(format.substr(start));
  return out;
}

void AddLiteral(FloatPicture& p, std::string_view text) {
  if (!p.items.empty() && p.items.back().kind == Item::Literal) {
    p.items.back().text.append(text);
  } else {
    Item item(Item::Literal);
    item.text = text;
    p.items.push_back(std::move(item));
  }
}

// Reads one section. Placeholders after the exponent count as literals.
FloatPicture Parse(std::string_view s) {
  FloatPicture p;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\'' || c == '"') {
      const size_t end = s.find(c, i + 1);
      const size_t stop = end == std::string_view::npos ? s.size() : end;
      AddLiteral(p, s.substr(i + 1, stop - i - 1));
      i = stop;
    } else if ((c == '0' || c == '#') && !p.scientific) {
      Item item(Item::Digit);
      item.zero = c == '0';
      if (p.has_point) {
        if (item.zero) p.last_zero = p.frac_places;
        ++p.frac_places;
      } else {
        if (item.zero && p.first_zero < 0) p.first_zero = p.int_places;
        ++p.int_places;
      }
      p.items.push_back(item);
    } else if (c == '.' && !p.scientific) {
      if (!p.has_point) p.items.push_back(Item(Item::Point));
      p.has_point = true;
    } else if (c == ',' && !p.scientific) {
      p.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-') &&
               !p.scientific) {
      Item item(Item::Exponent);
      item.letter = c;
      item.plus = s[i + 1] == '+';
      i += 2;
      while (i < s.size() && s[i] == '0' && item.min_digits < 4) {
        ++item.min_digits;
        ++i;
      }
      --i;
      p.scientific = true;
      p.items.push_back(item);
    } else {
      AddLiteral(p, s.substr(i, 1));
    }
  }
  return p;
}

bool HasPlaceholders(const FloatPicture& p) { return p.int_places + p.frac_places > 0; }

// The digits to lay out: the integer digits (no leading zeros) and exactly frac_places
// fraction digits, with the exponent of a scientific layout.
struct Layout {
  std::string integer;
  std::string fraction;
  int exponent = 0;
  bool zero = true;
};

Layout Fixed(double v, const FloatPicture& p) {
  // Beyond the platform's 18 significant digits the rest reads as zeros; below that the value
  // is rounded at the last fraction placeholder (then at most 18 digits are asked for).
  float_text::Digits d = float_text::significant(v, kMaxSignificant);
  if (v == 0 || d.exponent + 1 + p.frac_places <= kMaxSignificant) d = float_text::to_decimals(v, p.frac_places);
  Layout out;
  out.zero = d.zero();
  for (int pos = d.exponent; pos >= 0; --pos) {
    const char digit = d.at(pos);
    if (!out.integer.empty() || digit != '0') out.integer.push_back(digit);
  }
  for (int pos = -1; pos >= -p.frac_places; --pos) out.fraction.push_back(d.at(pos));
  return out;
}

Layout Scientific(double v, const FloatPicture& p) {
  const int count = HasPlaceholders(p) ? p.int_places + p.frac_places : 1;
  const float_text::Digits d = float_text::significant(v, count < kMaxSignificant ? count : kMaxSignificant);
  Layout out;
  out.zero = d.zero();
  std::string digits = d.digits;
  digits.resize(static_cast<size_t>(count), '0');
  out.integer = digits.substr(0, static_cast<size_t>(p.int_places));
  out.fraction = digits.substr(static_cast<size_t>(p.int_places));
  out.exponent = out.zero ? 0 : d.exponent + 1 - p.int_places;
  const size_t lead = out.integer.find_first_not_of('0');
  out.integer = lead == std::string::npos ? std::string() : out.integer.substr(lead);
  return out;
}

// The fraction digits shown: every digit up to the last '0' placeholder, then those up to
// the last non-zero digit.
size_t FractionShown(const Layout& l, const FloatPicture& p) {
  size_t shown = static_cast<size_t>(p.last_zero + 1);
  const size_t last_nonzero = l.fraction.find_last_not_of('0');
  if (last_nonzero != std::string::npos && last_nonzero + 1 > shown) shown = last_nonzero + 1;
  return shown;
}

class Writer {
public:
  Writer(const FloatPicture& p, const Layout& l, bool negative) : p_(p), l_(l), negative_(negative) {
    const int int_digits = static_cast<int>(l.integer.size());
    const int forced = p.first_zero < 0 ? 0 : p.int_places - p.first_zero;
    shown_int_ = int_digits > forced ? int_digits : forced;
    shown_frac_ = FractionShown(l, p);
  }

  std::string Run() {
    int int_index = 0;
    size_t frac_index = 0;
    bool after_point = false;
    for (const Item& item : p_.items) {
      switch (item.kind) {
        case Item::Literal: out_ += item.text; break;
        case Item::Point:
          after_point = true;
          if (shown_frac_ > 0) out_ += '.';
          break;
        case Item::Exponent: Exponent(item); break;
        case Item::Digit:
          if (after_point) {
            if (frac_index < shown_frac_) Digit(l_.fraction[frac_index]);
            ++frac_index;
          } else {
            IntegerPlace(int_index++);
          }
          break;
      }
    }
    if (negative_ && !signed_) out_.insert(0, "-");
    return out_;
  }

private:
  // Placeholder i (from the left) of the integer part; the first one also takes the digits
  // that have no placeholder of their own.
  void IntegerPlace(int i) {
    const int from_right = p_.int_places - 1 - i;
    if (i == 0) {
      for (int pos = shown_int_ - 1; pos > from_right; --pos) IntegerDigit(pos);
    }
    if (from_right < shown_int_) IntegerDigit(from_right);
  }

  // The integer digit for 10^pos, with a separator before each group of three.
  void IntegerDigit(int pos) {
    const int n = static_cast<int>(l_.integer.size());
    Digit(pos < n ? l_.integer[static_cast<size_t>(n - 1 - pos)] : '0');
    if (p_.thousands && pos > 0 && pos % 3 == 0) out_ += ',';
  }

  void Digit(char c) {
    if (negative_ && !signed_) {
      out_ += '-';
      signed_ = true;
    }
    out_ += c;
  }

  void Exponent(const Item& item) {
    const int e = l_.exponent;
    out_ += item.letter;
    if (e < 0) out_ += '-';
    else if (item.plus) out_ += '+';
    std::string digits = std::to_string(e < 0 ? -e : e);
    if (static_cast<int>(digits.size()) < item.min_digits)
      digits.insert(0, static_cast<size_t>(item.min_digits) - digits.size(), '0');
    out_ += digits;
  }

  const FloatPicture& p_;
  const Layout& l_;
  bool negative_;
  bool signed_ = false;
  int shown_int_ = 0;
  size_t shown_frac_ = 0;
  std::string out_;
};

std::string Lay(const FloatPicture& p, double v, bool negative) {
  if (!p.scientific) {
    const Layout l = Fixed(v, p);
    return Writer(p, l, negative && !l.zero).Run();
  }
  const Layout l = Scientific(v, p);
  return Writer(p, l, negative && !l.zero).Run();
}

// Whether v, laid out by the picture, shows as zero.
bool RoundsToZero(const FloatPicture& p, double v) {
  return p.scientific ? v == 0 : Fixed(v, p).zero;
}

}  // namespace

std::string FormatFloat(std::string_view format, double value) {
  if (format.size() > kMaxPictureSize)
    throw ConversionError("Format '" + std::string(format.substr(0, 32)) + "...' invalid or incompatible with argument");
  std::string special = float_text::special(value);
  if (!special.empty()) return special;
  const std::vector<std::string_view> sections = Sections(format);
  const FloatPicture positive = Parse(sections[0]);
  // The section by sign; an empty negative or zero section falls back to the first.
  const FloatPicture* picture = &positive;
  bool show_sign = value < 0;
  FloatPicture negative, zero;
  if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
    negative = Parse(sections[1]);
    picture = &negative;
    show_sign = false;
  }
  if (sections.size() > 2 && !sections[2].empty() && RoundsToZero(*picture, value)) {
    zero = Parse(sections[2]);
    picture = &zero;
    show_sign = false;
  }
  if (format.empty() || (picture->items.empty() && sections[0].empty())) return FloatToStr(value);
  if (!picture->scientific) {
    const float_text::Digits d = float_text::significant(value, 1);
    if (!d.zero() && d.exponent >= kMaxFixedExponent) return FloatToStr(value);
  }
  return Lay(*picture, value < 0 ? -value : value, show_sign);
}

}  // namespace kestrin
