// TCrypt3: the traditional DES-based Unix password hash, crypt(3).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::script {

class TCrypt3 {
public:
  // The 13-character hash of `key` with `salt`: the two salt characters as given, then
  // eleven characters of the crypt alphabet "./0-9A-Za-z".
  //  - Only the first 8 key bytes count, each by its low 7 bits.
  //  - A one-character salt counts as that character twice; a salt character outside the
  //    alphabet hashes as '.' and is echoed unchanged.
  //  - The result is cut at its first zero byte, so an empty salt gives "".
  std::string Crypt(std::string_view key, std::string_view salt);

private:
  void SetSalt(uint32_t salt_bits);
  void SetKey(std::string_view key);

  bool salted_ = false;
  uint32_t salt_bits_ = 0;
  uint32_t salt_mask_ = 0;  // expansion bits swapped by the salt (see SetSalt)
  uint64_t subkeys_[16] = {};
};

}  // namespace kestrin::script
