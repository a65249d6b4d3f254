// Mail messages: the parse of a fetched text into headers, body and attachment files, and
// the composition of the text to send.
#include "script/objects/net/mail_message.h"

#include <filesystem>

#include "base/base64.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "platform/system/safe_file_stream.h"
#include "script/core/script_string.h"
#include "script/objects/net/http_date.h"
#include "script/builtins/time_utils.h"
#include "script/objects/net/net_utils.h"
#include "script/objects/net/socket_errors.h"

namespace kestrin::script {
namespace {

constexpr int kBoundaryLength = 42;
// RFC 2045: encoded lines of at most 76 characters.
constexpr size_t kBase64LineLength = 76;
// The headers Compose writes itself; a copy of them in the table would make a second,
// contradicting header (a parsed message's old boundary, say).
constexpr const char* kComposedHeaders[] = {"Content-Type", "Date", "MIME-Version", "Content-Transfer-Encoding"};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string join_lines(const std::vector<std::string>& lines, size_t first, size_t last) {
  std::string text;
  for (size_t i = first; i < last; ++i) {
    if (i > first) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// Header lines into `table`: "name: value" (both trimmed), a line without ":" a name with
// an empty value, and a line starting with a blank or tab (RFC 5322 folding) continuing the
// value before it.
void store_headers(const std::vector<std::string>& lines, size_t first, size_t last, TStringHashTable& table) {
  std::string name, value;
  bool open = false;
  auto flush = [&] {
    if (open) table.SetValue(name, TrimText(value));
    open = false;
  };
  for (size_t i = first; i < last; ++i) {
    const std::string& line = lines[i];
    if (open && !line.empty() && is_blank(line[0])) {
      value += line;
      continue;
    }
    flush();
    const size_t colon = line.find(':');
    name = TrimText(std::string_view(line).substr(0, colon));
    value = colon == std::string::npos ? std::string() : line.substr(colon + 1);
    open = true;
  }
  flush();
}

size_t first_empty_line(const std::vector<std::string>& lines, size_t first, size_t last) {
  for (size_t i = first; i < last; ++i)
    if (lines[i].empty()) return i;
  return last;
}

// A file name without any folder part before "/" or "\" (a trail byte of a two-byte
// character is never a separator).
std::string without_folder(std::string_view name) {
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c)) ++i;
    else if (c == '/' || c == '\\') start = i + 1;
  }
  return std::string(name.substr(start));
}

bool contains_lower(std::string_view value, std::string_view what) {
  return to_lower_ascii(value).find(what) != std::string::npos;
}

enum class Delimiter { None, Next, Close };

// RFC 2046: "--" and the boundary, then "--" for the last one, else only blanks.
Delimiter delimiter_of(std::string_view line, const std::string& boundary) {
  if (line.size() < boundary.size() + 2 || line.substr(0, 2) != "--" || line.substr(2, boundary.size()) != boundary)
    return Delimiter::None;
  const std::string_view rest = line.substr(boundary.size() + 2);
  if (rest.substr(0, 2) == "--") return Delimiter::Close;
  return TrimText(rest).empty() ? Delimiter::Next : Delimiter::None;
}

void add_base64_lines(std::vector<std::string>& lines, std::string_view bytes) {
  const std::string encoded = EncodeBase64(bytes);
  for (size_t pos = 0; pos < encoded.size(); pos += kBase64LineLength) lines.push_back(encoded.substr(pos, kBase64LineLength));
}

}  // namespace

