// HTTP dates: the RFC 1123 text, the parser's forms, and local time in Tokyo, UTC and a
// zone with summer time (its offset taken at each date).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "script/builtins/time_utils.h"
#include "script/objects/net/cookie.h"
#include "script/objects/net/http_date.h"

namespace kestrin::script {
namespace {

// Runs a test in one time zone and restores the one before.
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (had_) ::setenv("TZ", old_.c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }

private:
  bool had_ = false;
  std::string old_;
};

constexpr double kJune9 = 44356.0 + (10 * 3600 + 18 * 60 + 14) / 86400.0;  // 2021-06-09 10:18:14
constexpr double kSecond = 1.0 / 86400.0;

TEST(HttpDate, ParsesTheCookieAndHeaderForms) {
  const struct {
    const char* text;
    double utc;
  } cases[] = {
      {"Wed, 09 Jun 2021 10:18:14 GMT", kJune9},
      {"Wed, 09-Jun-2021 10:18:14 GMT", kJune9},  // hyphens: the old cookie form
      {"  Wed,   09 june 2021   10:18:14 GMT ", kJune9},
      {"Wed, 09 June 2021 10:18", kJune9 - 14 * kSecond},
      {"Sunday, 06-Nov-94 08:49:37 GMT", 34644.0 + (8 * 3600 + 49 * 60 + 37) / 86400.0},  // two-digit year
      {"Wed, 09 Jun 2021 25:00:00 GMT", 44356.0},  // no valid time: midnight
      {"Wed, 09 Xyz 2021 00:00:00 GMT", 44205.0},  // unknown month: January
  };
  for (const char* zone : {"UTC", "Asia/Tokyo"}) {
    ScopedTimeZone tz(zone);
    for (const auto& c : cases) {
      EXPECT_NEAR(ParseHTTPDateUTC(c.text), c.utc, 0.1 * kSecond) << c.text << " " << zone;
      const double offset = std::string(zone) == "UTC" ? 0.0 : 9.0 / 24;
      EXPECT_NEAR(ParseHTTPDate(c.text), c.utc + offset, 0.1 * kSecond) << c.text << " " << zone;
    }
  }
}

TEST(HttpDate, MissingPiecesAreTodayAndBadOnesNow) {
  for (const char* text : {"Wed, 31 Feb 2021 10:00:00 GMT", "Wed, xx Jun 2021", "Wed, 09 Jun abcd"})
    EXPECT_NEAR(ParseHTTPDateUTC(text), NowUTC(), 5 * kSecond) << text;
  for (const char* text : {"", "garbage"}) {
    const double today = std::floor(NowUTC());
    EXPECT_EQ(ParseHTTPDateUTC(text), today) << text;  // today's date, no time
  }
}

TEST(HttpDate, LocalTimeUsesTheRulesOfEachDate) {
  ScopedTimeZone tz("Europe/Berlin");
  EXPECT_NEAR(GMTToLocalTime(kJune9) - kJune9, 2.0 / 24, kSecond);             // summer time
  EXPECT_NEAR(GMTToLocalTime(44206.5) - 44206.5, 1.0 / 24, kSecond);           // January
}

TEST(HttpDate, FormatsRfc1123) {
  EXPECT_EQ(DateTimeToRFC1123(kJune9), "Wed, 09 Jun 2021 10:18:14 GMT");
  EXPECT_EQ(DateTimeToRFC1123(2.0), "Mon, 01 Jan 1900 00:00:00 GMT");
  EXPECT_EQ(DateTimeToRFC1123(44356.0 - 0.2 * kSecond), "Tue, 08 Jun 2021 23:59:59 GMT");
  TSystemTime t;
  t.Year = 1994, t.Month = 11, t.Day = 6, t.DayOfWeek = 0, t.Hour = 8, t.Minute = 49, t.Second = 37;
  EXPECT_EQ(FormatRFC1123Date(t), "Sun, 06 Nov 1994 08:49:37 GMT");
  const struct {
    const char* name;
    int month;
  } months[] = {{"jan", 1}, {"DEC", 12}, {"September", 9}, {"sept", 1}, {"xyz", 1}, {"", 1}};
  for (const auto& m : months) EXPECT_EQ(MonthFromName(m.name), m.month) << m.name;
}

TEST(HttpDate, CookieExpiryRoundTripsInEveryZone) {
  for (const char* zone : {"UTC", "Asia/Tokyo", "Europe/Berlin"}) {
    ScopedTimeZone tz(zone);
    TCookie cookie;
    cookie.Parse("a=1; expires=Wed, 09-Jun-2021 10:18:14 GMT");
    const std::string text = cookie.ToString();
    EXPECT_EQ(text, "expires=Wed, 09 Jun 2021 10:18:14 GMT;path=/;a=1;") << zone;
    TCookie again;
    again.Parse(text);
    EXPECT_EQ(again.ToString(), text) << zone;
  }
}

}  // namespace
}  // namespace kestrin::script
