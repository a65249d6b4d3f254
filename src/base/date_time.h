// Calendar dates and clock times (proleptic Gregorian), the date-time picture language of
// FormatDateTime and the fixed date and time forms that StrToDateTime reads. No locale:
// the short date is "yyyy/mm/dd", the long time "h:nn:ss", day and month names English.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

inline constexpr int64_t kMsPerDay = 86400000;
// Day counts are days since 1899-12-30 (the fraction is the time of day), read as a
// linear scale: dates before 1899-12-30 have the floor of their day count as their day.
inline constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01
inline constexpr int64_t kUnixEpochMs = kUnixEpochDays * kMsPerDay;

inline constexpr std::string_view kShortDateFormat = "yyyy/mm/dd";
inline constexpr std::string_view kLongDateFormat = "dddd, mmmm d, yyyy";
inline constexpr std::string_view kShortTimeFormat = "h:nn";
inline constexpr std::string_view kLongTimeFormat = "h:nn:ss";
inline constexpr char kDateSeparator = '/';
inline constexpr char kTimeSeparator = ':';

// A date (month 1..12) and a clock time.
struct DateTimeFields {
  int32_t year = 1899;
  int32_t month = 12;
  int32_t day = 30;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
  bool operator==(const DateTimeFields&) const = default;
};

// a / b rounded toward minus infinity.
int64_t FloorDiv(int64_t a, int64_t b);
bool IsLeapYear(int64_t year);
int DaysInMonth(int64_t year, int month);
// Years 1 to 9999, months 1 to 12, days of that month.
bool IsValidDate(int64_t year, int64_t month, int64_t day);
bool IsValidTime(int64_t hour, int64_t minute, int64_t second, int64_t millisecond);

// Days since 1899-12-30 of a date (the month and day must be in range).
int64_t DaysFromCivil(int64_t year, int month, int day);
// Milliseconds since 1899-12-30 00:00 of the fields, and back (floor for earlier instants).
int64_t MsFromFields(const DateTimeFields& f);
DateTimeFields FieldsFromMs(int64_t ms);
// 0 Sunday .. 6 Saturday, of a day count's day.
int DayOfWeek(int64_t days);

// Day count <-> milliseconds since 1899-12-30, rounded to the millisecond (ties to even);
// nullopt for NaN, infinities and counts beyond any calendar.
std::optional<int64_t> DayCountToMs(double days);
double MsToDayCount(int64_t ms);

// The fields as the picture says: yyyy yy m mm mmm mmmm d dd ddd dddd ddddd (short date)
// dddddd (long date) c (short date, then blank and long time unless exactly midnight)
// h hh n nn s ss z zzz t (short time) tt (long time) am/pm a/p ampm, "/" and ":" as the
// separators, text in single or double quotes as it stands; "m" right after an "h" is the
// minute. An empty picture is "c".
std::string FormatDateTime(std::string_view picture, const DateTimeFields& f);

// What a fixed-form date and time text holds: "yyyy/mm/dd", "mm/dd" (the current year),
// two-digit years (within 50 years before the current year or after it), then optionally
// a time "h[:n[:s[.z]]]" with AM or PM before or after; or a time alone.
struct ScannedDateTime {
  DateTimeFields fields;  // 1899-12-30 when the text has no date
  bool has_date = false;
};
std::optional<ScannedDateTime> ScanDateTime(std::string_view text, int32_t current_year);
// The time form alone; the fields hold 1899-12-30 and that time.
std::optional<DateTimeFields> ScanTime(std::string_view text);
// ScanDateTime with the current local year: the fields, a time alone on 1899-12-30.
std::optional<DateTimeFields> StrToDateTime(std::string_view text);

}  // namespace kestrin
