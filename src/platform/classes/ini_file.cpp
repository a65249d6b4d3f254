// TMemIniFile: parsing the lines into sections and entries, the edits, and the atomic
// write-back.
#include "platform/classes/ini_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "base/text_file.h"

namespace kgui {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsComment(std::string_view trimmed) { return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#'); }

bool IsHeader(std::string_view trimmed) { return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']'; }

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

TMemIniFile::TMemIniFile(std::string file_name, kestrin::TextCompare compare)
    : file_name_(std::move(file_name)), compare_(compare ? compare : kestrin::compare_text_cp932) {}

void TMemIniFile::Load() {
  struct stat st;
  if (::stat(file_name_.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) return SetText("");
  std::string text, error;
  if (!kestrin::read_file_bytes(file_name_, text, &error, kMaxIniFileBytes + 1)) throw EIniFileError(error);
  if (text.size() > kMaxIniFileBytes) throw EIniFileError("INI file too large: " + file_name_);
  SetText(text);
}

void TMemIniFile::SetText(std::string_view text) {
  preamble_.clear();
  sections_.clear();
  for (const std::string& raw : kestrin::split_lines(text)) {
    const std::string_view t = Trim(raw);
    if (IsHeader(t)) {
      sections_.push_back(Section{std::string(Trim(t.substr(1, t.size() - 2))), raw, {}});
      continue;
    }
    Line line{raw, {}, {}, false};
    const size_t eq = t.find('=');
    if (!sections_.empty() && !IsComment(t) && eq != std::string_view::npos) {
      line.entry = true;
      line.key = Trim(t.substr(0, eq));
      line.value = Trim(t.substr(eq + 1));
    }
    (sections_.empty() ? preamble_ : sections_.back().lines).push_back(std::move(line));
  }
}

std::string TMemIniFile::Text() const {
  std::string out;
  auto put = [&out](const Line& l) {
    if (!l.raw.empty() || !l.entry) kestrin::put_line(out, l.raw);
    else kestrin::put_line(out, l.key + "=" + l.value);
  };
  for (const Line& l : preamble_) put(l);
  for (const Section& s : sections_) {
    kestrin::put_line(out, s.raw.empty() ? "[" + s.name + "]" : s.raw);
    for (const Line& l : s.lines) put(l);
  }
  return out;
}

TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) {
  const std::string_view n = Trim(name);
  for (Section& s : sections_)
    if (Same(s.name, n)) return &s;
  return nullptr;
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const {
  return const_cast<TMemIniFile*>(this)->FindSection(name);
}

TMemIniFile::Line* TMemIniFile::FindKey(Section& section, std::string_view key) const {
  const std::string_view k = Trim(key);
  for (Line& l : section.lines)
    if (l.entry && Same(l.key, k)) return &l;
  return nullptr;
}

bool TMemIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> TMemIniFile::ReadSections() const {
  std::vector<std::string> out;
  for (const Section& s : sections_)
    if (FindSection(s.name) == &s) out.push_back(s.name);
  return out;
}

std::vector<std::string> TMemIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> out;
  if (const Section* s = FindSection(section))
    for (const Line& l : s->lines)
      if (l.entry) out.push_back(l.key);
  return out;
}

bool TMemIniFile::ReadString(std::string_view section, std::string_view key, std::string& value) const {
  const Section* s = FindSection(section);
  const Line* l = s ? FindKey(const_cast<Section&>(*s), key) : nullptr;
  if (!l) return false;
  value = l->value;
  return true;
}

bool TMemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view name = Trim(section), k = Trim(key), v = Trim(value);
  if (HasLineBreak(name) || HasLineBreak(k) || HasLineBreak(v) || k.find('=') != std::string_view::npos ||
      IsComment(k) || (!k.empty() && k[0] == '['))
    return false;
  Section* s = FindSection(name);
  if (!s) s = &sections_.emplace_back(Section{std::string(name), {}, {}});
  if (Line* l = FindKey(*s, k)) {
    if (l->value != v) l->raw.clear();
    l->value = v;
    return true;
  }
  // A new key goes after the section's last entry, before the blank lines that end it.
  auto at = s->lines.end();
  while (at != s->lines.begin() && !(at - 1)->entry && Trim((at - 1)->raw).empty()) --at;
  s->lines.insert(at, Line{{}, std::string(k), std::string(v), true});
  return true;
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view key) {
  Section* s = FindSection(section);
  if (!s) return;
  if (Line* l = FindKey(*s, key)) s->lines.erase(s->lines.begin() + (l - s->lines.data()));
}

void TMemIniFile::EraseSection(std::string_view section) {
  const std::string_view n = Trim(section);
  std::erase_if(sections_, [&](const Section& s) { return Same(s.name, n); });
}

bool TMemIniFile::UpdateFile(std::string* error) const { return kestrin::write_file_bytes(file_name_, Text(), error); }

}  // namespace kgui
