// CRC-16/MCRF4XX and CRC-32 with slicing tables: sixteen bytes per step through sixteen
// tables per CRC, so a file goes at memory speed.
#include "script/builtins/crc.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kestrin::script {
namespace {

constexpr int kSlices = 16;

// tables[0] is the byte-at-a-time table of the reflected polynomial; tables[k][b] is the
// register change of byte b followed by k zero bytes.
template <class T>
constexpr std::array<std::array<T, 256>, kSlices> MakeTables(T poly) {
  std::array<std::array<T, 256>, kSlices> t{};
  for (unsigned b = 0; b < 256; ++b) {
    T r = static_cast<T>(b);
    for (int bit = 0; bit < 8; ++bit) r = static_cast<T>((r & 1) ? (r >> 1) ^ poly : r >> 1);
    t[0][b] = r;
  }
  for (int k = 1; k < kSlices; ++k)
    for (unsigned b = 0; b < 256; ++b) t[k][b] = static_cast<T>((t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF]);
  return t;
}

constexpr auto kTable16 = MakeTables<uint16_t>(0x8408);
constexpr auto kTable32 = MakeTables<uint32_t>(0xEDB88320);

inline uint64_t LoadLittle64(const unsigned char* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

}  // namespace

void CrcPair::Update(const unsigned char* data, size_t size) {
  uint32_t c16 = crc16_;
  uint32_t c32 = crc32_;
  // Sixteen bytes per step: the register is folded into the first bytes, and each byte
  // looks up the table of its distance from the end of the step.
  while (size >= kSlices) {
    const uint64_t lo = LoadLittle64(data);
    const uint64_t hi = LoadLittle64(data + 8);
    const uint64_t x16 = lo ^ c16;
    const uint64_t x32 = lo ^ c32;
    c16 = kTable16[15][x16 & 0xFF] ^ kTable16[14][(x16 >> 8) & 0xFF] ^ kTable16[13][(lo >> 16) & 0xFF] ^
          kTable16[12][(lo >> 24) & 0xFF] ^ kTable16[11][(lo >> 32) & 0xFF] ^ kTable16[10][(lo >> 40) & 0xFF] ^
          kTable16[9][(lo >> 48) & 0xFF] ^ kTable16[8][lo >> 56] ^ kTable16[7][hi & 0xFF] ^
          kTable16[6][(hi >> 8) & 0xFF] ^ kTable16[5][(hi >> 16) & 0xFF] ^ kTable16[4][(hi >> 24) & 0xFF] ^
          kTable16[3][(hi >> 32) & 0xFF] ^ kTable16[2][(hi >> 40) & 0xFF] ^ kTable16[1][(hi >> 48) & 0xFF] ^
          kTable16[0][hi >> 56];
    c32 = kTable32[15][x32 & 0xFF] ^ kTable32[14][(x32 >> 8) & 0xFF] ^ kTable32[13][(x32 >> 16) & 0xFF] ^
          kTable32[12][(x32 >> 24) & 0xFF] ^ kTable32[11][(lo >> 32) & 0xFF] ^ kTable32[10][(lo >> 40) & 0xFF] ^
          kTable32[9][(lo >> 48) & 0xFF] ^ kTable32[8][lo >> 56] ^ kTable32[7][hi & 0xFF] ^
          kTable32[6][(hi >> 8) & 0xFF] ^ kTable32[5][(hi >> 16) & 0xFF] ^ kTable32[4][(hi >> 24) & 0xFF] ^
          kTable32[3][(hi >> 32) & 0xFF] ^ kTable32[2][(hi >> 40) & 0xFF] ^ kTable32[1][(hi >> 48) & 0xFF] ^
          kTable32[0][hi >> 56];
    data += kSlices;
    size -= kSlices;
  }
  for (; size > 0; --size, ++data) {
    c16 = kTable16[0][(c16 ^ *data) & 0xFF] ^ (c16 >> 8);
    c32 = kTable32[0][(c32 ^ *data) & 0xFF] ^ (c32 >> 8);
  }
  crc16_ = static_cast<uint16_t>(c16);
  crc32_ = c32;
}

void CalcStringCRC(uint16_t& crc16, uint32_t& crc32, std::string_view s) {
  CrcPair crc;
  crc.Update(s);
  crc16 = crc.Crc16();
  crc32 = crc.Crc32();
}

bool CalcFileCRC(const std::string& file_name, uint16_t& crc16, uint32_t& crc32) {
  crc16 = kCrc16Start;
  crc32 = kCrc32Start;
  const int fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  std::vector<unsigned char> block(kCrcFileBlock);
  CrcPair crc;
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    crc.Update(block.data(), static_cast<size_t>(n));
  }
  ::close(fd);
  if (!ok) return false;
  crc16 = crc.Crc16();
  crc32 = crc.Crc32();
  return true;
}

}  // namespace kestrin::script
