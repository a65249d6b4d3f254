// The local time zone of the process (TZ and the system's zone rules): the offset in force
// at each instant, local clock readings back to instants, and the current time.
#pragma once

#include <cstdint>

#include "base/date_time.h"

namespace kestrin {

// Seconds east of UTC in force at `utc_ms` (milliseconds since 1970-01-01 UTC); 0 when
// the zone rules cannot place the instant.
int32_t LocalOffsetSeconds(int64_t utc_ms);
// The local clock reading of an instant, as milliseconds since 1970-01-01 on that clock.
int64_t UtcToLocalMs(int64_t utc_ms);
// The instant at which the local clock reads `local_ms`, by the rules in force then; a
// reading that a change skips or repeats resolves as mktime does.
int64_t LocalToUtcMs(int64_t local_ms);
// Milliseconds since 1970-01-01 UTC, now.
int64_t NowUnixMs();
// The local date and time now.
DateTimeFields LocalNow();

}  // namespace kestrin