std::string MimeParameter(std::string_view value, std::string_view name) {
  size_t i = value.find(';');
  while (i != std::string_view::npos && i < value.size()) {
    ++i;  // past ";"
    const size_t equals = value.find_first_of("=;", i);
    if (equals == std::string_view::npos) return std::string();
    const std::string key = TrimText(value.substr(i, equals - i));
    if (value[equals] == ';') {
      i = equals;
      continue;
    }
    size_t v = equals + 1;
    while (v < value.size() && is_blank(value[v])) ++v;
    std::string parameter;
    if (v < value.size() && value[v] == '"') {
      const size_t close = value.find('"', v + 1);
      parameter = std::string(value.substr(v + 1, close == std::string_view::npos ? std::string_view::npos : close - v - 1));
      i = close == std::string_view::npos ? close : value.find(';', close);
    } else {
      i = value.find(';', v);
      parameter = TrimText(value.substr(v, i == std::string_view::npos ? std::string_view::npos : i - v));
    }
    if (iequals(key, name)) return parameter;
  }
  return std::string();
}

TMailMessage::TMailMessage() { Reset(); }

void TMailMessage::Reset() {
  Attachments.clear();
  Headers.Clear();
  HeaderLines.clear();
  Number = 0;
  Length = 0;
  BodyLines.clear();
  Body.clear();
  AttachPath.clear();
  Boundary = RandomString(kBoundaryLength);
}

std::string TMailMessage::GetHeader(std::string_view name) const { return Headers.GetValue(name); }

void TMailMessage::Assign(const TMailMessage& source) {
  if (&source == this) return;
  Reset();
  Attachments = source.Attachments;
  HeaderLines = source.HeaderLines;
  BodyLines = source.BodyLines;
  Number = source.Number;
  Length = source.Length;
  Body = source.Body;
  Boundary = source.Boundary;
  AttachPath = source.AttachPath;
  source.Headers.ForEach([&](const std::string& key, const std::string& value) { Headers.SetValue(key, value); });
}

std::vector<TMailAttachment> TMailMessage::ParseText(std::string_view text) {
  const std::string attach_path = AttachPath;
  Reset();
  AttachPath = attach_path;
  const std::vector<std::string> lines = split_lines(text);
  const size_t header_end = first_empty_line(lines, 0, lines.size());
  HeaderLines.assign(lines.begin(), lines.begin() + static_cast<ptrdiff_t>(header_end));
  BodyLines.assign(lines.begin() + static_cast<ptrdiff_t>(std::min(header_end + 1, lines.size())), lines.end());
  store_headers(HeaderLines, 0, HeaderLines.size(), Headers);

  const std::string content_type = GetHeader("Content-Type");
  const std::string boundary = contains_lower(content_type, "multipart/mixed") ? MimeParameter(content_type, "boundary") : "";
  if (boundary.empty()) {
    Body = join_lines(BodyLines, 0, BodyLines.size());
    return {};
  }
  Boundary = boundary;
  std::vector<TMailAttachment> attachments;
  int text_parts = 0;
  // One part: its own headers to its first empty line, then its content.
  auto parse_part = [&](size_t first, size_t last) {
    const size_t part_header_end = first_empty_line(BodyLines, first, last);
    TStringHashTable part_headers(13, true);
    store_headers(BodyLines, first, part_header_end, part_headers);
    std::string content = join_lines(BodyLines, std::min(part_header_end + 1, last), last);
    const std::string type = part_headers.GetValue("Content-Type");
    if (contains_lower(type, "text/plain")) {
      if (text_parts++ > 0) Body += "\r\n";
      Body += content;
      return;
    }
    if (attachments.size() >= kMaxMailAttachments) throw ELocalError("too many attachments");
    std::string name = MimeParameter(type, "name");
    if (name.empty()) name = MimeParameter(part_headers.GetValue("Content-Disposition"), "filename");
    if (to_lower_ascii(TrimText(part_headers.GetValue("Content-Transfer-Encoding"))) == "base64")
      content = DecodeBase64(content);
    attachments.push_back({std::move(name), std::move(content)});
  };
  size_t part_start = 0;
  bool in_part = false;
  for (size_t i = 0; i < BodyLines.size(); ++i) {
    const Delimiter d = delimiter_of(BodyLines[i], Boundary);
    if (d == Delimiter::None) continue;
    if (in_part) parse_part(part_start, i);
    in_part = d == Delimiter::Next;
    part_start = i + 1;
    if (d == Delimiter::Close) return attachments;
  }
  // A message cut off before its closing delimiter keeps the part it ended in.
  if (in_part && part_start < BodyLines.size()) parse_part(part_start, BodyLines.size());
  return attachments;
}

