// Calendar arithmetic against a day-by-day walk, the date-time picture language, and the
// fixed date and time forms.
#include <gtest/gtest.h>

#include <string>

#include "base/date_time.h"
#include "base/time_zone.h"

namespace kestrin {
namespace {

TEST(DateTime, CalendarAgreesWithADayByDayWalkOverAllYears) {
  // Walk from 0001-01-01 (a Monday) to 9999-12-31 by the month lengths alone.
  int64_t days = DaysFromCivil(1, 1, 1);
  int weekday = 1;
  for (int y = 1; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      const int length = (m == 2) ? ((y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 29 : 28)
                                  : ((m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31);
      ASSERT_EQ(DaysInMonth(y, m), length);
      for (int d = 1; d <= length; ++d, ++days, weekday = (weekday + 1) % 7) {
        if (d != 1 && d != length && d != 15) continue;  // the edges of each month suffice
        ASSERT_EQ(DaysFromCivil(y, m, d), days) << y << "-" << m << "-" << d;
        ASSERT_EQ(DayOfWeek(days), weekday);
        const DateTimeFields f = FieldsFromMs(days * kMsPerDay + 45296789);
        ASSERT_EQ(f, (DateTimeFields{y, m, d, 12, 34, 56, 789}));
      }
    }
  }
  EXPECT_EQ(DaysFromCivil(1899, 12, 30), 0);
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), kUnixEpochDays);
  EXPECT_EQ(FieldsFromMs(-1), (DateTimeFields{1899, 12, 29, 23, 59, 59, 999}));  // floor before the epoch
}

TEST(DateTime, ValidityOfDatesAndTimes) {
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_FALSE(IsValidDate(2001, 2, 31));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
  EXPECT_FALSE(IsValidDate(2001, 13, 1));
  EXPECT_TRUE(IsValidTime(23, 59, 59, 999));
  EXPECT_FALSE(IsValidTime(24, 0, 0, 0));
  EXPECT_FALSE(IsValidTime(0, 0, 0, -1));
}

TEST(DateTime, DayCountsRoundToTheMillisecond) {
  EXPECT_EQ(DayCountToMs(25569.5), 25569 * kMsPerDay + kMsPerDay / 2);
  EXPECT_EQ(DayCountToMs(-0.25), -kMsPerDay / 4);
  EXPECT_EQ(DayCountToMs(1.0 / 86400000.0 / 3.0), 0);
  EXPECT_FALSE(DayCountToMs(1e300));
  EXPECT_FALSE(DayCountToMs(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_DOUBLE_EQ(MsToDayCount(kMsPerDay * 3 / 2), 1.5);
}

TEST(DateTime, FormatPictures) {
  const DateTimeFields morning{2001, 12, 25, 9, 5, 7, 45};  // a Tuesday
  const DateTimeFields evening{2001, 3, 4, 21, 0, 0, 0};     // a Sunday
  const DateTimeFields midnight{1999, 1, 2, 0, 0, 0, 0};
  const struct {
    const DateTimeFields* f;
    const char* picture;
    const char* text;
  } cases[] = {
      {&morning, "yyyy-mm-dd hh:nn:ss.zzz", "2001-12-25 09:05:07.045"},
      {&morning, "yy y yyy m d h n s z", "01 01 2001 12 25 9 5 7 45"},
      {&morning, "mmm mmmm ddd dddd", "Dec December Tue Tuesday"},
      {&morning, "ddddd|dddddd", "2001/12/25|Tuesday, December 25, 2001"},
      {&morning, "c", "2001/12/25 9:05:07"},
      {&morning, "", "2001/12/25 9:05:07"},
      {&midnight, "", "1999/01/02"},
      {&midnight, "t|tt", "0:00|0:00:00"},
      {&morning, "hh:mm mm", "09:05 12"},            // m after h is the minute, then the month
      {&morning, "h 'h' \"mm\" m", "9 h mm 5"},       // quoted text as it stands
      {&evening, "h:nn am/pm|h:nn AM/PM|h a/p|h A/P|hh ampm", "9:00 pm|9:00 PM|9 p|9 P|09 PM"},
      {&morning, "h am/pm", "9 am"},
      {&midnight, "h ampm", "12 AM"},
      {&evening, "h 'a' h", "21 a 21"},                // a quoted "a" is no clock marker
      {&morning, "yyyy/mm/dd", "2001/12/25"},
      {&morning, "'unclosed", "unclosed"},
      {&morning, "x-\x93\xFA\x82\xA0", "x-\x93\xFA\x82\xA0"},  // a trail byte is never a specifier
      {&morning, "d\x94\x4E", "25\x94\x4E"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.picture, *c.f), c.text) << c.picture;
}

TEST(DateTime, ScansTheFixedForms) {
  const struct {
    const char* text;
    bool ok;
    bool has_date;
    DateTimeFields f;
  } cases[] = {
      {"2001/12/25 10:20:30", true, true, {2001, 12, 25, 10, 20, 30, 0}},
      {"2001/12/25", true, true, {2001, 12, 25, 0, 0, 0, 0}},
      {"2001/12/25 10:20", true, true, {2001, 12, 25, 10, 20, 0, 0}},
      {"2001/12/25 10:20:30.5", true, true, {2001, 12, 25, 10, 20, 30, 5}},
      {"12/25", true, true, {2030, 12, 25, 0, 0, 0, 0}},            // the current year
      {"01/12/25", true, true, {2001, 12, 25, 0, 0, 0, 0}},         // two digits: within 50 years
      {"79/1/2", true, true, {2079, 1, 2, 0, 0, 0, 0}},
      {"80/1/2", true, true, {1980, 1, 2, 0, 0, 0, 0}},
      {"0080/1/2", true, true, {80, 1, 2, 0, 0, 0, 0}},             // four digits are a year as written
      {"2001/12/25 PM 1:05", true, true, {2001, 12, 25, 13, 5, 0, 0}},
      {"2001/12/25 12:05 am", true, true, {2001, 12, 25, 0, 5, 0, 0}},
      {"10:20", true, false, {1899, 12, 30, 10, 20, 0, 0}},
      {"10", true, false, {1899, 12, 30, 10, 0, 0, 0}},
      {"2001/2/29", false, false, {}},
      {"2001/12/25 24:00", false, false, {}},
      {"2001/12/25 13:00 PM", false, false, {}},
      {"2001/12/25 10:20 x", false, false, {}},
      {"Dec 25, 2001", false, false, {}},
      {"", false, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<ScannedDateTime> s = ScanDateTime(c.text, 2030);
    ASSERT_EQ(s.has_value(), c.ok);
    if (!s) continue;
    EXPECT_EQ(s->has_date, c.has_date);
    EXPECT_EQ(s->fields, c.f);
  }
  EXPECT_EQ(ScanTime("2001/12/25"), std::nullopt);
  EXPECT_EQ(ScanTime(" 7:08:09 "), (DateTimeFields{1899, 12, 30, 7, 8, 9, 0}));
}

TEST(TimeZone, OffsetsFollowTheRulesOfEachDate) {
  setenv("TZ", "America/New_York", 1);
  tzset();
  const int64_t winter = (DaysFromCivil(2021, 1, 15) - kUnixEpochDays) * kMsPerDay;
  const int64_t summer = (DaysFromCivil(2021, 7, 15) - kUnixEpochDays) * kMsPerDay;
  EXPECT_EQ(LocalOffsetSeconds(winter), -5 * 3600);
  EXPECT_EQ(LocalOffsetSeconds(summer), -4 * 3600);
  EXPECT_EQ(LocalToUtcMs(UtcToLocalMs(summer)), summer);
  EXPECT_EQ(LocalToUtcMs(UtcToLocalMs(winter + 123)), winter + 123);
  // 2021-03-14 01:59:59 EST is followed by 03:00:00 EDT.
  const int64_t change = (DaysFromCivil(2021, 3, 14) - kUnixEpochDays) * kMsPerDay + 7 * 3600000;
  EXPECT_EQ(UtcToLocalMs(change - 1) - (change - 1), -5 * 3600000);
  EXPECT_EQ(UtcToLocalMs(change) - change, -4 * 3600000);
  unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace kestrin
