// TSafeFileStream over POSIX file descriptors.
#include "platform/system/safe_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace kestrin::platform {

namespace {
int AccessFlags(uint16_t mode) {
  switch (mode & 3) {
    case fmOpenRead: return O_RDONLY;
    case fmOpenWrite: return O_WRONLY;
    default: return O_RDWR;
  }
}
}  // namespace

bool TSafeFileStream::Open(const std::string& file_name, uint16_t mode, bool raise_error) {
  Close(false);
  file_name_ = file_name;
  mode_ = mode;
  struct stat st;
  if (::stat(file_name.c_str(), &st) != 0 && (mode & 1)) {
    int fd = ::open(file_name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
  }
  int flags = AccessFlags(mode) | O_CLOEXEC;
  if (mode == fmCreate) flags |= O_TRUNC;
  handle_ = ::open(file_name.c_str(), flags);
  // A folder is no file, though a read-only open of it succeeds here.
  if (handle_ >= 0 && ::fstat(handle_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(handle_);
    handle_ = -1;
  }
  if (handle_ < 0 && raise_error) throw EFOpenError(file_name);
  return handle_ >= 0;
}

void TSafeFileStream::Close(bool delete_if_empty) {
  if (handle_ >= 0) {
    off_t size = ::lseek(handle_, 0, SEEK_END);
    ::close(handle_);
    if (size == 0 && delete_if_empty) ::unlink(file_name_.c_str());
  }
  handle_ = -1;
  mode_ = 0;
}

void TSafeFileStream::Flush() {
  if (handle_ >= 0) ::fsync(handle_);
}

int64_t TSafeFileStream::Read(void* buffer, int64_t count) {
  std::lock_guard<std::mutex> guard(lock_);
  if (handle_ < 0) throw EFOpenError("TSafeFileStream");
  if (count <= 0) return 0;
  ssize_t n = ::read(handle_, buffer, static_cast<size_t>(count));
  return n < 0 ? 0 : n;
}

int64_t TSafeFileStream::Write(const void* buffer, int64_t count) {
  std::lock_guard<std::mutex> guard(lock_);
  if (handle_ < 0) throw EFOpenError("TSafeFileStream");
  if (count <= 0) return 0;
  ssize_t n = ::write(handle_, buffer, static_cast<size_t>(count));
  return n < 0 ? 0 : n;
}

int64_t TSafeFileStream::Seek(int64_t offset, SeekOrigin origin) {
  std::lock_guard<std::mutex> guard(lock_);
  if (handle_ < 0) throw EFOpenError("TSafeFileStream");
  int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  return ::lseek(handle_, static_cast<off_t>(offset), whence);
}

int64_t TSafeFileStream::Size() {
  int64_t pos = Seek(0, SeekOrigin::Current);
  int64_t size = Seek(0, SeekOrigin::End);
  Seek(pos, SeekOrigin::Begin);
  return size;
}

void TSafeFileStream::SetSize(int64_t size) {
  Seek(size, SeekOrigin::Begin);
  if (::ftruncate(handle_, static_cast<off_t>(size)) != 0)
    throw std::system_error(errno, std::generic_category(), file_name_);
}

}  // namespace kestrin::platform
