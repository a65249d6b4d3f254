// CRC-16/MCRF4XX and CRC-32: check values, a bit-by-bit reference from the definitions,
// Python's zlib.crc32 on random buffers and on files across the 65535-byte block edges.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "script/builtins/crc.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

// The definitions, one bit at a time: reflected registers shifted right.
uint16_t ReferenceCrc16(const std::string& s) {
  uint16_t r = 0xFFFF;
  for (unsigned char c : s) {
    r ^= c;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? static_cast<uint16_t>((r >> 1) ^ 0x8408) : static_cast<uint16_t>(r >> 1);
  }
  return r;
}

uint32_t ReferenceCrc32(const std::string& s) {
  uint32_t r = 0xFFFFFFFF;
  for (unsigned char c : s) {
    r ^= c;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
  }
  return ~r;
}

std::string RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

// zlib.crc32 of a file, through the peer Python.
uint32_t ZlibCrc32OfFile(const std::string& path) {
  std::string out;
  test::run_command(std::string(test::kPeerPython) + " -c \"import zlib,sys; print(zlib.crc32(open(sys.argv[1],'rb').read()))\" " + path, &out);
  return static_cast<uint32_t>(std::stoul(out));
}

TEST(Crc, CheckValues) {
  uint16_t c16;
  uint32_t c32;
  CalcStringCRC(c16, c32, "123456789");
  EXPECT_EQ(c16, 0x6F91);
  EXPECT_EQ(c32, 0xCBF43926u);
  CalcStringCRC(c16, c32, "");
  EXPECT_EQ(c16, 0xFFFF);
  EXPECT_EQ(c32, 0u);
}

TEST(Crc, AgreesWithBitwiseDefinitionAtEveryLengthAndAlignment) {
  const std::string data = RandomBytes(300, 7);
  for (size_t offset : {0, 1, 3, 7}) {
    for (size_t n = 0; n + offset <= 80; ++n) {
      const std::string s = data.substr(offset, n);
      uint16_t c16;
      uint32_t c32;
      CalcStringCRC(c16, c32, s);
      ASSERT_EQ(c16, ReferenceCrc16(s)) << "length " << n << " offset " << offset;
      ASSERT_EQ(c32, ReferenceCrc32(s)) << "length " << n << " offset " << offset;
    }
  }
  // Pieces fed one after another give the CRC of the whole.
  CrcPair pieces;
  for (size_t at = 0; at < data.size(); at += 13) pieces.Update(std::string_view(data).substr(at, 13));
  EXPECT_EQ(pieces.Crc16(), ReferenceCrc16(data));
  EXPECT_EQ(pieces.Crc32(), ReferenceCrc32(data));
}

TEST(Crc, FilesAcrossBlockEdgesAgreeWithTextsAndZlib) {
  KESTRIN_REQUIRE_PEER("zlib");
  test::TempDir dir;
  for (size_t n : {size_t{0}, size_t{9}, kCrcFileBlock - 1, kCrcFileBlock, kCrcFileBlock + 1, 3 * kCrcFileBlock + 17}) {
    SCOPED_TRACE(n);
    const std::string bytes = n == 9 ? std::string("123456789") : RandomBytes(n, static_cast<uint32_t>(n));
    const std::string path = dir.file("data.bin");
    ASSERT_TRUE(write_file_bytes(path, bytes));
    uint16_t f16, t16;
    uint32_t f32, t32;
    ASSERT_TRUE(CalcFileCRC(path, f16, f32));
    CalcStringCRC(t16, t32, bytes);
    EXPECT_EQ(f16, t16);
    EXPECT_EQ(f32, t32);
    EXPECT_EQ(f32, ZlibCrc32OfFile(path));
  }
}

TEST(Crc, UnreadableFileGivesFalseAndTheStartValues) {
  test::TempDir dir;
  uint16_t c16 = 1;
  uint32_t c32 = 1;
  EXPECT_FALSE(CalcFileCRC(dir.file("missing"), c16, c32));
  EXPECT_EQ(c16, 0xFFFF);
  EXPECT_EQ(c32, 0xFFFFFFFFu);
  c16 = 1;
  EXPECT_FALSE(CalcFileCRC(dir.path(), c16, c32));  // a folder opens but cannot be read
  EXPECT_EQ(c16, 0xFFFF);
  EXPECT_EQ(c32, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kestrin::script
