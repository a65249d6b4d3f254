// Tree text: the reader and the writer of the one-node-per-line form.
#include "platform/gui/tree_text.h"

#include "base/cp932.h"

namespace kgui {

using kestrin::cp932_to_utf8;
using kestrin::is_valid_utf8;
using kestrin::utf8_to_cp932;

namespace {

std::string DecodedText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF" && is_valid_utf8(bytes.substr(3))) return std::string(bytes.substr(3));
  if (is_valid_utf8(bytes)) return std::string(bytes);
  return cp932_to_utf8(bytes);
}

// The next line of text from `at`, its line end (CR LF, LF or CR) passed.
std::string_view NextLine(std::string_view text, size_t& at) {
  const size_t start = at;
  const size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) {
    at = text.size();
    return text.substr(start);
  }
  at = end + 1;
  if (text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
  return text.substr(start, end - start);
}

}  // namespace

TreeTextRead ReadTreeText(std::string_view bytes, int max_depth) {
  TreeTextRead read;
  const std::string text = DecodedText(bytes);
  int previous = -1;
  for (size_t at = 0; at < text.size();) {
    const std::string_view line = NextLine(text, at);
    if (line.empty()) continue;
    const size_t indent = line.find_first_not_of("\t ");
    const size_t depth = indent == std::string_view::npos ? line.size() : indent;
    std::string item(line.substr(depth));
    if (depth >= static_cast<size_t>(max_depth)) {
      read.lines.clear();
      read.error = "tree too deep";
      return read;
    }
    const int level = static_cast<int>(depth);
    if (level > previous + 1) {
      read.lines.clear();
      read.error = "Invalid level (" + std::to_string(level) + ") for item \"" + item + "\"";
      return read;
    }
    read.lines.push_back({level, std::move(item)});
    previous = level;
  }
  return read;
}

std::string WriteTreeText(const std::vector<TreeTextLine>& lines) {
  std::string out;
  for (const TreeTextLine& line : lines) {
    out.append(static_cast<size_t>(line.level), '\t');
    out += utf8_to_cp932(line.text);
    out += "\r\n";
  }
  return out;
}

}  // namespace kgui
