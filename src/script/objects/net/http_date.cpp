// HTTP date text and the conversions between day counts, Unix time and local time.
#include "script/objects/net/http_date.h"

#include <cmath>
#include <ctime>
#include <optional>
#include <vector>

#include "base/convert.h"
#include "base/paths.h"
#include "script/builtins/time_utils.h"
#include "script/objects/net/net_utils.h"

namespace kestrin::script {
namespace {

constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 as a day count
constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kLongMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civil_from_days(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool valid_date(int y, int m, int d) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap);
}

}  // namespace

TSystemTime DecodeDateTime(TDateTime time) {
  // Whole milliseconds, so 23:59:59.9996 does not print as second 60.
  const double ms_total = std::floor(time * 86400000.0 + 0.5);
  const auto ms = static_cast<int64_t>(ms_total);
  int64_t days = ms / 86400000;
  int64_t in_day = ms % 86400000;
  if (in_day < 0) {
    in_day += 86400000;
    --days;
  }
  TSystemTime t;
  const int64_t unix_days = days - static_cast<int64_t>(kUnixEpochDays);
  civil_from_days(unix_days, t.Year, t.Month, t.Day);
  t.DayOfWeek = static_cast<int>(((unix_days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  t.Hour = static_cast<int>(in_day / 3600000);
  t.Minute = static_cast<int>(in_day / 60000 % 60);
  t.Second = static_cast<int>(in_day / 1000 % 60);
  t.Milliseconds = static_cast<int>(in_day % 1000);
  return t;
}

bool EncodeDateTime(const TSystemTime& f, TDateTime& time) {
  if (!valid_date(f.Year, f.Month, f.Day) || f.Hour < 0 || f.Hour > 23 || f.Minute < 0 || f.Minute > 59 ||
      f.Second < 0 || f.Second > 59)
    return false;
  time = static_cast<double>(days_from_civil(f.Year, static_cast<unsigned>(f.Month), static_cast<unsigned>(f.Day))) +
         kUnixEpochDays + (f.Hour * 3600.0 + f.Minute * 60.0 + f.Second) / 86400.0;
  return true;
}

namespace {

// "hh:mm[:ss]" as a fraction of a day; 0 when it is not a time.
double time_of_day(std::string_view s) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  size_t i = 0;
  while (count < 3) {
    size_t digits = 0;
    int v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 3; ++i, ++digits) v = v * 10 + (s[i] - '0');
    if (digits == 0) return 0;
    parts[count++] = v;
    if (i == s.size()) break;
    if (s[i++] != ':') return 0;
  }
  if (i != s.size() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return 0;
  return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
}

// The pieces of a text between runs of white space and "-".
std::vector<std::string_view> split_date(std::string_view s) {
  std::vector<std::string_view> pieces;
  auto is_separator = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '-'; };
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i < s.size() && !is_separator(s[i])) continue;
    pieces.push_back(s.substr(start, i - start));
    while (i + 1 < s.size() && is_separator(s[i + 1])) ++i;
    start = i + 1;
  }
  return pieces;
}

std::optional<int> whole_number(std::string_view s) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  return std::stoi(std::string(s));
}

}  // namespace

std::string FormatRFC1123Date(const TSystemTime& t) {
  return Format("%s, %.2d %s %.4d %.2d:%.2d:%.2d GMT", {kDayNames[t.DayOfWeek % 7], t.Day, kMonthNames[(t.Month + 11) % 12],
                                                       t.Year, t.Hour, t.Minute, t.Second});
}

std::string DateTimeToRFC1123(TDateTime time) { return FormatRFC1123Date(DecodeDateTime(time)); }

int MonthFromName(std::string_view s) {
  for (int i = 0; i < 12; ++i)
    if (iequals(s, kMonthNames[i])) return i + 1;
  for (int i = 0; i < 12; ++i)
    if (iequals(s, kLongMonthNames[i])) return i + 1;
  return 1;
}

TDateTime UnixToDateTime(double seconds) { return kUnixEpochDays + seconds / 86400.0; }
double DateTimeToUnix(TDateTime time) { return (time - kUnixEpochDays) * 86400.0; }

TDateTime GMTToLocalTime(TDateTime utc) {
  const double seconds = std::floor(DateTimeToUnix(utc));
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return utc;
  return utc + static_cast<double>(local.tm_gmtoff) / 86400.0;
}

TDateTime ParseHTTPDateUTC(std::string_view s) {
  const TDateTime now = NowUTC();
  const TSystemTime today = DecodeDateTime(now);
  const std::string text = TrimText(s);
  const std::vector<std::string_view> pieces = split_date(text);
  auto piece = [&](size_t i) { return i < pieces.size() ? std::optional<std::string_view>(pieces[i]) : std::nullopt; };
  int day = today.Day, month = today.Month, year = today.Year;
  if (auto p = piece(1)) {
    const auto n = whole_number(*p);
    if (!n) return now;
    day = *n;
  }
  if (auto p = piece(2)) month = MonthFromName(*p);
  if (auto p = piece(3)) {
    const auto n = whole_number(*p);
    if (!n) return now;
    year = p->size() <= 2 ? *n + (*n < 70 ? 2000 : 1900) : *n;
  }
  const double time = piece(4) ? time_of_day(*piece(4)) : 0.0;
  if (!valid_date(year, month, day)) return now;
  return static_cast<double>(days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) +
         kUnixEpochDays + time;
}

TDateTime ParseHTTPDate(std::string_view s) { return GMTToLocalTime(ParseHTTPDateUTC(s)); }

}  // namespace kestrin::script
