// Fuzz target: date texts and date-time pictures. Parsing ends in valid fields or a
// refusal; a picture's output stays within a bound of its length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/date_time.h"
#include "script/builtins/time_utils.h"

using namespace kestrin;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Valid(const DateTimeFields& f) {
  return IsValidDate(f.year, f.month, f.day) && IsValidTime(f.hour, f.minute, f.second, f.millisecond);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  Check(Valid(script::ParseDateFields(s)));
  if (std::optional<ScannedDateTime> d = ScanDateTime(s, 2024)) Check(Valid(d->fields) || !d->has_date);
  if (std::optional<DateTimeFields> t = ScanTime(s)) Check(IsValidTime(t->hour, t->minute, t->second, t->millisecond));
  script::StrToDateTimeDef(s, 0);
  script::StrToTimeDef(s, 0);
  // The first eight bytes pick an instant within the calendar; the rest is the picture.
  int64_t raw = 0;
  if (size >= 8) std::memcpy(&raw, data, 8);
  const int64_t span = DaysFromCivil(10000, 1, 1) - DaysFromCivil(1, 1, 1);
  const int64_t ms = DaysFromCivil(1, 1, 1) * kMsPerDay + static_cast<int64_t>(static_cast<uint64_t>(raw) % static_cast<uint64_t>(span * kMsPerDay));
  const std::string_view picture = size >= 8 ? s.substr(8) : s;
  Check(FormatDateTime(picture, FieldsFromMs(ms)).size() <= 40 * picture.size() + 40);
  return 0;
}
