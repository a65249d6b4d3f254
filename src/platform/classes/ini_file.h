// TMemIniFile: an INI file held in memory, read when it is made and written back whole by
// UpdateFile. Sections and keys are compared through the owner's comparison; names and
// values are trimmed of blanks ("key = value" reads "value"); comments, blank lines and
// lines that are neither keep their place across an update.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_compare.h"

namespace kgui {

// A file that exists but cannot be read as an INI file.
class EIniFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Largest INI file read; a bigger file is refused rather than held in memory.
inline constexpr size_t kMaxIniFileBytes = size_t{64} << 20;

class TMemIniFile {
public:
  // An empty INI that UpdateFile writes to `file_name`.
  explicit TMemIniFile(std::string file_name, kestrin::TextCompare compare = kestrin::compare_text_cp932);
  // Reads the file: a missing file (or folder) gives an empty INI; one that exists but
  // cannot be read, or is larger than kMaxIniFileBytes, raises EIniFileError.
  void Load();

  // Replaces the contents by the lines of `text` (CR LF, LF or CR between them).
  void SetText(std::string_view text);
  // The file's text: every line followed by CR LF.
  std::string Text() const;

  const std::string& FileName() const { return file_name_; }
  bool SectionExists(std::string_view section) const;
  // Section names in file order, each name once.
  std::vector<std::string> ReadSections() const;
  // Key names of the section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // False when the section or key is absent.
  bool ReadString(std::string_view section, std::string_view key, std::string& value) const;
  // Stores the value (trimmed), adding the key at the section's end and the section at
  // the file's end when missing. False, and nothing changed, for what a line cannot hold:
  // a line break anywhere, "=" in the key, or a key that would read back as a comment or
  // a section header.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes every section of that name with its lines.
  void EraseSection(std::string_view section);
  // Writes the text to a file beside FileName() and renames it over the file; false (the
  // old file untouched) with the reason in `error`.
  bool UpdateFile(std::string* error = nullptr) const;

private:
  struct Line {
    std::string raw;  // the line as read; empty for a line made here
    std::string key;
    std::string value;
    bool entry = false;
  };
  struct Section {
    std::string name;
    std::string raw;  // the header as read
    std::vector<Line> lines;
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  Line* FindKey(Section& section, std::string_view key) const;
  bool Same(std::string_view a, std::string_view b) const { return compare_(a, b) == 0; }

  std::string file_name_;
  kestrin::TextCompare compare_;
  std::vector<Line> preamble_;  // lines before the first section
  std::vector<Section> sections_;
};

}  // namespace kgui
