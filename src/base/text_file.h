// Text files as Kestrin writes and reads them: written with CR LF, all at once through a
// file beside the target; read line by line accepting CR LF, LF and CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrin {

// Writes the lines, each followed by CR LF, to a temporary file beside `path` and renames
// it over `path` when complete. Returns false (and leaves any old file) on failure;
// `error` then holds the reason.
bool write_text_file(const std::string& path, const std::vector<std::string>& lines,
                     std::string* error = nullptr);
// Same with the text given whole (no line ends added).
bool write_file_bytes(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// A file written in pieces to a temporary file beside `path`, which replaces `path` only on
// commit(); destroyed without commit, it is removed and any old file stays as it was.
// Symbolic links in `path` are followed: the file they lead to is replaced and the links
// stay. A file with more than one hard link gets the finished bytes copied into it on
// commit, so every link sees them; a target that is no regular file (a device) is written
// directly, with no temporary file.
class ReplacingFile {
public:
  explicit ReplacingFile(std::string path) : path_(std::move(path)) {}
  ~ReplacingFile() { abandon(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool open(std::string* error = nullptr);
  bool write(std::string_view bytes, std::string* error = nullptr);
  bool commit(std::string* error = nullptr);
  void abandon();

private:
  enum class Mode { Rename, CopyIn, Direct };
  std::string path_;
  std::string target_;  // `path_` with its symbolic links followed
  std::string temp_;
  int fd_ = -1;
  Mode mode_ = Mode::Rename;
};

// Reads a whole file, or its first `max_bytes` bytes; false when it cannot be opened.
bool read_file_bytes(const std::string& path, std::string& out, std::string* error = nullptr,
                     size_t max_bytes = SIZE_MAX);

// A text file read line by line. Line ends CR LF, LF and CR are all accepted. Reading past
// the end yields empty strings (the settings file relies on it); `eof()` tells.
class TextReader {
public:
  TextReader() = default;
  explicit TextReader(std::string bytes);
  // False when it cannot be read. Only the first `max_bytes` bytes are read, so a reader
  // of a few short lines never takes the memory of a huge wrong file.
  bool open(const std::string& path, size_t max_bytes = SIZE_MAX);
  std::string next_line();             // "" past the end
  bool eof() const { return pos_ >= data_.size(); }

private:
  std::string data_;
  size_t pos_ = 0;
};

// The text of `width` characters from column `column` (from 1), clamped to the line.
inline std::string_view line_field(std::string_view line, size_t column, size_t width) {
  if (column - 1 >= line.size()) return {};
  return line.substr(column - 1, width);
}

// Appends one line and its CR LF to a text being built.
inline void put_line(std::string& out, std::string_view text) {
  out += text;
  out += "\r\n";
}

// The first line of a file, read from at most its first `max_bytes` bytes. A file that
// cannot be read raises EInOutError with the run-time library's text ("File not found").
std::string read_first_line(const std::string& path, size_t max_bytes = size_t(1) << 20);

// Splits text into lines by the same rules (a final line end adds no empty line).
std::vector<std::string> split_lines(std::string_view text);

}  // namespace kestrin
