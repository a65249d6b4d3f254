// The pixel block's storage and the colour counts of the depths.
#include "image/display/dib_types.h"

#include <cstdlib>
#include <cstring>

#include "base/runtime_errors.h"

namespace kestrin {

DibBits::DibBits(size_t size) {
  if (size == 0) return;
  data_ = static_cast<uint8_t*>(std::calloc(size, 1));
  if (!data_) throw EOutOfMemory("Out of memory");
  size_ = size;
}

DibBits::DibBits(const uint8_t* first, size_t size) {
  if (size == 0) return;
  data_ = static_cast<uint8_t*>(std::malloc(size));
  if (!data_) throw EOutOfMemory("Out of memory");
  std::memcpy(data_, first, size);
  size_ = size;
}

DibBits::~DibBits() { std::free(data_); }

bool operator==(const DibBits& a, const DibBits& b) {
  return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, a.size_) == 0);
}

bool operator==(const DibBits& a, const std::vector<uint8_t>& b) {
  return a.size_ == b.size() && (a.size_ == 0 || std::memcmp(a.data_, b.data(), a.size_) == 0);
}

void DibInfo::allocate_rows() {
  const uint64_t size = uint64_t(row_bytes(header.biBitCount, header.biWidth)) * uint64_t(rows());
  if (size >= (uint64_t(1) << 31)) throw EOutOfResources("GetMemory: Cannot Make File Mapping Object");
  bits = DibBits(size_t(size));
}

int32_t color_count_of(int32_t bit_count) {
  switch (bit_count) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

}  // namespace kestrin
