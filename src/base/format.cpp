// The platform's Format: "%" [index ":"] ["-"] [width] ["." precision] type, with '*' taking
// width, precision or index from the arguments.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/float_text.h"

namespace kestrin {
namespace {

// Width and precision beyond this are refused rather than allocated.
constexpr int kMaxWidth = 1 << 20;
// The platform's float conversions carry at most 18 digits.
constexpr int kMaxFloatDigits = 18;

struct Spec {
  bool left = false;
  int width = 0;
  int precision = -1;  // -1: none given
  char type = 0;       // upper case
};

class Formatter {
public:
  Formatter(std::string_view fmt, std::span<const FormatArg> args) : fmt_(fmt), args_(args) {}

  std::string run() {
    while (pos_ < fmt_.size()) {
      const size_t percent = fmt_.find('%', pos_);
      out_.append(fmt_.substr(pos_, percent == std::string_view::npos ? std::string_view::npos : percent - pos_));
      if (percent == std::string_view::npos) break;
      pos_ = percent + 1;
      directive();
    }
    return out_;
  }

private:
  [[noreturn]] void invalid() const {
    throw ConversionError("Format '" + std::string(fmt_) + "' invalid or incompatible with argument");
  }

  char peek() const { return pos_ < fmt_.size() ? fmt_[pos_] : '\0'; }

  const FormatArg& next_arg() {
    if (arg_ >= args_.size()) throw ConversionError("No argument for format '" + std::string(fmt_) + "'");
    return args_[arg_++];
  }

  int64_t int_arg() {
    const auto* v = std::get_if<int64_t>(&next_arg().value());
    if (!v) invalid();
    return *v;
  }

  // A run of digits or '*'; nullopt when neither is there.
  std::optional<int> number_or_star() {
    if (peek() == '*') {
      ++pos_;
      const int64_t v = int_arg();
      if (v > kMaxWidth || v < -kMaxWidth) invalid();
      return static_cast<int>(v);
    }
    if (peek() < '0' || peek() > '9') return std::nullopt;
    int v = 0;
    while (peek() >= '0' && peek() <= '9') {
      v = v * 10 + (fmt_[pos_++] - '0');
      if (v > kMaxWidth) invalid();
    }
    return v;
  }

  void directive() {
    if (peek() == '%') {
      out_.push_back('%');
      ++pos_;
      return;
    }
    Spec spec;
    std::optional<int> n = number_or_star();
    if (peek() == ':') {  // an argument index
      if (!n || *n < 0) invalid();
      arg_ = static_cast<size_t>(*n);
      ++pos_;
      n.reset();
    }
    if (!n) {
      if (peek() == '-') {
        spec.left = true;
        ++pos_;
      }
      n = number_or_star();
    }
    if (n && *n < 0) spec.left = true;  // a negative '*' width left-justifies
    spec.width = n ? (*n < 0 ? -*n : *n) : 0;
    if (peek() == '.') {
      ++pos_;
      const std::optional<int> p = number_or_star();
      spec.precision = !p ? 0 : *p < 0 ? -1 : *p;
    }
    const char t = peek();
    if (t == '\0') invalid();
    ++pos_;
    spec.type = (t >= 'a' && t <= 'z') ? static_cast<char>(t - 'a' + 'A') : t;
    pad(spec, convert(spec));
  }

  std::string convert(const Spec& spec) {
    switch (spec.type) {
      case 'D': return decimal(spec);
      case 'U': return unsigned_decimal(spec);
      case 'X': return hexadecimal(spec);
      case 'P': return pointer(spec);
      case 'E': case 'F': case 'G': case 'N': case 'M': return floating(spec);
      case 'S': return string(spec);
      default: invalid();
    }
  }

  static std::string min_digits(std::string digits, int precision) {
    if (precision > static_cast<int>(digits.size()))
      digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return digits;
  }

  std::string decimal(const Spec& spec) {
    const int64_t v = int_arg();
    const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    return (v < 0 ? "-" : "") + min_digits(std::to_string(magnitude), spec.precision);
  }

  // Negative Integer arguments show as their 32-bit two's complement, as on the platform.
  uint64_t unsigned_arg() {
    const int64_t v = int_arg();
    if (v < 0 && v >= INT32_MIN) return static_cast<uint32_t>(v);
    return static_cast<uint64_t>(v);
  }

  std::string unsigned_decimal(const Spec& spec) {
    return min_digits(std::to_string(unsigned_arg()), spec.precision);
  }

  std::string hexadecimal(const Spec& spec) {
    uint64_t v = unsigned_arg();
    std::string digits;
    do {
      digits.insert(digits.begin(), "0123456789ABCDEF"[v & 15]);
      v >>= 4;
    } while (v != 0);
    return min_digits(digits, spec.precision);
  }

  // A pointer: the 32 bits of an integer as eight hex digits (more when it is wider).
  std::string pointer(const Spec& spec) {
    Spec hex = spec;
    hex.precision = 8;
    return hexadecimal(hex);
  }

  // Currency in the Japanese defaults: "\1,235", "-\1,235".
  static std::string currency(double v, int precision) {
    const std::string digits = float_text::number(v < 0 ? -v : v, precision < 0 ? 0 : precision);
    const bool negative = v < 0 && digits.find_first_not_of("0.,") != std::string::npos;
    return (negative ? "-\\" : "\\") + digits;
  }

  std::string floating(const Spec& spec) {
    const auto* v = std::get_if<double>(&next_arg().value());
    if (!v) invalid();
    std::string s = float_text::special(*v);
    if (!s.empty()) return s;
    const int p = spec.precision > kMaxFloatDigits ? kMaxFloatDigits : spec.precision;
    switch (spec.type) {
      case 'E': return float_text::exponent(*v, p < 1 ? 15 : p, 3);
      case 'F': return float_text::fixed(*v, p < 0 ? 2 : p);
      case 'G': return float_text::general(*v, p < 1 ? 15 : p);
      case 'M': return currency(*v, p);
      default: return float_text::number(*v, p < 0 ? 2 : p);
    }
  }

  std::string string(const Spec& spec) {
    const auto* v = std::get_if<std::string>(&next_arg().value());
    if (!v) invalid();
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < v->size()) return v->substr(0, spec.precision);
    return *v;
  }

  void pad(const Spec& spec, const std::string& text) {
    const size_t fill = static_cast<size_t>(spec.width) > text.size() ? spec.width - text.size() : 0;
    if (!spec.left) out_.append(fill, ' ');
    out_ += text;
    if (spec.left) out_.append(fill, ' ');
  }

  std::string_view fmt_;
  std::span<const FormatArg> args_;
  size_t pos_ = 0;
  size_t arg_ = 0;
  std::string out_;
};

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args) {
  return Formatter(fmt, std::span<const FormatArg>(args.begin(), args.size())).run();
}

std::string Format(std::string_view fmt, const std::vector<FormatArg>& args) {
  return Formatter(fmt, std::span<const FormatArg>(args)).run();
}

}  // namespace kestrin
