// Digits of unsigned 32-bit numbers in bases 2, 8 and 16, most significant first; 0 gives
// "0". Negative script integers arrive as their 32-bit pattern.
#pragma once

#include <cstdint>
#include <string>

namespace kestrin::script {

std::string IntToBin(uint32_t n);
std::string IntToOct(uint32_t n);
// Upper-case hexadecimal digits.
std::string IntToHexText(uint32_t n);

}  // namespace kestrin::script