void TMailMessage::Parse(std::string_view text) {
  for (const TMailAttachment& attachment : ParseText(text)) Attachments.push_back(SaveAttachment(attachment));
}

std::string TMailMessage::SaveAttachment(const TMailAttachment& attachment) const {
  const std::string name = without_folder(attachment.name);
  std::string path;
  if (name.empty() || name == "." || name == "..") {
    path = MakeTempFileName("gpop3");
    if (path.empty()) throw ELocalError("cannot make a temporary file");
  } else {
    std::string folder = AttachPath;
    if (folder.empty()) {
      std::error_code ec;
      folder = std::filesystem::temp_directory_path(ec).string();
      if (ec || folder.empty()) folder = "/tmp";
    }
    if (folder.back() != '/') folder += '/';
    path = folder + name;
  }
  std::string error;
  if (!write_file_bytes(path, attachment.content, &error)) throw ELocalError(error);
  return path;
}

void TMailMessage::CheckHeaders() const {
  Headers.ForEach([](const std::string& name, const std::string& value) {
    if (name.find_first_of("\r\n") != std::string::npos || value.find_first_of("\r\n") != std::string::npos)
      throw ELocalError("line break in the mail header " + name.substr(0, name.find_first_of("\r\n")));
  });
}

std::string TMailMessage::Compose() {
  CheckHeaders();
  Boundary = RandomString(kBoundaryLength);
  HeaderLines.clear();
  BodyLines.clear();
  for (const std::string& key : Headers.Keys()) {
    bool composed = false;
    for (const char* own : kComposedHeaders) composed = composed || iequals(key, own);
    if (!composed) HeaderLines.push_back(key + ": " + GetHeader(key));
  }
  // Parameters go on a folded line of their own, so no header line passes 78 characters.
  if (Attachments.empty()) {
    HeaderLines.push_back("Content-Type: text/plain; charset=\"iso-2022-jp\"");
  } else {
    HeaderLines.push_back("Content-Type: multipart/mixed;");
    HeaderLines.push_back(" boundary=\"" + Boundary + "\"");
  }
  HeaderLines.push_back("Date: " + DateTimeToRFC1123(NowUTC()));
  HeaderLines.push_back("MIME-Version: 1.0");
  HeaderLines.push_back("Content-Transfer-Encoding: 7bit");
  HeaderLines.push_back("");

  const std::vector<std::string> body = split_lines(Body);
  if (Attachments.empty()) {
    BodyLines = body;
  } else {
    BodyLines = {"--" + Boundary, "Content-Type: text/plain", ""};
    BodyLines.insert(BodyLines.end(), body.begin(), body.end());
    for (const std::string& path : Attachments) {
      std::string bytes;
      if (!read_file_bytes(path, bytes)) throw platform::EFOpenError(path);
      const std::string name = file_name_of(path);
      BodyLines.push_back("--" + Boundary);
      BodyLines.push_back("Content-Type: application/octet-stream;");
      BodyLines.push_back(" name=\"" + name + "\"");
      BodyLines.push_back("Content-Disposition: filename=\"" + name + "\"");
      BodyLines.push_back("Content-Transfer-Encoding: Base64");
      BodyLines.push_back("");
      add_base64_lines(BodyLines, bytes);
    }
    BodyLines.push_back("--" + Boundary + "--");
  }
  std::string text;
  for (const std::string& line : HeaderLines) put_line(text, line);
  for (const std::string& line : BodyLines) put_line(text, line);
  return text;
}

}  // namespace kestrin::script
