// Whole-file reading and writing; writes go to a temporary file in the target's folder and
// replace the target by rename only once everything is on disk, so a failure never leaves
// half a file in place of a good one. A path through symbolic links writes the file they
// lead to; a file with other hard links gets the new bytes copied in, and a target that is
// no regular file (a device, a pipe) is written directly.
#include "base/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "base/paths.h"
#include "base/runtime_errors.h"

namespace kestrin {
namespace {

void set_error(std::string* error, const std::string& what, const std::string& path, int code) {
  if (error) *error = what + " '" + path + "': " + std::strerror(code);
}

// Opens a new, uniquely named file beside `path` for writing and reading back (a copy into
// a hard-linked target reads it); -1 on failure (errno set).
int open_temporary(const std::string& path, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    // The name is shortened so the temporary name stays within the file system's limit.
    temp = folder_of(path) + "." + file_name_of(path).substr(0, 100) + ".tmp" + std::to_string(getpid()) + "-" +
           std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A replaced file keeps its permission bits.
void keep_mode(int fd, const struct stat& st) { ::fchmod(fd, st.st_mode & 07777); }

// The path a chain of symbolic links at `path` leads to (the last link's target when it
// names no file yet); `path` itself when it is no link. A loop ends after 40 links, as the
// kernel's own walk does, at the link reached then (whose write then fails with ELOOP).
std::string resolve_links(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) return current;
    target.resize(static_cast<size_t>(n));
    current = target.starts_with('/') ? target : folder_of(current) + target;
  }
  return current;
}

bool copy_file_into(int from, int to) {
  if (::lseek(from, 0, SEEK_SET) != 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!write_all(to, std::string_view(buffer, static_cast<size_t>(n)))) return false;
  }
}

// Writes the finished temporary file's bytes over the target in place (a file with other
// hard links keeps sharing them).
bool copy_over(int temp_fd, const std::string& target) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = copy_file_into(temp_fd, fd) && ::fsync(fd) == 0;
  const int saved = errno;
  if (::close(fd) != 0 || !ok) {
    if (!ok) errno = saved;
    return false;
  }
  return true;
}

}  // namespace

bool ReplacingFile::open(std::string* error) {
  abandon();
  target_ = resolve_links(path_);
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  mode_ = !exists ? Mode::Rename : !S_ISREG(st.st_mode) ? Mode::Direct : st.st_nlink > 1 ? Mode::CopyIn : Mode::Rename;
  if (mode_ == Mode::Direct) {
    // Without a wait: a pipe nobody reads fails (ENXIO) instead of blocking the program.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
    if (fd_ >= 0) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    temp_.clear();
  } else {
    fd_ = open_temporary(target_, temp_);
  }
  if (fd_ < 0) {
    set_error(error, "Cannot create", path_, errno);
    return false;
  }
  if (exists && mode_ == Mode::Rename) keep_mode(fd_, st);
  return true;
}

bool ReplacingFile::write(std::string_view bytes, std::string* error) {
  if (fd_ >= 0 && write_all(fd_, bytes)) return true;
  set_error(error, "Cannot write", path_, fd_ >= 0 ? errno : EBADF);
  return false;
}

bool ReplacingFile::commit(std::string* error) {
  if (fd_ < 0) {
    set_error(error, "Cannot write", path_, EBADF);
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  // The bytes reach the disk before the name points at them, so a crash leaves the old
  // file or the new one, never an empty one.
  bool ok = mode_ == Mode::Direct || ::fsync(fd) == 0;
  if (ok && mode_ == Mode::CopyIn) ok = copy_over(fd, target_);
  const int saved = errno;
  if (::close(fd) != 0) ok = false;
  else errno = saved;
  if (ok && mode_ == Mode::Rename) ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) set_error(error, "Cannot write", path_, errno);
  if (!temp_.empty() && (!ok || mode_ != Mode::Rename)) ::unlink(temp_.c_str());
  return ok;
}

void ReplacingFile::abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
  fd_ = -1;
}

bool write_file_bytes(const std::string& path, std::string_view bytes, std::string* error) {
  ReplacingFile file(path);
  return file.open(error) && file.write(bytes, error) && file.commit(error);
}

bool write_text_file(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return write_file_bytes(path, text, error);
}

bool read_file_bytes(const std::string& path, std::string& out, std::string* error, size_t max_bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    set_error(error, "Cannot open", path, errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    set_error(error, "Cannot open", path, EISDIR);
    return false;
  }
  out.clear();
  // Read straight into the text, sized by the file when that is within the budget: a file of
  // known size is read into the room kept for it (one byte more, to see its end), so a small
  // file costs no zero-filled piece; a stream, or a file that grew, is read by pieces.
  constexpr size_t kPiece = 65536;
  const bool sized = S_ISREG(st.st_mode) && st.st_size > 0;
  if (sized) out.reserve(std::min(static_cast<size_t>(st.st_size) + 1, max_bytes));
  while (out.size() < max_bytes) {
    const size_t had = out.size();
    const size_t room = out.capacity() - had;
    const size_t want = std::min(sized && room > 0 ? room : std::max(room, kPiece), max_bytes - had);
    out.resize(had + want);
    const ssize_t n = ::read(fd, out.data() + had, want);
    out.resize(had + static_cast<size_t>(std::max<ssize_t>(n, 0)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      set_error(error, "Cannot read", path, errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
  }
  ::close(fd);
  return true;
}

TextReader::TextReader(std::string bytes) : data_(std::move(bytes)) {}

bool TextReader::open(const std::string& path, size_t max_bytes) {
  pos_ = 0;
  if (read_file_bytes(path, data_, nullptr, max_bytes)) return true;
  data_.clear();
  return false;
}

std::string TextReader::next_line() {
  if (pos_ >= data_.size()) return "";
  size_t end = data_.find_first_of("\r\n", pos_);
  if (end == std::string::npos) end = data_.size();
  std::string line = data_.substr(pos_, end - pos_);
  pos_ = end;
  if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
  if (pos_ < data_.size() && data_[pos_] == '\n' && (pos_ == end || data_[end] == '\r')) ++pos_;
  return line;
}

std::string read_first_line(const std::string& path, size_t max_bytes) {
  std::string bytes;
  errno = 0;
  if (!read_file_bytes(path, bytes, nullptr, max_bytes)) throw EInOutError(io_error_message(errno ? errno : EIO));
  return TextReader(std::move(bytes)).next_line();
}

// Lines by memchr: the next LF is looked for only once the scan has passed the last one
// found, so a text of lone CRs stays linear.
std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t feeds = 0;
  for (const char* f = text.data(), *e = f + text.size();
       (f = static_cast<const char*>(std::memchr(f, '\n', static_cast<size_t>(e - f)))) != nullptr; ++f)
    ++feeds;
  lines.reserve(feeds + 1);
  const char* p = text.data();
  const char* const end = p + text.size();
  const char* lf = nullptr;
  while (p < end) {
    if (!lf || lf < p) {
      lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      if (!lf) lf = end;
    }
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(lf - p)));
    const char* eol = cr ? cr : lf;
    lines.emplace_back(p, static_cast<size_t>(eol - p));
    if (eol == end) break;
    p = eol + (*eol == '\r' && eol + 1 < end && eol[1] == '\n' ? 2 : 1);
  }
  return lines;
}

}  // namespace kestrin
