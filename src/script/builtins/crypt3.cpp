// Traditional crypt(3): DES (FIPS 46) with the salt swapping pairs of expansion outputs,
// 25 encryptions of a zero block, and the result in the crypt alphabet.
#include "script/builtins/crypt3.h"

#include <array>

namespace kestrin::script {
namespace {

constexpr char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Tables of FIPS 46, bit 1 being the most significant bit of the input.
constexpr unsigned char kPC1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43, 35, 27,
    19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr unsigned char kPC2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr unsigned char kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
constexpr unsigned char kFP[64] = {
    40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31, 38, 6, 46, 14, 54, 22,
    62, 30, 37, 5, 45, 13, 53, 21, 61, 29, 36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11,
    51, 19, 59, 27, 34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
constexpr unsigned char kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                  2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr unsigned char kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10, 3,  13, 4, 7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4,  13, 1, 5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4,  2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1, 13, 12, 7,  11, 4,  2,  8,  13, 7, 0,  9,  3,  4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4, 9,  8,  15, 3,  0, 11, 1,  2,  12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4, 15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2,  8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6,  15,
     0,  3,  4,  7, 2,  12, 1,  10, 14, 9,  10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3,  14,
     5,  2,  8,  4, 3,  15, 0,  6,  10, 1,  13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6, 8,  5,  3,  15, 13, 0, 14, 9,  14, 11, 2,  12, 4, 7,
     13, 1,  5,  0,  15, 10, 3,  9, 8,  6,  4,  2,  1,  11, 10, 13, 7, 8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7, 1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4, 2,  7,  12,
     9,  5,  6,  1,  13, 14, 0, 11, 3,  8,  9,  14, 15, 5,  2,  8,  12, 3,  7, 0,  4,  10,
     1,  13, 11, 6,  4,  3,  2, 12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8, 13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9,  7,  5, 10, 6,  1,  13, 0,  11, 7, 4,  9,
     1,  10, 14, 3,  5,  12, 2, 15, 8,  6,  1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,
     0,  5,  9,  2,  6,  11, 13, 8, 1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1, 10, 9,  3,  14, 5,  0,  12, 7,  1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9, 2,  7,  11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// out bit i (1-based from the top of `out_bits`) := in bit table[i - 1] (1-based from
// the top of `in_bits`).
template <size_t N>
constexpr uint64_t Permute(uint64_t in, int in_bits, const unsigned char (&table)[N]) {
  uint64_t out = 0;
  for (size_t i = 0; i < N; ++i) out = out << 1 | ((in >> (in_bits - table[i])) & 1);
  return out;
}

// S-box i and the P permutation together: its 6-bit input to the 32-bit output of f.
constexpr std::array<std::array<uint32_t, 64>, 8> MakeSP() {
  std::array<std::array<uint32_t, 64>, 8> sp{};
  for (int box = 0; box < 8; ++box) {
    for (unsigned in = 0; in < 64; ++in) {
      const unsigned row = ((in >> 4) & 2) | (in & 1);
      const unsigned col = (in >> 1) & 15;
      const uint64_t s = static_cast<uint64_t>(kS[box][row * 16 + col]) << (28 - 4 * box);
      sp[box][in] = static_cast<uint32_t>(Permute(s, 32, kP));
    }
  }
  return sp;
}
constexpr auto kSP = MakeSP();

inline uint32_t RotateLeft(uint32_t x, unsigned r) { return r == 0 ? x : (x << r) | (x >> (32 - r)); }

// The expansion E: chunk i is the six bits of R at positions 4i - 1 .. 4i + 4 (mod 32).
inline uint64_t Expand(uint32_t r) {
  uint64_t e = 0;
  for (unsigned i = 0; i < 8; ++i) e = e << 6 | (RotateLeft(r, (4 * i + 31) % 32) >> 26);
  return e;
}

int AlphabetValue(unsigned char c) {
  if (c >= '.' && c <= '9') return c - '.';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 12;
  if (c >= 'a' && c <= 'z') return c - 'a' + 38;
  return 0;
}

}  // namespace

// Salt bit k (bit j of salt character i, k = 6i + j) swaps expansion outputs k and k + 24.
void TCrypt3::SetSalt(uint32_t salt_bits) {
  salt_bits_ = salt_bits;
  salted_ = true;
  salt_mask_ = 0;
  for (unsigned k = 0; k < 12; ++k)
    if (salt_bits & (1u << k)) salt_mask_ |= 1u << (23 - k);
}

void TCrypt3::SetKey(std::string_view key) {
  uint64_t block = 0;
  for (size_t i = 0; i < 8; ++i) {
    const unsigned char c = i < key.size() ? static_cast<unsigned char>(key[i]) : 0;
    block = block << 8 | static_cast<uint64_t>((c & 0x7F) << 1);
  }
  const uint64_t cd = Permute(block, 64, kPC1);
  uint32_t c = static_cast<uint32_t>(cd >> 28) & 0x0FFFFFFF;
  uint32_t d = static_cast<uint32_t>(cd) & 0x0FFFFFFF;
  for (int round = 0; round < 16; ++round) {
    for (int s = 0; s < kShifts[round]; ++s) {
      c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
      d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
    }
    subkeys_[round] = Permute(static_cast<uint64_t>(c) << 28 | d, 56, kPC2);
  }
}

std::string TCrypt3::Crypt(std::string_view key, std::string_view salt) {
  const char s0 = salt.empty() ? '\0' : salt[0];
  const char s1 = salt.size() >= 2 ? salt[1] : s0;
  const uint32_t bits = static_cast<uint32_t>(AlphabetValue(static_cast<unsigned char>(s0)) |
                                              AlphabetValue(static_cast<unsigned char>(s1)) << 6);
  if (!salted_ || bits != salt_bits_) SetSalt(bits);
  SetKey(key);

  // The initial permutation of the zero block is zero, and the final permutation of one
  // encryption undoes the initial one of the next: only the halves' swap stays between.
  uint32_t l = 0, r = 0;
  for (int pass = 0; pass < 25; ++pass) {
    for (int round = 0; round < 16; ++round) {
      uint64_t e = Expand(r);
      uint32_t a = static_cast<uint32_t>(e >> 24), b = static_cast<uint32_t>(e) & 0xFFFFFF;
      const uint32_t t = (a ^ b) & salt_mask_;
      e = (static_cast<uint64_t>(a ^ t) << 24 | (b ^ t)) ^ subkeys_[round];
      uint32_t f = 0;
      for (int box = 0; box < 8; ++box) f ^= kSP[box][(e >> (42 - 6 * box)) & 63];
      const uint32_t next = l ^ f;
      l = r;
      r = next;
    }
    std::swap(l, r);
  }
  const uint64_t out = Permute(static_cast<uint64_t>(l) << 32 | r, 64, kFP);

  std::string result{s0, s1};
  for (int i = 0; i < 11; ++i) {
    const int shift = 58 - 6 * i;  // the last character takes the low 4 bits, shifted left by 2
    const unsigned v = static_cast<unsigned>(shift >= 0 ? out >> shift : out << -shift) & 63;
    result += kAlphabet[v];
  }
  const size_t zero = result.find('\0');
  if (zero != std::string::npos) result.resize(zero);
  return result;
}

}  // namespace kestrin::script
