// Digit texts of unsigned 32-bit numbers.
#include "script/builtins/int_text.h"

namespace kestrin::script {
namespace {

// The digits of n in base 2^bits.
std::string Digits(uint32_t n, unsigned bits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const uint32_t mask = (1u << bits) - 1;
  std::string out;
  do {
    out.insert(out.begin(), kDigits[n & mask]);
    n >>= bits;
  } while (n != 0);
  return out;
}

}  // namespace

std::string IntToBin(uint32_t n) { return Digits(n, 1); }
std::string IntToOct(uint32_t n) { return Digits(n, 3); }
std::string IntToHexText(uint32_t n) { return Digits(n, 4); }

}  // namespace kestrin::script
