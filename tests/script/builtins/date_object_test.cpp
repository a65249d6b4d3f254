// The Date object and the time utilities: day counts at the host's edge, zone shifts by
// the rules of each date, and every getter against Python's zoneinfo and duktape under
// several zones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/text_file.h"
#include "script/builtins/builtins.h"
#include "script/builtins/date_object.h"
#include "script/builtins/time_utils.h"
#include "script/core/engine.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

const std::string kRunner = KESTRIN_BINARY_DIR "/tests/harness/kestrin-script";
const std::string kPeer = KESTRIN_SOURCE_DIR "/tests/peers/date_peer.py";
const char* const kZones[] = {"Asia/Tokyo", "America/New_York", "Europe/Berlin", "Asia/Kolkata", "UTC"};

// Sets TZ for one test and restores the process's zone afterwards.
class ZoneScope {
public:
  explicit ZoneScope(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    unsetenv("TZ");
    tzset();
  }
};

// What the script prints, its CR LF line ends and exit-code line removed.
std::string RunScript(const std::string& runner_prefix, const std::string& script) {
  std::string out;
  test::run_command(runner_prefix + " " + script, &out);
  std::string clean;
  for (char c : out)
    if (c != '\r') clean += c;
  const size_t exit_line = clean.rfind("exit code:");
  return exit_line == std::string::npos ? clean : clean.substr(0, exit_line);
}

TEST(TimeUtils, DayCountsAndTimeValues) {
  EXPECT_EQ(DateTimeToUnixMs(25569.5), 43200000.0);
  EXPECT_EQ(DateTimeToUnixMs(25569.0), 0.0);
  // 1/2048 and 3/2048 of a day are 42187.5 and 126562.5 ms exactly: ties go to even.
  EXPECT_EQ(DateTimeToUnixMs(25569.0 + 1.0 / 2048), 42188.0);
  EXPECT_EQ(DateTimeToUnixMs(25569.0 + 3.0 / 2048), 126562.0);
  EXPECT_DOUBLE_EQ(UnixMsToDateTime(43200000.0), 25569.5);
  EXPECT_NEAR(NowUTC(), UnixMsToDateTime(static_cast<double>(std::time(nullptr)) * 1000.0), 2.0 / 86400.0);
}

TEST(TimeUtils, LocalAndUTCShiftByTheRulesOfEachDate) {
  ZoneScope zone("America/New_York");
  const double winter = 44211.5;  // 2021-01-15 12:00
  const double summer = 44392.5;  // 2021-07-15 12:00
  EXPECT_NEAR(LocalToUTC(winter) - winter, 5.0 / 24, 1e-9);
  EXPECT_NEAR(LocalToUTC(summer) - summer, 4.0 / 24, 1e-9);
  EXPECT_NEAR(UTCToLocal(summer) - summer, -4.0 / 24, 1e-9);
  EXPECT_NEAR(UTCToLocal(LocalToUTC(summer)), summer, 1e-9);
  const double bias = GetUTCBias();
  EXPECT_TRUE(std::abs(bias - 5.0 / 24) < 1e-9 || std::abs(bias - 4.0 / 24) < 1e-9);
  EXPECT_EQ(LocalToUTC(1e300), 1e300);  // beyond any calendar: unchanged
}

