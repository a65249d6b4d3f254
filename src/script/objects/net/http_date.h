// HTTP dates (RFC 1123) and the day-count times the library keeps them in: a time is a
// count of days since 1899-12-30 with the time of day as its fraction, in UTC or in local
// time as each function says. The script Date object counts UTC days the same way.
#pragma once

#include <string>
#include <string_view>

namespace kestrin::script {

using TDateTime = double;

struct TSystemTime {
  int Year = 0, Month = 0, DayOfWeek = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// "Sun, 06 Nov 1994 08:49:37 GMT" of the fields as given (no zone conversion).
std::string FormatRFC1123Date(const TSystemTime& time);
// FormatRFC1123Date of the same moment (the time is taken as GMT).
std::string DateTimeToRFC1123(TDateTime time);
// An HTTP date in local time; see ParseHTTPDateUTC.
TDateTime ParseHTTPDate(std::string_view s);
// An HTTP date in UTC: the text is split at runs of blanks and "-", so "Wed, 09 Jun 2021
// 10:18:14 GMT" and "Wed, 09-Jun-2021 10:18:14 GMT" are the same; day, month name, year
// (two digits: 70-99 as 19xx, 00-69 as 20xx) and time follow the day name. A missing day,
// month or year is today's and a missing or unreadable time is midnight; a day or year that
// is not a number, or a date that does not exist, gives the current time.
TDateTime ParseHTTPDateUTC(std::string_view s);
// 1..12 for "Jan".."Dec" or "January".."December" in any case; 1 for anything else.
int MonthFromName(std::string_view s);
// UTC to local time with the zone rules in force at that moment.
TDateTime GMTToLocalTime(TDateTime utc);

// The calendar fields of a day count (DayOfWeek 0 is Sunday).
TSystemTime DecodeDateTime(TDateTime time);
// The day count of the fields (Milliseconds and DayOfWeek unused); false when the date or
// the time does not exist.
bool EncodeDateTime(const TSystemTime& fields, TDateTime& time);

TDateTime UnixToDateTime(double seconds);
double DateTimeToUnix(TDateTime time);

}  // namespace kestrin::script
