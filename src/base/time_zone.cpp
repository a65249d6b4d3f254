// Zone offsets through localtime_r and mktime, so each instant gets the rules of its own
// date (daylight-saving time included) from the system's zone database.
#include "base/time_zone.h"

#include <cerrno>
#include <chrono>
#include <ctime>

namespace kestrin {
namespace {

// Instants handed to the C library stay within about 300,000 years of 1970, so every
// millisecond count and broken-down year on the way fits.
constexpr int64_t kMaxSeconds = int64_t{10'000'000'000'000};

}  // namespace

int32_t LocalOffsetSeconds(int64_t utc_ms) {
  const int64_t seconds = FloorDiv(utc_ms, 1000);
  if (seconds > kMaxSeconds || seconds < -kMaxSeconds) return 0;
  const time_t t = static_cast<time_t>(seconds);
  struct tm local {};
  if (!localtime_r(&t, &local)) return 0;
  return static_cast<int32_t>(local.tm_gmtoff);
}

int64_t UtcToLocalMs(int64_t utc_ms) { return utc_ms + int64_t{LocalOffsetSeconds(utc_ms)} * 1000; }

int64_t LocalToUtcMs(int64_t local_ms) {
  const int64_t seconds = FloorDiv(local_ms, 1000);
  const int64_t millis = local_ms - seconds * 1000;
  if (seconds <= kMaxSeconds && seconds >= -kMaxSeconds) {
    const DateTimeFields f = FieldsFromMs(local_ms + kUnixEpochMs);
    struct tm local {};
    local.tm_year = f.year - 1900;
    local.tm_mon = f.month - 1;
    local.tm_mday = f.day;
    local.tm_hour = f.hour;
    local.tm_min = f.minute;
    local.tm_sec = f.second;
    local.tm_isdst = -1;
    errno = 0;
    const time_t t = mktime(&local);
    // -1 is also a valid answer (one second before 1970 UTC); errno tells them apart.
    if (t != static_cast<time_t>(-1) || errno == 0) return int64_t{t} * 1000 + millis;
  }
  // Outside what mktime covers: the offset at the reading taken as an instant, refined once.
  int64_t utc = local_ms - int64_t{LocalOffsetSeconds(local_ms)} * 1000;
  return local_ms - int64_t{LocalOffsetSeconds(utc)} * 1000;
}

int64_t NowUnixMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

DateTimeFields LocalNow() { return FieldsFromMs(UtcToLocalMs(NowUnixMs()) + kUnixEpochMs); }

}  // namespace kestrin
