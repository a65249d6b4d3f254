// The two comma splitters and the CSV header test.
#include "base/comma_text.h"

#include "base/convert.h"
#include "base/text_file.h"

namespace kestrin {
namespace {

bool is_control(char c) { return c != 0 && static_cast<unsigned char>(c) < ' '; }
bool is_blank(char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; }

// Reads the double-quoted item that starts at text[i]; doubled quotes stand for one, and
// a missing closing quote takes the rest of the text.
std::string read_quoted(std::string_view text, size_t& i) {
  std::string s;
  ++i;
  while (i < text.size()) {
    if (text[i] == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        s += '"';
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    s += text[i++];
  }
  return s;
}

// The loop both splitters share; `skip` tells the characters that separate items besides
// the comma (and are dropped around it).
template <typename Skip>
std::vector<std::string> split(std::string_view text, Skip skip, bool comma_at_end_only) {
  std::vector<std::string> items;
  size_t i = 0;
  while (i < text.size() && skip(text[i])) ++i;
  while (i < text.size()) {
    if (text[i] == '"') {
      items.push_back(read_quoted(text, i));
    } else {
      const size_t start = i;
      while (i < text.size() && !skip(text[i]) && text[i] != ',') ++i;
      items.emplace_back(text.substr(start, i - start));
    }
    while (i < text.size() && skip(text[i])) ++i;
    if (i < text.size() && text[i] == ',') {
      // The string lists add the empty last item only for a comma that is the text's very
      // last character; the CSV cells also after trailing control characters.
      if (comma_at_end_only && i + 1 == text.size()) items.emplace_back();
      do ++i;
      while (i < text.size() && skip(text[i]));
      if (!comma_at_end_only && i == text.size()) items.emplace_back();
    }
  }
  return items;
}

}  // namespace

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::vector<std::string> split_comma_text(std::string_view text) { return split(text, is_blank, true); }

std::vector<std::string> split_commas(std::string_view line) { return split(line, is_control, false); }

bool csv_has_header(const std::string& file_name) {
  for (const std::string& cell : split_comma_text(Trim(read_first_line(file_name)))) {
    const std::string_view text = Trim(cell);
    if (text.empty()) return false;
    if (!is_numeric(text)) return true;
  }
  return false;
}

}  // namespace kestrin
