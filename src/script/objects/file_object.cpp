// File: open modes, reads within the string limit, buffered lines, writes, seeks, file
// operations on the named file, and the name functions. Every failure is "EFileError"
// with the operation's prefix and the stored name.
#include "script/objects/file_object.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "base/text_file.h"
#include "script/builtins/file_utils.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"
#include "script/objects/path_names.h"

namespace kestrin::script {
namespace {

// Size of the pieces that read() without a count asks for.
constexpr int64_t kReadPiece = 65535;

TJFileObject& FileOf(TJObject& self) { return static_cast<TJFileObject&>(self); }

// The system's name of a script name; false for a name with a wildcard character: such a
// name (a listed name with "?" for a character outside CP932 among them) names no file.
bool OsFileName(std::string_view script_name, std::string& os) {
  os = ScriptPathToOs(script_name);
  return !os.empty() && os.find_first_of("?*") == std::string::npos;
}

// The stored name, or the first argument when given (the name functions' optional name).
std::string NameArg(TJObject& self, const TJValueList& params) {
  return params.GetCount() > 0 ? ArgText(params, 0) : FileOf(self).FileName();
}

[[noreturn]] void Fail(TJObject& self, ScriptError kind) { RaiseError(kind, {FileOf(self).FileName()}); }

// The open stream with what was read ahead handed back; `kind` when the file is closed.
platform::TSafeFileStream& SyncedStream(TJObject& self, ScriptError kind) {
  TJFileObject& file = FileOf(self);
  if (!file.Stream().IsOpened()) Fail(self, kind);
  file.Buffer().Sync(file.Stream());
  return file.Stream();
}

// Copies a file to a file beside `to` and renames it over `to` once complete.
bool CopyFileReplacing(const std::string& from, const std::string& to) {
  platform::TSafeFileStream in;
  if (!in.Open(from, platform::fmOpenRead, false)) return false;
  ReplacingFile out(to);
  if (!out.open()) return false;
  std::string piece(size_t{1} << 16, '\0');
  for (;;) {
    const int64_t n = in.Read(piece.data(), static_cast<int64_t>(piece.size()));
    if (n <= 0) break;
    if (!out.write(std::string_view(piece).substr(0, static_cast<size_t>(n)))) return false;
  }
  return out.commit();
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Renames as the platform does: an existing file of the new name is never replaced.
// Across file systems the file is copied completely, and only then the original deleted.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  int error = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
  if (error == EINVAL)  // a file system without the flag
    error = Exists(to) ? EEXIST : ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  if (error != EXDEV) return error == 0;
  return !Exists(to) && CopyFileReplacing(from, to) && ::unlink(from.c_str()) == 0;
}

// ---- reading and writing ----

void FRead(TJObject& self, TJValueList& params, Value& result) {
  platform::TSafeFileStream& stream = SyncedStream(self, ScriptError::FileRead);
  Guarded(ScriptError::FileRead, FileOf(self).FileName(), [&] {
    int64_t count = INT64_MAX;
    if (params.GetCount() > 0 && !ValueToInt64(params.GetValue(0), count)) Fail(self, ScriptError::FileRead);
    // Refused before reading: the text could not be held as a script string.
    const int64_t left = stream.Size() - stream.Seek(0, platform::SeekOrigin::Current);
    if (std::min(count, left) > static_cast<int64_t>(kMaxStringBytes)) Fail(self, ScriptError::FileRead);
    std::string text;
    while (count > 0) {
      const int64_t piece = std::min(count, kReadPiece);
      const size_t had = text.size();
      if (had + static_cast<size_t>(piece) > kMaxStringBytes + kReadPiece) Fail(self, ScriptError::FileRead);
      text.resize(had + static_cast<size_t>(piece));
      const int64_t n = stream.Read(text.data() + had, piece);
      text.resize(had + static_cast<size_t>(std::max<int64_t>(n, 0)));
      if (n <= 0) break;
      count -= n;
    }
    if (text.size() > kMaxStringBytes) Fail(self, ScriptError::FileRead);
    result = Value::String(text);
  });
}

void WriteText(TJObject& self, std::string_view text, Value& result) {
  platform::TSafeFileStream& stream = SyncedStream(self, ScriptError::FileWrite);
  int64_t written = 0;
  Guarded(ScriptError::FileWrite, FileOf(self).FileName(), [&] {
    for (int64_t n = 1; written < static_cast<int64_t>(text.size()) && n > 0; written += n)
      n = stream.Write(text.data() + written, static_cast<int64_t>(text.size()) - written);
  });
  if (written == 0 && !text.empty()) Fail(self, ScriptError::FileWrite);
  result = NumberValue(written);
}

void FWrite(TJObject& self, TJValueList& params, Value& result) {
  if (!FileOf(self).Stream().IsOpened()) Fail(self, ScriptError::FileWrite);
  if (params.GetCount() > 0) WriteText(self, ValueToString(params.GetValue(0)).view(), result);
}

void FWriteln(TJObject& self, TJValueList& params, Value& result) {
  if (!FileOf(self).Stream().IsOpened()) Fail(self, ScriptError::FileWrite);
  if (params.GetCount() > 0) WriteText(self, ArgText(params, 0) + "\r\n", result);
}

// The line without its line end and every other trailing byte below 33; the last line of
// a file that does not end in LF comes back as it is.
void FReadln(TJObject& self, TJValueList&, Value& result) {
  TJFileObject& file = FileOf(self);
  if (!file.Stream().IsOpened()) Fail(self, ScriptError::FileRead);
  std::string_view line;
  FileReadBuffer::Line kind = FileReadBuffer::Line::Terminated;
  if (!file.Buffer().LineInBlock(line)) {
    Guarded(ScriptError::FileRead, file.FileName(), [&] { kind = file.Buffer().ReadLine(file.Stream(), line, kMaxStringBytes); });
    if (kind == FileReadBuffer::Line::TooLong) Fail(self, ScriptError::FileRead);
  }
  if (kind == FileReadBuffer::Line::Terminated)
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 33) line.remove_suffix(1);
  file.LineText().Assign(line);
  result = Value::String(file.LineText());
}

void FEof(TJObject& self, TJValueList&, Value& result) {
  TJFileObject& file = FileOf(self);
  if (!file.Stream().IsOpened()) Fail(self, ScriptError::FileEof);
  Guarded(ScriptError::FileEof, file.FileName(), [&] { result = Value::Bool(file.Buffer().AtEnd(file.Stream())); });
}

void FSeek(TJObject& self, TJValueList& params, Value& result) {
  platform::TSafeFileStream& stream = SyncedStream(self, ScriptError::FileSeek);
  int64_t position = 0;
  if (params.GetCount() < 1 || !ValueToInt64(params.GetValue(0), position)) Fail(self, ScriptError::FileSeek);
  Guarded(ScriptError::FileSeek, FileOf(self).FileName(), [&] {
    if (position < 0) position += stream.Size();
    const int64_t at = position < 0 ? -1 : stream.Seek(position, platform::SeekOrigin::Begin);
    if (at < 0) Fail(self, ScriptError::FileSeek);
    result = NumberValue(at);
  });
}

// ---- the stream ----

void FOpen(TJObject& self, TJValueList& params, Value& result) {
  uint16_t mode = kFileModeDenyWrite;
  if (params.GetCount() > 0) {
    const std::string text = ArgText(params, 0);
    mode = kFileModeRead;
    for (char c : text) {
      if (c == 'w' || c == 'W') mode = kFileModeWrite;
    }
    for (char c : text) {
      if (c == 'd' || c == 'D') mode |= kFileModeDenyWrite;
    }
  }
  if (!FileOf(self).Open(mode)) Fail(self, ScriptError::FileOpen);
  result = Value::Bool(true);
}

void FClose(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(FileOf(self).Close()); }

void FIsOpened(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(FileOf(self).Stream().IsOpened()); }

void FFlush(TJObject& self, TJValueList&, Value& result) {
  platform::TSafeFileStream& stream = FileOf(self).Stream();
  result = Value::Bool(stream.IsOpened());
  stream.Flush();
}

void FCanRead(TJObject& self, TJValueList&, Value& result) {
  TJFileObject& file = FileOf(self);
  result = Value::Bool(file.Stream().IsOpened() && (file.Mode() & 3) == kFileModeRead);
}

void FCanWrite(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(FileOf(self).Mode() & kFileModeWrite); }

// ---- the named file ----

void FExists(TJObject& self, TJValueList& params, Value& result) {
  std::string os;
  std::error_code ec;
  result = Value::Bool(OsFileName(NameArg(self, params), os) && std::filesystem::exists(os, ec) &&
                       !std::filesystem::is_directory(os, ec));
}

void FRemove(TJObject& self, TJValueList&, Value& result) {
  TJFileObject& file = FileOf(self);
  file.Close();
  std::string os;
  struct stat st;
  if (!OsFileName(file.FileName(), os) || ::lstat(os.c_str(), &st) != 0 || S_ISDIR(st.st_mode) ||
      ::unlink(os.c_str()) != 0)
    Fail(self, ScriptError::FileRemove);
  result = Value::Bool(true);
}

void FRenameTo(TJObject& self, TJValueList& params, Value& result) {
  TJFileObject& file = FileOf(self);
  if (params.GetCount() < 1) Fail(self, ScriptError::FileRename);
  file.Close();
  const std::string target = ArgText(params, 0);
  std::string from, to;
  if (!OsFileName(file.FileName(), from) || !OsFileName(target, to)) Fail(self, ScriptError::FileRename);
  if (!RenameNoReplace(from, to)) Fail(self, ScriptError::FileRename);
  file.SetFileName(target);
  result = Value::Bool(true);
}

void FCopyTo(TJObject& self, TJValueList& params, Value& result) {
  TJFileObject& file = FileOf(self);
  if (params.GetCount() < 1) Fail(self, ScriptError::FileCopy);
  file.Close();
  std::string from, to;
  if (!OsFileName(file.FileName(), from) || !OsFileName(ArgText(params, 0), to) || !CopyFileReplacing(from, to))
    Fail(self, ScriptError::FileCopy);
  result = Value::Bool(true);
}

// ---- names ----

void FExtractName(TJObject& self, TJValueList& params, Value& result) { result = Value::String(ExtractFileName(NameArg(self, params))); }
void FExtractPath(TJObject& self, TJValueList& params, Value& result) { result = Value::String(ExtractFilePath(NameArg(self, params))); }
void FExtractDir(TJObject& self, TJValueList& params, Value& result) { result = Value::String(ExtractFileDir(NameArg(self, params))); }
void FExtractDrive(TJObject&, TJValueList&, Value& result) { result = Value::String(""); }
void FExtractExt(TJObject& self, TJValueList& params, Value& result) { result = Value::String(ExtractFileExt(NameArg(self, params))); }

void FChangeExt(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return void(result = Value::Null());
  const bool own = params.GetCount() == 1;
  result = Value::String(ChangeFileExt(own ? FileOf(self).FileName() : ArgText(params, 0), ArgText(params, own ? 0 : 1)));
}

void FExpandUNCFilename(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(ExpandFileName(NameArg(self, params)));
}

// No short names exist here: the full path of an existing file.
void FExtractShortPathName(TJObject& self, TJValueList& params, Value& result) {
  const std::string name = NameArg(self, params);
  std::error_code ec;
  result = Value::String(std::filesystem::exists(ScriptPathToOs(name), ec) ? ExpandFileName(name) : "");
}

// ---- properties ----

Value GetFileLength(TJObject& self) {
  TJFileObject& file = FileOf(self);
  if (!file.Stream().IsOpened()) return NumberValue(GetFileSizeByName(file.FileName()));
  int64_t size = 0;
  Guarded(ScriptError::FileRead, file.FileName(), [&] { size = file.Stream().Size(); });
  return NumberValue(size);
}

// A new Date of the file's last change; of now for a file that does not exist.
Value GetLastModified(TJObject& self) {
  timespec t{};
  struct stat st;
  std::string os;
  if (OsFileName(FileOf(self).FileName(), os) && ::stat(os.c_str(), &st) == 0) t = st.st_mtim;
  else clock_gettime(CLOCK_REALTIME, &t);
  if (!self.Engine()) return Value();
  TJValueList ms{Value::Double(static_cast<double>(t.tv_sec) * 1000 + t.tv_nsec / 1000000)};
  return self.Engine()->Factory().Create("Date", &ms);
}

Value GetFileName(TJObject& self) { return Value::String(FileOf(self).FileName()); }
void SetFileName(TJObject& self, const Value& v) { FileOf(self).SetFileName(ValueToStdString(v)); }

constexpr PropDef kFileProps[] = {{"length", GetFileLength, nullptr},
                              {"lastModified", GetLastModified, nullptr},
                              {"filename", GetFileName, SetFileName},
                              {"path", GetFileName, SetFileName}};

}  // namespace

