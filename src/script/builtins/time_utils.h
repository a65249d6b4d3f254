// Time utilities shared by the Date object and the host objects: script time values
// (milliseconds since 1970-01-01 UTC) and day counts (days since 1899-12-30), the shift
// between local and UTC day counts by the zone rules of each date, and the date parsers.
#pragma once

#include <string_view>

#include "base/date_time.h"

namespace kestrin::script {

// (days - 25569) * 86,400,000 rounded to the nearest whole number (ties to even).
double DateTimeToUnixMs(double days);
// ms / 86,400,000 + 25569.
double UnixMsToDateTime(double ms);
// The current UTC clock minus the current local clock, in days (one reading of the clock).
double GetUTCBias();
// A local day count to UTC by the offset in force at that local time, and back by the
// offset in force at that instant. Counts beyond any calendar come back unchanged.
double LocalToUTC(double days);
double UTCToLocal(double days);
// The current UTC day count.
double NowUTC();

// A date text to its fields, the clock as the text gives it. The fixed forms come first
// ("2001/12/25 10:20", "12/25", a time alone on today); otherwise the text splits at runs
// of commas, colons and white space into month name (short or long, any case; unknown is
// January), day, year, hour, minute, second and millisecond. A missing year, month or day
// comes from today; missing time fields are 0 once the day is given, else from the clock.
// A text that names no valid date gives the local time now.
kestrin::DateTimeFields ParseDateFields(std::string_view text);
// The same as a day count.
double ParseDateText(std::string_view text);
// The fixed forms as a day count (a time alone on 1899-12-30); `def` when not one.
double StrToDateTimeDef(std::string_view text, double def);
// The time form alone as a day count; `def` when not one.
double StrToTimeDef(std::string_view text, double def);

}  // namespace kestrin::script
