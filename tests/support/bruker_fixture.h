// Bruker CCD frames made by code: 80-byte header lines "KEY    :" + value, the 1024 x 1024
// little-endian frame at byte 11776.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrin::test {

// `fields` replaces the 10-byte value of a header line (default: right-aligned "0", line 39 "2").
std::vector<uint8_t> make_bruker(const std::vector<uint16_t>& codes, const std::map<int, std::string>& fields = {});

}  // namespace kestrin::test