// ---- FileReadBuffer ----

FileReadBuffer::Line FileReadBuffer::ReadLine(platform::TSafeFileStream& stream, std::string_view& line,
                                              size_t max_bytes) {
  if (!active_) {
    start_ = std::max<int64_t>(stream.Seek(0, platform::SeekOrigin::Current), 0);
    data_.clear();
    next_ = 0;
    active_ = true;
  }
  const int64_t from = start_ + static_cast<int64_t>(next_);
  spill_.clear();
  bool spilled = false;
  for (;;) {
    if (next_ == data_.size()) {
      start_ += static_cast<int64_t>(data_.size());
      next_ = 0;
      data_.resize(block_);
      const int64_t n = stream.Read(data_.data(), static_cast<int64_t>(block_));
      data_.resize(static_cast<size_t>(std::max<int64_t>(n, 0)));
      if (data_.empty()) {
        line = spill_;
        return Line::Unterminated;
      }
    }
    const char* at = data_.data() + next_;
    const size_t available = data_.size() - next_;
    const auto* lf = static_cast<const char*>(std::memchr(at, '\n', available));
    const size_t take = lf ? static_cast<size_t>(lf - at) + 1 : available;
    if (spill_.size() + take > max_bytes) {
      stream.Seek(from, platform::SeekOrigin::Begin);
      Reset();
      return Line::TooLong;
    }
    next_ += take;
    if (lf && !spilled) {
      line = std::string_view(at, take);
      return Line::Terminated;
    }
    spill_.append(at, take);
    spilled = true;
    if (lf) {
      line = spill_;
      return Line::Terminated;
    }
  }
}

