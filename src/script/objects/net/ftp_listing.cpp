// The LIST line parsers and the directory list.
#include "script/objects/net/ftp_listing.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/convert.h"
#include "base/paths.h"
#include "script/builtins/time_utils.h"
#include "script/objects/net/net_utils.h"

namespace kestrin::script {
namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

// The words of a line between runs of white space.
std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && is_white(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !is_white(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A listed size: decimal digits only, else the platform's integer conversion error.
int64_t size_of(std::string_view text) {
  const bool digits = !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits) throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
  return std::stoll(std::string(text));
}

// A short unsigned number; -1 when the text is not one.
int small_number(std::string_view text) {
  if (text.empty() || text.size() > 4) return -1;
  int n = 0;
  for (char c : text) {
    if (!is_ascii_digit(c)) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// The same date twelve months earlier; a 29 February becomes the 28th.
TDateTime year_earlier(TDateTime date) {
  TSystemTime t = DecodeDateTime(date);
  t.Year -= 1;
  if (t.Month == 2 && t.Day == 29) t.Day = 28;
  TDateTime earlier = date;
  EncodeDateTime(t, earlier);
  return earlier;
}

// A listing is written by a server whose clock and time zone may differ from ours by up to
// a day; a time-dated entry is moved to the previous year only when it lies beyond that.
constexpr double kClockSlackDays = 1.0;

void reset(TFTPFileProperty& entry, std::string_view line, TDateTime now) {
  entry = TFTPFileProperty();
  entry.Date = now;
  entry.Line = std::string(line);
}

// "Mon dd hh:mm" or "Mon dd yyyy": the date of a Unix line from its fourth, third and
// second words from the end. The year of a time-dated entry is the one that puts it
// before now; an unreadable date leaves `now`.
TDateTime unix_date(const std::vector<std::string_view>& w, TDateTime now) {
  const size_t n = w.size();
  TSystemTime t = DecodeDateTime(now);
  t.Month = MonthFromName(w[n - 4]);
  t.Day = std::max(small_number(w[n - 3]), 0);
  t.Hour = t.Minute = t.Second = 0;
  const std::string_view year_or_time = w[n - 2];
  const size_t colon = year_or_time.find(':');
  const bool has_time = colon != std::string_view::npos;
  if (has_time) {
    t.Hour = std::max(small_number(year_or_time.substr(0, colon)), 0);
    t.Minute = std::max(small_number(year_or_time.substr(colon + 1, 2)), 0);
  } else if (const int year = small_number(year_or_time); year > 0) {
    t.Year = year;
  }
  TDateTime date = now;
  if (!EncodeDateTime(t, date)) return now;
  if (has_time && date > now + kClockSlackDays) date = year_earlier(date);
  return date;
}

// "mm-dd-yy" (or with "/", or a four-digit year) and "hh:nn" with an optional AM or PM;
// two-digit years 00-49 are 20xx, 50-99 19xx.
bool dos_date(std::string_view date, std::string_view time, TDateTime& out) {
  const size_t a = date.find_first_of("-/"), b = date.find_first_of("-/", a + 1);
  if (a == std::string_view::npos || b == std::string_view::npos) return false;
  TSystemTime t;
  t.Month = small_number(date.substr(0, a));
  t.Day = small_number(date.substr(a + 1, b - a - 1));
  const std::string_view year = date.substr(b + 1);
  t.Year = small_number(year);
  if (year.size() == 2 && t.Year >= 0) t.Year += t.Year < 50 ? 2000 : 1900;
  else if (year.size() != 4) return false;
  const size_t colon = time.find(':');
  if (colon == std::string_view::npos) return false;
  size_t end = colon + 1;
  while (end < time.size() && is_ascii_digit(time[end])) ++end;
  t.Hour = small_number(time.substr(0, colon));
  t.Minute = small_number(time.substr(colon + 1, end - colon - 1));
  const std::string half = to_lower_ascii(time.substr(end));
  if (!half.empty()) {
    if ((half != "am" && half != "pm") || t.Hour < 1 || t.Hour > 12) return false;
    t.Hour = t.Hour % 12 + (half == "pm" ? 12 : 0);
  }
  return EncodeDateTime(t, out);
}

}  // namespace

int TFTPFileProperty::Mode() const {
  static constexpr std::array<int, 9> kBits = {400, 200, 100, 40, 20, 10, 4, 2, 1};
  int mode = 0;
  for (size_t i = 0; i < kBits.size(); ++i)
    if (Permissions[i]) mode += kBits[i];
  return mode;
}

TDateTime NowLocal() { return GMTToLocalTime(NowUTC()); }

bool ParseUnixListLine(std::string_view line, TDateTime now, TFTPFileProperty& entry) {
  reset(entry, line, now);
  const std::vector<std::string_view> w = words_of(line);
  if (w.size() < 5) return false;
  switch (w[0][0]) {
    case '-': entry.Kind = TFTPFileProperty::kFile; break;
    case 'd': entry.Kind = TFTPFileProperty::kDirectory; break;
    case 'l': entry.Kind = TFTPFileProperty::kLink; break;
    default: return false;
  }
  entry.Name = std::string(w.back());
  entry.Size = size_of(w[4]);
  entry.Date = unix_date(w, now);
  return true;
}

bool ParseDosListLine(std::string_view line, TDateTime now, TFTPFileProperty& entry) {
  reset(entry, line, now);
  const std::vector<std::string_view> w = words_of(line);
  if (w.size() < 4 || !dos_date(w[0], w[1], entry.Date)) {
    entry.Date = now;
    return false;
  }
  if (line.find("<DIR>") != std::string_view::npos) {
    entry.Kind = TFTPFileProperty::kDirectory;
  } else {
    entry.Kind = TFTPFileProperty::kFile;
    entry.Size = size_of(RemoveCommas(w[2]));
  }
  entry.Name = std::string(w[3]);
  return true;
}

bool ParseFtpListLine(std::string_view line, TFTPListStyle style, TDateTime now, TFTPFileProperty& entry) {
  if (style == lsUnix) return ParseUnixListLine(line, now, entry);
  if (style == lsDos) return ParseDosListLine(line, now, entry);
  reset(entry, line, now);
  const std::string trimmed = TrimText(line);
  if (trimmed.empty() || to_lower_ascii(trimmed.substr(0, 5)) == "total") return false;
  const std::vector<std::string_view> w = words_of(trimmed);
  if (w.size() == 1) {
    entry.Kind = TFTPFileProperty::kFile;
    entry.Name = trimmed;
    return true;
  }
  const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(trimmed[0])));
  if (first == '-' || first == 'd' || first == 'l' || first == 's') return ParseUnixListLine(line, now, entry);
  if (is_ascii_digit(first)) return ParseDosListLine(line, now, entry);
  return false;
}

void TFTPDirectoryList::Add(std::string_view line) {
  TFTPFileProperty entry;
  if (ParseFtpListLine(line, ListStyle, Now(), entry)) Append(entry);
}

void TFTPDirectoryList::AddName(std::string_view line) {
  TFTPFileProperty entry;
  reset(entry, line, Now());
  entry.Name = TrimText(line);
  if (entry.Name.empty()) return;
  entry.Kind = TFTPFileProperty::kFile;
  Append(entry);
}

void TFTPDirectoryList::Append(const TFTPFileProperty& entry) {
  entries_.push_back(std::make_unique<TFTPFileProperty>(entry));
  index_[entry.Name] = entries_.back().get();
}

void TFTPDirectoryList::Assign(const TFTPDirectoryList& source) {
  if (&source == this) return;
  Clear();
  for (const auto& entry : source.entries_) Append(*entry);
}

void TFTPDirectoryList::Clear() {
  index_.clear();
  while (!entries_.empty()) entries_.pop_back();
}

void TFTPDirectoryList::Delete(size_t index) {
  const TFTPFileProperty* entry = entries_.at(index).get();
  if (auto it = index_.find(entry->Name); it != index_.end() && it->second == entry) index_.erase(it);
  entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(index));
}

const TFTPFileProperty* TFTPDirectoryList::Find(const std::string& name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? nullptr : it->second;
}

}  // namespace kestrin::script
