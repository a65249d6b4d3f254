// Fuzz target: Format and FormatFloat with fuzzed format strings and argument kinds must give
// text or a conversion error, never a crash or runaway memory.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/convert.h"

using namespace kestrin;

namespace {

// Reads the input front to back: a byte of argument kinds, then the values.
class Reader {
public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
  template <class T>
  T Value() {
    T v{};
    const size_t n = std::min<size_t>(sizeof v, static_cast<size_t>(end_ - p_));
    std::memcpy(&v, p_, n);
    p_ += n;
    return v;
  }
  std::string Rest() { return std::string(reinterpret_cast<const char*>(p_), static_cast<size_t>(end_ - p_)); }

private:
  const uint8_t* p_;
  const uint8_t* end_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  const uint8_t kinds = in.Byte();
  std::vector<FormatArg> args;
  for (int i = 0; i < 4; ++i) {
    switch ((kinds >> (2 * i)) & 3) {
      case 0: args.emplace_back(in.Value<int32_t>()); break;
      case 1: args.emplace_back(in.Value<double>()); break;
      case 2: args.emplace_back(std::string(in.Byte() % 8, 'x')); break;
      default: args.emplace_back(static_cast<long long>(in.Value<int64_t>())); break;
    }
  }
  const double value = in.Value<double>();
  const std::string format = in.Rest();
  try {
    std::string text = Format(format, args);
    (void)text;
  } catch (const ConversionError&) {
  }
  try {
    std::string text = FormatFloat(format, value);
    (void)text;
  } catch (const ConversionError&) {
  }
  return 0;
}
