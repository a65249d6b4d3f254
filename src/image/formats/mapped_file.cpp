// Read-only file mapping with mmap.
#include "image/formats/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {

MappedFile::~MappedFile() { close(); }

void MappedFile::close() {
  if (mapped_) munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

bool MappedFile::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (st.st_size == 0) {
    ::close(fd);
    return true;
  }
  // Prefault image-sized files in one go; a huge wrong file is only touched where read.
  const int populate = st.st_size <= (off_t(1) << 30) ? MAP_POPULATE : 0;
  void* p = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE | populate, fd, 0);
  ::close(fd);
  if (p == MAP_FAILED) return false;
  data_ = static_cast<const uint8_t*>(p);
  size_ = size_t(st.st_size);
  mapped_ = true;
  return true;
}

}  // namespace kestrin
