// FTP directory listings: the entry record, the parsers of one LIST line (Unix "ls -l"
// lines and DOS lines) and the list that keeps the entries in arrival order with an index
// by name. The parsers work on one line and take "now" as an argument, so the year rules
// of the dates can be tested against a fixed clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/objects/net/http_date.h"

namespace kestrin::script {

// One listing entry. Date is the listed clock time as a local-time day count.
struct TFTPFileProperty {
  enum Kind : uint8_t { kNone = 0, kDirectory = 1, kFile = 2, kLink = 3 };
  uint8_t Kind = kNone;
  int64_t Size = 0;
  std::string Name;
  TDateTime Date = 0;
  // Owner read, write, execute; group read, write, execute; others read, write, execute.
  bool Permissions[9] = {};
  // The listing line the entry was made from.
  std::string Line;

  // The nine flags as a decimal mode number: rwxr-xr-x gives 755.
  int Mode() const;
};

// Parser choice of TFTPDirectoryList.
enum TFTPListStyle : uint8_t { lsAutomatic = 0, lsUnix = 1, lsDos = 2 };

// The current local time as a day count (the listings' clock).
TDateTime NowLocal();

// Parse one listing line into `entry` (reset first, dated `now`); false when the line gives
// no entry. A size that is not a number in a line the parser accepted raises
// ConversionError. Names with blanks keep only their last word (Unix) or their first (DOS).
bool ParseFtpListLine(std::string_view line, TFTPListStyle style, TDateTime now, TFTPFileProperty& entry);
bool ParseUnixListLine(std::string_view line, TDateTime now, TFTPFileProperty& entry);
bool ParseDosListLine(std::string_view line, TDateTime now, TFTPFileProperty& entry);

class TFTPDirectoryList {
public:
  TFTPDirectoryList() = default;
  virtual ~TFTPDirectoryList() = default;
  TFTPDirectoryList(const TFTPDirectoryList&) = delete;
  TFTPDirectoryList& operator=(const TFTPDirectoryList&) = delete;

  TFTPListStyle ListStyle = lsAutomatic;
  // The clock the date rules compare with.
  TDateTime (*Now)() = NowLocal;

  // Parses a LIST line; an accepted line is appended and indexed by its name (a later entry
  // of a name replaces the earlier one in the index only).
  virtual void Add(std::string_view line);
  // Appends an NLST line: the whole line (trimmed) is a file name, blanks included.
  void AddName(std::string_view line);
  virtual void Assign(const TFTPDirectoryList& source);
  void Clear();
  void Delete(size_t index);
  size_t Count() const { return entries_.size(); }
  const TFTPFileProperty& Items(size_t index) const { return *entries_.at(index); }
  bool HasName(const std::string& name) const { return index_.count(name) != 0; }
  // The entry the index holds for `name`; nullptr when none.
  const TFTPFileProperty* Find(const std::string& name) const;

private:
  void Append(const TFTPFileProperty& entry);

  std::vector<std::unique_ptr<TFTPFileProperty>> entries_;
  std::unordered_map<std::string, const TFTPFileProperty*> index_;
};

}  // namespace kestrin::script
