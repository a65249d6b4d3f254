// A byte stream in memory with the platform's Read, Write, Seek, Position and Size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kgui {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TMemoryStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  // Reads up to count bytes at the position; returns the number read.
  int64_t read(void* buffer, int64_t count);
  // Writes at the position, growing the stream; returns count.
  int64_t write(const void* buffer, int64_t count);
  // New position, kept within 0..Size (the platform lets it pass the end; reads then give 0).
  int64_t seek(int64_t offset, TSeekOrigin origin);

  int64_t position() const { return position_; }
  void setPosition(int64_t pos) { seek(pos, soBeginning); }
  int64_t size() const { return static_cast<int64_t>(data_.size()); }
  void setSize(int64_t size);
  void clear();

  const std::vector<uint8_t>& bytes() const { return data_; }
  std::string toString() const { return std::string(data_.begin(), data_.end()); }
  void writeString(const std::string& s) { write(s.data(), static_cast<int64_t>(s.size())); }

private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace kgui
