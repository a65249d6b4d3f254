// A whole file mapped read-only into memory, so readers can decode it as a byte span
// without copying it first.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrin {

class MappedFile {
public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // False when the file cannot be opened or mapped; `error` then says why ("No such file
  // or directory", "Not a regular file"). An empty file opens with no bytes.
  bool open(const std::string& path, std::string* error = nullptr);
  std::span<const uint8_t> bytes() const { return {data_, size_}; }

private:
  void close();
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace kestrin