TEST(TimeUtils, DateTextDefaults) {
  // Fixed forms and the fallback agree; the clock of the text is kept as it is.
  EXPECT_EQ(ParseDateText("2001/12/25 10:20:30"), ParseDateText("Dec 25, 2001 10:20:30"));
  EXPECT_EQ(ParseDateText("Dec 25, 2001 10:20:30"), ParseDateText("Dec 25, 2001 10:20:30"));
  EXPECT_NEAR(ParseDateText("Dec 25, 2001 10:20:30"), 37250.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0, 1e-9);
  EXPECT_EQ(ParseDateText("Dec 25, 2001"), 37250.0);               // midnight once the day is given
  EXPECT_EQ(ParseDateText("Sausage 3, 2001"), ParseDateText("January 3, 2001"));
  EXPECT_EQ(ParseDateText("FEBRUARY 3 2001"), ParseDateText("feb 3 2001"));
  const DateTimeFields today = ParseDateFields("Mar");             // day and clock from now
  EXPECT_EQ(today.month, 3);
  const DateTimeFields bad = ParseDateFields("Feb 30, 2001");     // no such day: now
  EXPECT_NE(bad.year, 2001);
  EXPECT_EQ(StrToDateTimeDef("2001/12/25 12:00", -1), 37250.5);
  EXPECT_EQ(StrToDateTimeDef("Dec 25", -1), -1);
  EXPECT_EQ(StrToDateTimeDef("6:00", -1), 0.25);
  EXPECT_EQ(StrToTimeDef(" 18:00:00 ", -1), 0.75);
  EXPECT_EQ(StrToTimeDef("2001/12/25", -1), -1);
}

TEST(DateObject, DayCountsAtTheHostEdge) {
  ZoneScope zone("America/New_York");
  TJEngine engine(RegisterBuiltins);
  // 2021-07-15 12:00 local is 16:00 UTC; 2021-01-15 12:00 local is 17:00 UTC.
  for (const auto& [local, utc_hour] : {std::pair{44392.5, 16}, std::pair{44211.5, 17}}) {
    Value v = engine.NewDate(local);
    auto* date = dynamic_cast<TJDateObject*>(v.object());
    ASSERT_NE(date, nullptr);
    EXPECT_DOUBLE_EQ(date->GetLocalDateTime(), local);
    EXPECT_DOUBLE_EQ(date->GetUTCDateTime(), local + utc_hour / 24.0 - 0.5);
    Variant variant;
    ASSERT_TRUE(date->ToVariant(variant));
    EXPECT_DOUBLE_EQ(std::get<VariantDate>(variant).days, local);
    date->SetUTCDateTime(25569.25);
    EXPECT_EQ(date->TimeValue(), 21600000.0);
    date->SetLocalDateTime(25569.25);  // 1970-01-01 06:00 EST
    EXPECT_EQ(date->TimeValue(), 21600000.0 + 5 * 3600000.0);
  }
  engine.ResetRun();
}

TEST(DateObject, GettersAgreeWithPythonZoneinfoInEveryZone) {
  KESTRIN_REQUIRE_PEER("zoneinfo");
  test::TempDir dir;
  std::string script;
  ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " " + kPeer + " script", &script), 0);
  ASSERT_TRUE(write_file_bytes(dir.file("dates.js"), script));
  for (const char* zone : kZones) {
    SCOPED_TRACE(zone);
    std::string expected;
    ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " " + kPeer + " expect " + zone, &expected), 0);
    EXPECT_EQ(RunScript(std::string("TZ=") + zone + " " + kRunner, dir.file("dates.js")), expected);
  }
}

TEST(DateObject, CommonSubsetAgreesWithDuktapeInEveryZone) {
  if (test::run_command("test -x /usr/bin/duk") != 0) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "peer duk missing";
    GTEST_SKIP() << "duk not installed";
  }
  test::TempDir dir;
  std::string script;
  ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " " + kPeer + " common", &script), 0);
  ASSERT_TRUE(write_file_bytes(dir.file("common.js"), script));
  ASSERT_TRUE(write_file_bytes(dir.file("common_duk.js"), "function println(x) { print(x); }\n" + script));
  for (const char* zone : kZones) {
    SCOPED_TRACE(zone);
    const std::string ours = RunScript(std::string("TZ=") + zone + " " + kRunner, dir.file("common.js"));
    EXPECT_EQ(ours, RunScript(std::string("TZ=") + zone + " /usr/bin/duk", dir.file("common_duk.js")));
    EXPECT_GT(ours.size(), 1000u);
  }
}

}  // namespace
}  // namespace kestrin::script
