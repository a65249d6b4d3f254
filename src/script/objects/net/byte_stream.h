// The streams a socket receives into and sends from: a string in memory or a file.
#pragma once

#include <cstdint>
#include <string>

#include "base/text_file.h"
#include "platform/system/safe_file_stream.h"
#include "script/core/script_string.h"

namespace kestrin::script {

// The file streams come from the platform layer.
using platform::EFOpenError;
using platform::SeekOrigin;
using platform::TSafeFileStream;
using platform::fmOpenRead;
using platform::fmOpenWrite;
using platform::fmShareDenyWrite;

class TnStream {
public:
  virtual ~TnStream() = default;
  virtual int64_t Size() = 0;
  virtual void SetPosition(int64_t position) = 0;
  // Up to `count` bytes at the position; 0 at the end.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // All `count` bytes at the position; throws ELocalError when they cannot be written.
  virtual void Write(const void* buffer, int64_t count) = 0;
  // Room for `count` more bytes at the end of a stream in memory, for a reader to receive
  // into and then keep with Keep, so they are not copied again; null when the stream has
  // no such room (the reader writes instead).
  virtual char* Room(size_t) { return nullptr; }
  // Keeps the first `count` bytes of the room last given as written.
  virtual void Keep(size_t) {}
};

// A stream over a string that the caller owns; writing past the end grows it, but never
// beyond `limit` bytes (ELocalError "data too long").
class TnStringStream : public TnStream {
public:
  explicit TnStringStream(std::string& text, size_t limit = SIZE_MAX) : text_(text), limit_(limit) {}
  int64_t Size() override { return static_cast<int64_t>(text_.size()); }
  void SetPosition(int64_t position) override;
  int64_t Read(void* buffer, int64_t count) override;
  void Write(const void* buffer, int64_t count) override;

private:
  std::string& text_;
  size_t limit_;
  size_t position_ = 0;
};

// A stream that builds a script string in place, appending only: what a socket receives
// becomes the script's value without a copy of the whole text at the end, and the cell
// grows by moving its pages, so a long text is never held twice. Never beyond
// kMaxStringBytes (ELocalError "data too long").
class TnScriptTextStream : public TnStream {
public:
  TnScriptTextStream() = default;
  ~TnScriptTextStream() override;
  TnScriptTextStream(const TnScriptTextStream&) = delete;
  TnScriptTextStream& operator=(const TnScriptTextStream&) = delete;
  int64_t Size() override { return cell_ ? cell_->len : 0; }
  void SetPosition(int64_t) override {}  // every write appends
  int64_t Read(void*, int64_t) override { return 0; }
  void Write(const void* buffer, int64_t count) override;
  // Null when `count` more bytes would pass kMaxStringBytes (Write then raises the error).
  char* Room(size_t count) override;
  void Keep(size_t count) override { cell_->len += static_cast<uint32_t>(count); }
  // The text so far; the stream is empty afterwards.
  StrRef Take();

private:
  // Room for `count` bytes after the text; throws ELocalError past kMaxStringBytes.
  char* Grow(size_t count);
  Str* cell_ = nullptr;
};

// A stream over an open file.
class TnFileStream : public TnStream {
public:
  explicit TnFileStream(TSafeFileStream& file) : file_(file) {}
  int64_t Size() override { return file_.Size(); }
  void SetPosition(int64_t position) override { file_.Seek(position, SeekOrigin::Begin); }
  int64_t Read(void* buffer, int64_t count) override { return file_.Read(buffer, count); }
  void Write(const void* buffer, int64_t count) override;

private:
  TSafeFileStream& file_;
};

// A stream onto a new file beside `path` that replaces `path` only on Commit, so a transfer
// that fails never leaves half a file in place of a good one. Sequential writes only.
class TnReplacingFileStream : public TnStream {
public:
  // Throws ELocalError when the file cannot be made.
  explicit TnReplacingFileStream(const std::string& path);
  int64_t Size() override { return written_; }
  void SetPosition(int64_t) override {}
  int64_t Read(void*, int64_t) override { return 0; }
  void Write(const void* buffer, int64_t count) override;
  void Commit();

private:
  ReplacingFile file_;
  int64_t written_ = 0;
};

}  // namespace kestrin::script
