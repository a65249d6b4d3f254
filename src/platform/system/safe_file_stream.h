// TSafeFileStream: a file stream whose read, write and seek are serialised by a lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>

namespace kestrin::platform {

// The class library's cannot-open-file error.
class EFOpenError : public std::runtime_error {
public:
  explicit EFOpenError(const std::string& name) : std::runtime_error("Cannot open file " + name) {}
};

// Open modes as the platform numbers them: access in the low two bits (0 read, 1 write,
// 2 read-write), share flags above (accepted, not enforced), fmCreate = 0xFFFF.
enum FileModes : uint16_t {
  fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010, fmShareDenyWrite = 0x0020, fmShareDenyNone = 0x0040,
  fmCreate = 0xFFFF,
};

enum class SeekOrigin { Begin, Current, End };

class TSafeFileStream {
public:
  TSafeFileStream() = default;
  TSafeFileStream(const TSafeFileStream&) = delete;
  TSafeFileStream& operator=(const TSafeFileStream&) = delete;
  ~TSafeFileStream() { Close(false); }

  // Opens `file_name`; a missing file is created first when the mode writes (bit 0).
  // A failure raises EFOpenError when raise_error is set, else leaves the stream closed.
  bool Open(const std::string& file_name, uint16_t mode, bool raise_error);
  // Closes; with delete_if_empty a file of size 0 is deleted.
  void Close(bool delete_if_empty);
  void Flush();
  bool IsOpened() const { return handle_ >= 0; }
  const std::string& FileName() const { return file_name_; }

  // On a closed stream these raise EFOpenError; a failed read or write returns 0.
  int64_t Read(void* buffer, int64_t count);
  int64_t Write(const void* buffer, int64_t count);
  int64_t Seek(int64_t offset, SeekOrigin origin);
  int64_t Size();
  void SetSize(int64_t size);

private:
  std::string file_name_;
  std::mutex lock_;
  uint16_t mode_ = 0;
  int handle_ = -1;  // 0 is a valid descriptor
};

}  // namespace kestrin::platform
