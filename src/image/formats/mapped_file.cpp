// Read-only file mapping with mmap.
#include "image/formats/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace kestrin {
namespace {

bool failed(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

std::string errno_text(int err) { return std::generic_category().message(err); }

}  // namespace

MappedFile::~MappedFile() { close(); }

void MappedFile::close() {
  if (mapped_) munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

bool MappedFile::open(const std::string& path, std::string* error) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return failed(error, errno_text(errno));
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return failed(error, errno_text(err));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return failed(error, S_ISDIR(st.st_mode) ? errno_text(EISDIR) : "Not a regular file");
  }
  if (st.st_size == 0) {
    ::close(fd);
    return true;
  }
  // Prefault image-sized files in one go; a huge wrong file is only touched where read.
  const int populate = st.st_size <= (off_t(1) << 30) ? MAP_POPULATE : 0;
  void* p = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE | populate, fd, 0);
  const int err = errno;
  ::close(fd);
  if (p == MAP_FAILED) return failed(error, errno_text(err));
  data_ = static_cast<const uint8_t*>(p);
  size_ = size_t(st.st_size);
  mapped_ = true;
  return true;
}

}  // namespace kestrin