int64_t FileReadBuffer::Position(platform::TSafeFileStream& stream) const {
  return active_ ? start_ + static_cast<int64_t>(next_) : stream.Seek(0, platform::SeekOrigin::Current);
}

bool FileReadBuffer::AtEnd(platform::TSafeFileStream& stream) {
  // Bytes read ahead past the position are bytes of the file: the end is further on.
  if (active_ && next_ < data_.size()) return false;
  return Position(stream) >= stream.Size();
}

void FileReadBuffer::Sync(platform::TSafeFileStream& stream) {
  if (!active_) return;
  stream.Seek(start_ + static_cast<int64_t>(next_), platform::SeekOrigin::Begin);
  Reset();
}

void FileReadBuffer::Reset() {
  active_ = false;
  data_.clear();
  spill_.clear();
  next_ = 0;
}

// ---- TJFileObject ----

TJFileObject::TJFileObject(BaseEngine* engine, std::string file_name)
    : TJObject(engine), file_name_(std::move(file_name)), props_(*this, kFileProps) {
  SetObjectName("File");
}

const ClassInfo& TJFileObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"read", FRead}, {"open", FOpen}, {"close", FClose}, {"isOpened", FIsOpened}, {"write", FWrite},
       {"writeln", FWriteln}, {"flush", FFlush}, {"readln", FReadln}, {"eof", FEof}, {"exists", FExists},
       {"remove", FRemove}, {"renameTo", FRenameTo}, {"copyTo", FCopyTo}, {"canRead", FCanRead},
       {"canWrite", FCanWrite}, {"seek", FSeek}, {"extractName", FExtractName}, {"extractPath", FExtractPath},
       {"extractDir", FExtractDir}, {"extractDrive", FExtractDrive}, {"extractExt", FExtractExt},
       {"changeExt", FChangeExt}, {"expandUNCFilename", FExpandUNCFilename},
       {"extractShortPathName", FExtractShortPathName}});
  return info;
}

bool TJFileObject::Open(uint16_t mode) {
  Close();
  std::string os;
  if (!OsFileName(file_name_, os) || !stream_.Open(os, mode, false)) return false;
  mode_ = mode;
  return true;
}

bool TJFileObject::Close() {
  const bool was_open = stream_.IsOpened();
  stream_.Close(false);
  buffer_.Reset();
  line_text_ = StrRef();
  mode_ = 0;
  return was_open;
}

void RegisterFile(TJEngine& engine) {
  engine.RegisterObjectClass("File", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJFileObject(e, p && p->GetCount() > 0 ? ValueToStdString(p->GetValue(0)) : std::string());
  }, true);
}

}  // namespace kestrin::script
