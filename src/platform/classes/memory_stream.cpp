// TMemoryStream: a growable byte buffer with a position.
#include "platform/classes/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace kgui {

int64_t TMemoryStream::read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size()) return 0;
  int64_t n = std::min(count, size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > size()) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::setSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
  position_ = std::min(position_, this->size());
}

void TMemoryStream::clear() {
  data_.clear();
  position_ = 0;
}

}  // namespace kgui
