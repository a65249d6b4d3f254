// Day counts and time values, zone shifts through the system's zone rules, and the date
// text parsers.
#include "script/builtins/time_utils.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/paths.h"
#include "base/time_zone.h"
#include "script/regexp/regex.h"

namespace kestrin::script {
namespace {

using kestrin::DateTimeFields;

constexpr const char* kMonthNames[12][2] = {
    {"Jan", "January"}, {"Feb", "February"}, {"Mar", "March"},     {"Apr", "April"},
    {"May", "May"},     {"Jun", "June"},     {"Jul", "July"},      {"Aug", "August"},
    {"Sep", "September"}, {"Oct", "October"}, {"Nov", "November"}, {"Dec", "December"}};

int32_t MonthOfName(std::string_view name) {
  for (int32_t m = 0; m < 12; ++m)
    if (kestrin::iequals(name, kMonthNames[m][0]) || kestrin::iequals(name, kMonthNames[m][1])) return m + 1;
  return 1;
}

// The pieces between runs of commas, colons and white space; a leading run makes an
// empty first piece.
std::vector<std::string> SplitDateText(std::string_view text) {
  std::vector<std::string> pieces;
  SplitRegex("[,:\\s]+", text, pieces);
  return pieces;
}

std::string_view Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The fallback reading: month name, day, year, hour, minute, second, millisecond.
DateTimeFields ParseDatePieces(const std::vector<std::string>& pieces, const DateTimeFields& now) {
  DateTimeFields f = now;
  f.month = MonthOfName(pieces.empty() ? std::string_view() : pieces[0]);
  auto number = [&](size_t index) -> std::optional<int32_t> {
    if (index >= pieces.size()) return std::nullopt;
    return kestrin::TryStrToInt(pieces[index]);
  };
  const std::optional<int32_t> day = number(1);
  if (day) {
    f.day = *day;
    f.hour = f.minute = f.second = f.millisecond = 0;
  }
  int32_t* fields[] = {&f.year, &f.hour, &f.minute, &f.second, &f.millisecond};
  for (size_t k = 0; k < 5; ++k)
    if (std::optional<int32_t> v = number(k + 2)) *fields[k] = *v;
  return f;
}

double DayCountOf(int64_t unix_ms) { return kestrin::MsToDayCount(unix_ms + kestrin::kUnixEpochMs); }

}  // namespace

double DateTimeToUnixMs(double days) {
  return std::nearbyint((days - static_cast<double>(kestrin::kUnixEpochDays)) * static_cast<double>(kestrin::kMsPerDay));
}

double UnixMsToDateTime(double ms) {
  return ms / static_cast<double>(kestrin::kMsPerDay) + static_cast<double>(kestrin::kUnixEpochDays);
}

double GetUTCBias() {
  return -static_cast<double>(kestrin::LocalOffsetSeconds(kestrin::NowUnixMs())) / 86400.0;
}

double LocalToUTC(double days) {
  const std::optional<int64_t> ms = kestrin::DayCountToMs(days);
  if (!ms) return days;
  return kestrin::MsToDayCount(kestrin::LocalToUtcMs(*ms - kestrin::kUnixEpochMs) + kestrin::kUnixEpochMs);
}

double UTCToLocal(double days) {
  const std::optional<int64_t> ms = kestrin::DayCountToMs(days);
  if (!ms) return days;
  return kestrin::MsToDayCount(kestrin::UtcToLocalMs(*ms - kestrin::kUnixEpochMs) + kestrin::kUnixEpochMs);
}

double NowUTC() { return DayCountOf(kestrin::NowUnixMs()); }

DateTimeFields ParseDateFields(std::string_view text) {
  const DateTimeFields now = kestrin::LocalNow();
  if (std::optional<kestrin::ScannedDateTime> fixed = kestrin::ScanDateTime(Trimmed(text), now.year)) {
    DateTimeFields f = fixed->fields;
    if (!fixed->has_date) {
      f.year = now.year;
      f.month = now.month;
      f.day = now.day;
    }
    return f;
  }
  const DateTimeFields f = ParseDatePieces(SplitDateText(text), now);
  if (!kestrin::IsValidDate(f.year, f.month, f.day) || !kestrin::IsValidTime(f.hour, f.minute, f.second, f.millisecond))
    return now;
  return f;
}

double ParseDateText(std::string_view text) {
  return kestrin::MsToDayCount(kestrin::MsFromFields(ParseDateFields(text)));
}

double StrToDateTimeDef(std::string_view text, double def) {
  const std::optional<DateTimeFields> f = kestrin::StrToDateTime(Trimmed(text));
  return f ? kestrin::MsToDayCount(kestrin::MsFromFields(*f)) : def;
}

double StrToTimeDef(std::string_view text, double def) {
  const std::optional<DateTimeFields> f = kestrin::ScanTime(Trimmed(text));
  return f ? kestrin::MsToDayCount(kestrin::MsFromFields(*f)) : def;
}

}  // namespace kestrin::script
