// CRC-16 (reflected 0x8408, start 0xFFFF, no final inversion: CRC-16/MCRF4XX) and the
// standard reflected CRC-32, computed together in one pass over texts and files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::script {

inline constexpr uint16_t kCrc16Start = 0xFFFF;
inline constexpr uint32_t kCrc32Start = 0xFFFFFFFF;

// Both CRC registers, updated block by block; the results are read at the end.
class CrcPair {
public:
  void Update(const unsigned char* data, size_t size);
  void Update(std::string_view bytes) { Update(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()); }
  uint16_t Crc16() const { return crc16_; }
  // The CRC-32 of everything so far (the register inverted).
  uint32_t Crc32() const { return ~crc32_; }

private:
  uint16_t crc16_ = kCrc16Start;
  uint32_t crc32_ = kCrc32Start;
};

// Both CRCs over the bytes of `s`.
void CalcStringCRC(uint16_t& crc16, uint32_t& crc32, std::string_view s);

// Bytes read from a file per block.
inline constexpr size_t kCrcFileBlock = 65535;

// Both CRCs over the file's bytes, read in blocks of kCrcFileBlock. False when the file
// cannot be opened or read; the outputs then hold the start values 0xFFFF and 0xFFFFFFFF.
bool CalcFileCRC(const std::string& file_name, uint16_t& crc16, uint32_t& crc32);

}  // namespace kestrin::script
