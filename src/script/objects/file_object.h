// File: one file read and written through a byte stream, and the file-name functions. The
// stream reads ahead in blocks for readln, so a line costs no system call of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/system/safe_file_stream.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

// Bytes of a stream read ahead from a logical position. Lines come from the buffer; every
// other use of the stream first hands the position back with Sync.
class FileReadBuffer {
public:
  static constexpr size_t kBlock = size_t{64} << 10;
  enum class Line { Terminated, Unterminated, TooLong };

  explicit FileReadBuffer(size_t block = kBlock) : block_(block ? block : 1) {}
  // The bytes from the position up to and including the first LF (Terminated), or to the
  // end of the file when none follows (Unterminated; "" at the end). The position moves
  // past them. TooLong, with the position unchanged, when the line would pass max_bytes.
  // `line` stays valid until the buffer is used again: a line within the block is no copy.
  Line ReadLine(platform::TSafeFileStream& stream, std::string_view& line, size_t max_bytes);
  // The common case of ReadLine, inline: a whole line in the block read ahead.
  bool LineInBlock(std::string_view& line) {
    if (!active_ || next_ >= data_.size()) return false;
    const char* at = data_.data() + next_;
    const auto* lf = static_cast<const char*>(std::memchr(at, '\n', data_.size() - next_));
    if (!lf) return false;
    line = std::string_view(at, static_cast<size_t>(lf - at) + 1);
    next_ += line.size();
    return true;
  }
  // The position: where the next line starts.
  int64_t Position(platform::TSafeFileStream& stream) const;
  // Whether the position is at or beyond the end of the file.
  bool AtEnd(platform::TSafeFileStream& stream);
  // Puts the stream at the position and drops what was read ahead.
  void Sync(platform::TSafeFileStream& stream);
  // Drops what was read ahead without touching the stream (it was closed or reopened).
  void Reset();

private:
  size_t block_;
  std::string data_;    // bytes of the file from offset start_
  std::string spill_;   // a line that runs over the end of the block
  size_t next_ = 0;     // the position is start_ + next_
  int64_t start_ = 0;
  bool active_ = false;  // the stream stands at start_ + data_.size()
};

// The stream modes of File.open: read 0, write 1, and 32 when others may not write.
inline constexpr uint16_t kFileModeRead = 0, kFileModeWrite = 1, kFileModeDenyWrite = 32;

class TJFileObject : public TJObject {
public:
  TJFileObject(BaseEngine* engine, std::string file_name);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override { return file_name_; }
  void OnKill() override { Close(); }

  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  platform::TSafeFileStream& Stream() { return stream_; }
  FileReadBuffer& Buffer() { return buffer_; }
  uint16_t Mode() const { return mode_; }
  // The text readln hands out: refilled in place while the script keeps no line of it.
  StrRef& LineText() { return line_text_; }
  // Opens FileName() (closing first); false when it cannot be opened.
  bool Open(uint16_t mode);
  // True when the file was open.
  bool Close();

private:
  platform::TSafeFileStream stream_;
  FileReadBuffer buffer_;
  std::string file_name_;
  uint16_t mode_ = 0;
  StrRef line_text_;
  PropTable props_;
};

// Registers "File".
void RegisterFile(TJEngine& engine);

}  // namespace kestrin::script
