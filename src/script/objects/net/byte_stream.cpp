// String and file streams for the socket transfers.
#include "script/objects/net/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "script/objects/net/socket_errors.h"

namespace kestrin::script {

void TnStringStream::SetPosition(int64_t position) {
  position_ = static_cast<size_t>(std::clamp<int64_t>(position, 0, static_cast<int64_t>(text_.size())));
}

int64_t TnStringStream::Read(void* buffer, int64_t count) {
  const size_t n = std::min(static_cast<size_t>(std::max<int64_t>(count, 0)), text_.size() - position_);
  std::memcpy(buffer, text_.data() + position_, n);
  position_ += n;
  return static_cast<int64_t>(n);
}

void TnStringStream::Write(const void* buffer, int64_t count) {
  const auto n = static_cast<size_t>(std::max<int64_t>(count, 0));
  if (n > limit_ || position_ > limit_ - n) throw ELocalError("data too long");
  if (position_ == text_.size()) {
    // A large text grows fourfold: each growth copies the text into fresh pages, and
    // first touches of fresh pages are what a big download into memory spends its time on.
    if (position_ + n > text_.capacity() && text_.capacity() >= (size_t{1} << 20))
      text_.reserve(std::min(limit_, std::max(position_ + n, text_.capacity() * 4)));
    text_.append(static_cast<const char*>(buffer), n);
  } else {
    if (position_ + n > text_.size()) text_.resize(position_ + n);
    std::memcpy(text_.data() + position_, buffer, n);
  }
  position_ += n;
}

TnScriptTextStream::~TnScriptTextStream() {
  if (cell_) Str::Free(cell_);
}

char* TnScriptTextStream::Grow(size_t count) {
  const size_t length = cell_ ? cell_->len : 0;
  if (count > kMaxStringBytes - length) throw ELocalError("data too long");
  if (!cell_) {
    // The first piece is taken at its size: most reads are one piece.
    cell_ = Str::Allocate(count);
  } else if (length + count > cell_->cap) {
    // The cell doubles in place: a large one moves by its pages, so a long body is never
    // copied and its memory never held twice.
    cell_ = Str::Reallocate(cell_, std::min(kMaxStringBytes, std::max(length + count, size_t{cell_->cap} * 2)));
  }
  return cell_->data() + length;
}

void TnScriptTextStream::Write(const void* buffer, int64_t count) {
  const auto n = static_cast<size_t>(std::max<int64_t>(count, 0));
  if (n == 0) return;
  std::memcpy(Grow(n), buffer, n);
  cell_->len += static_cast<uint32_t>(n);
}

char* TnScriptTextStream::Room(size_t count) {
  if (count > kMaxStringBytes - (cell_ ? cell_->len : 0)) return nullptr;
  return Grow(count);
}

StrRef TnScriptTextStream::Take() {
  if (!cell_) return StrRef();
  // Room to spare beyond an eighth of the text goes back (pages not yet touched cost only
  // address space, but the cell would keep them).
  const size_t spare = cell_->cap - cell_->len;
  if (spare > (size_t{1} << 16) && spare > cell_->len / 8) cell_ = Str::Reallocate(cell_, cell_->len);
  cell_->data()[cell_->len] = '\0';
  return StrRef::Adopt(std::exchange(cell_, nullptr));
}

void TnFileStream::Write(const void* buffer, int64_t count) {
  if (count > 0 && file_.Write(buffer, count) != count) throw ELocalError("write error: " + file_.FileName());
}

TnReplacingFileStream::TnReplacingFileStream(const std::string& path) : file_(path) {
  std::string error;
  if (!file_.open(&error)) throw ELocalError(error);
}

void TnReplacingFileStream::Write(const void* buffer, int64_t count) {
  std::string error;
  if (!file_.write(std::string_view(static_cast<const char*>(buffer), static_cast<size_t>(count)), &error))
    throw ELocalError(error);
  written_ += count;
}

void TnReplacingFileStream::Commit() {
  std::string error;
  if (!file_.commit(&error)) throw ELocalError(error);
}

}  // namespace kestrin::script
