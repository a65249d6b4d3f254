// Date: the instant as exact milliseconds since 1970-01-01 UTC, fields through the zone
// rules in force at that instant, the 43 script methods and the `format` property.
#include "script/builtins/date_object.h"

#include <cmath>
#include <limits>

#include "base/time_zone.h"
#include "script/builtins/time_utils.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

using kestrin::DateTimeFields;
using kestrin::kUnixEpochMs;

// The calendar: 0001-01-01 00:00 to 9999-12-31 23:59:59.999 UTC.
const int64_t kFirstMs = (kestrin::DaysFromCivil(1, 1, 1) - kestrin::kUnixEpochDays) * kestrin::kMsPerDay;
const int64_t kLastMs = (kestrin::DaysFromCivil(9999, 12, 31) + 1 - kestrin::kUnixEpochDays) * kestrin::kMsPerDay - 1;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

int64_t ToUnixMs(const DateTimeFields& f) { return kestrin::MsFromFields(f) - kUnixEpochMs; }
DateTimeFields FromUnixMs(int64_t ms) { return kestrin::FieldsFromMs(ms + kUnixEpochMs); }

TJDateObject& D(TJObject& self) { return static_cast<TJDateObject&>(self); }

// A whole number as an integer value, other numbers (NaN included) as they are.
Value NumberValue(double d) {
  if (d >= INT32_MIN && d <= INT32_MAX && d == std::trunc(d)) return Value::Integer(static_cast<int32_t>(d));
  return Value::Double(d);
}

Value FormatValue(TJObject& self) { return Value::String(D(self).format); }
void SetFormat(TJObject& self, const Value& v) { D(self).format = ValueToStdString(v); }

constexpr PropDef kProperties[] = {{"format", FormatValue, SetFormat}};

// ---- getters and setters of one field ----

enum class Field { Year, ShortYear, Month, Day, WeekDay, Hour, Minute, Second, Millisecond };

template <bool Local, Field F>
void GetField(TJObject& self, TJValueList&, Value& result) {
  DateTimeFields f;
  if (!D(self).Fields(Local, f)) {
    result = Value::NaN();
    return;
  }
  switch (F) {
    case Field::Year: result = Value::Integer(f.year); break;
    case Field::ShortYear: result = Value::Integer(f.year < 2000 ? f.year - 1900 : f.year); break;
    case Field::Month: result = Value::Integer(f.month - 1); break;
    case Field::Day: result = Value::Integer(f.day); break;
    case Field::WeekDay:
      result = Value::Integer(kestrin::DayOfWeek(kestrin::DaysFromCivil(f.year, f.month, f.day)));
      break;
    case Field::Hour: result = Value::Integer(f.hour); break;
    case Field::Minute: result = Value::Integer(f.minute); break;
    case Field::Second: result = Value::Integer(f.second); break;
    case Field::Millisecond: result = Value::Integer(f.millisecond); break;
  }
}

// Replaces one field and stores the fields again; nothing is carried into the next unit
// (see TJDateObject::SetFields).
template <bool Local, Field F>
void SetField(TJObject& self, TJValueList& params, Value& result) {
  DateTimeFields f;
  if (params.GetCount() == 0 || !D(self).Fields(Local, f)) return;
  const int64_t x = ValueToInteger(params.GetValue(0));
  const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX)); };
  switch (F) {
    case Field::Year: f.year = clamp(x); break;
    case Field::ShortYear: f.year = clamp(x < 100 ? x + 1900 : x); break;
    case Field::Month: f.month = clamp(x + 1); break;
    case Field::Day: f.day = clamp(x); break;
    case Field::Hour: f.hour = clamp(x); break;
    case Field::Minute: f.minute = clamp(x); break;
    case Field::Second: f.second = clamp(x); break;
    case Field::Millisecond: f.millisecond = clamp(x); break;
    case Field::WeekDay: return;
  }
  if (D(self).SetFields(Local, f)) result = Value::Double(D(self).TimeValue());
}

void DGetTime(TJObject& self, TJValueList&, Value& result) { result = Value::Double(D(self).TimeValue()); }

void DSetTime(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  D(self).SetTimeValue(ValueToNumber(params.GetValue(0)));
  result = Value::Double(D(self).TimeValue());
}

void DGetTimezoneOffset(TJObject& self, TJValueList&, Value& result) {
  result = NumberValue(D(self).TimezoneOffset());
}

void DToString(TJObject& self, TJValueList&, Value& result) { result = Value::String(self.ToString(nullptr)); }

void DToUTCString(TJObject& self, TJValueList&, Value& result) {
  DateTimeFields f;
  result = Value::String(D(self).Fields(false, f) ? kestrin::FormatDateTime(D(self).format, f) : "NaN");
}

void DParse(TJObject&, TJValueList& params, Value& result) { result = Value::Double(ParseTimeValue(params)); }

}  // namespace

TJDateObject::TJDateObject(BaseEngine* engine, TJValueList* params)
    : TJObject(engine), properties_(*this, kProperties) {
  SetObjectName("Date");
  const int32_t count = params ? params->GetCount() : 0;
  const Value first = count == 1 ? params->GetValue(0) : Value();
  // Another Date is copied exactly, not through its text (which drops the milliseconds
  // and would read the local clock as UTC).
  if (auto* other = dynamic_cast<TJDateObject*>(first.object())) SetTimeValue(other->TimeValue());
  else if (count == 1 && ValueIsNumeric(first)) SetTimeValue(ValueToNumber(first));
  else SetTimeValue(ParseTimeValue(params ? *params : TJValueList()));
}

// The methods in their documented order.
const ClassInfo& TJDateObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {
      {"getFullYear", GetField<true, Field::Year>},
      {"setFullYear", SetField<true, Field::Year>},
      {"getYear", GetField<true, Field::ShortYear>},
      {"setYear", SetField<true, Field::ShortYear>},
      {"getMonth", GetField<true, Field::Month>},
      {"setMonth", SetField<true, Field::Month>},
      {"getDate", GetField<true, Field::Day>},
      {"setDate", SetField<true, Field::Day>},
      {"getDay", GetField<true, Field::WeekDay>},
      {"getHours", GetField<true, Field::Hour>},
      {"setHours", SetField<true, Field::Hour>},
      {"getMinutes", GetField<true, Field::Minute>},
      {"setMinutes", SetField<true, Field::Minute>},
      {"getSeconds", GetField<true, Field::Second>},
      {"setSeconds", SetField<true, Field::Second>},
      {"getMilliseconds", GetField<true, Field::Millisecond>},
      {"setMilliseconds", SetField<true, Field::Millisecond>},
      {"getUTCFullYear", GetField<false, Field::Year>},
      {"setUTCFullYear", SetField<false, Field::Year>},
      {"getUTCYear", GetField<false, Field::ShortYear>},
      {"setUTCYear", SetField<false, Field::ShortYear>},
      {"getUTCMonth", GetField<false, Field::Month>},
      {"setUTCMonth", SetField<false, Field::Month>},
      {"getUTCDate", GetField<false, Field::Day>},
      {"setUTCDate", SetField<false, Field::Day>},
      {"getUTCDay", GetField<false, Field::WeekDay>},
      {"getUTCHours", GetField<false, Field::Hour>},
      {"setUTCHours", SetField<false, Field::Hour>},
      {"getUTCMinutes", GetField<false, Field::Minute>},
      {"setUTCMinutes", SetField<false, Field::Minute>},
      {"getUTCSeconds", GetField<false, Field::Second>},
      {"setUTCSeconds", SetField<false, Field::Second>},
      {"getUTCMilliseconds", GetField<false, Field::Millisecond>},
      {"setUTCMilliseconds", SetField<false, Field::Millisecond>},
      {"getTime", DGetTime},
      {"setTime", DSetTime},
      {"getTimezoneOffset", DGetTimezoneOffset},
      {"toString", DToString},
      {"toLocaleString", DToString},
      {"toGMTString", DToUTCString},
      {"toUTCString", DToUTCString},
      {"UTC", DParse},
      {"parse", DParse},
  });
  return info;
}

StrRef TJDateObject::ToString(const Value*) {
  DateTimeFields f;
  return Fields(true, f) ? StrRef(kestrin::FormatDateTime(format, f)) : StrRef("NaN");
}

bool TJDateObject::ToVariant(Variant& out) {
  out = VariantDate{GetLocalDateTime()};
  return true;
}

void TJDateObject::SetTimeValue(double ms) {
  const double t = std::trunc(ms);
  if (t >= static_cast<double>(kFirstMs) && t <= static_cast<double>(kLastMs)) {
    ms_ = static_cast<int64_t>(t);
    in_calendar_ = true;
  } else {
    outside_ = t;
    in_calendar_ = false;
  }
}

double TJDateObject::GetLocalDateTime() const {
  if (!in_calendar_) return UnixMsToDateTime(outside_);
  return kestrin::MsToDayCount(kestrin::UtcToLocalMs(ms_) + kUnixEpochMs);
}

double TJDateObject::GetUTCDateTime() const {
  return in_calendar_ ? kestrin::MsToDayCount(ms_ + kUnixEpochMs) : UnixMsToDateTime(outside_);
}

void TJDateObject::SetLocalDateTime(double days) {
  const std::optional<int64_t> ms = kestrin::DayCountToMs(days);
  if (ms) SetTimeValue(static_cast<double>(kestrin::LocalToUtcMs(*ms - kUnixEpochMs)));
  else SetTimeValue(DateTimeToUnixMs(days));
}

void TJDateObject::SetUTCDateTime(double days) { SetTimeValue(DateTimeToUnixMs(days)); }

bool TJDateObject::Fields(bool local, DateTimeFields& out) const {
  if (!in_calendar_) return false;
  out = FromUnixMs(local ? kestrin::UtcToLocalMs(ms_) : ms_);
  return out.year >= 1 && out.year <= 9999;
}

bool TJDateObject::SetFields(bool local, const DateTimeFields& f) {
  if (!kestrin::IsValidDate(f.year, f.month, f.day)) return false;
  const bool time_ok = kestrin::IsValidTime(f.hour, f.minute, f.second, f.millisecond);
  const int64_t ms = ToUnixMs(time_ok ? f : DateTimeFields{f.year, f.month, f.day});
  SetTimeValue(static_cast<double>(local ? kestrin::LocalToUtcMs(ms) : ms));
  return time_ok;
}

double TJDateObject::TimezoneOffset() const {
  if (!in_calendar_) return kNaN;
  return -kestrin::LocalOffsetSeconds(ms_) / 60.0;
}

double ParseTimeValue(const TJValueList& params) {
  const int64_t now = kestrin::NowUnixMs();
  const int32_t count = params.GetCount();
  if (count == 0) return static_cast<double>(now);
  if (count == 1) return static_cast<double>(ToUnixMs(ParseDateFields(ValueToStdString(params.GetValue(0)))));
  DateTimeFields f = FromUnixMs(now);
  int64_t parts[7] = {ValueToInteger(params.GetValue(0)), int64_t{ValueToInteger(params.GetValue(1))} + 1,
                      f.day, f.hour, f.minute, f.second, f.millisecond};
  if (count >= 3) parts[3] = parts[4] = parts[5] = parts[6] = 0;  // the day given: midnight unless told
  for (int32_t i = 2; i < count && i < 7; ++i) parts[i] = ValueToInteger(params.GetValue(i));
  if (!kestrin::IsValidDate(parts[0], parts[1], parts[2]) || !kestrin::IsValidTime(parts[3], parts[4], parts[5], parts[6]))
    return static_cast<double>(now);
  f = DateTimeFields{static_cast<int32_t>(parts[0]), static_cast<int32_t>(parts[1]), static_cast<int32_t>(parts[2]),
                     static_cast<int32_t>(parts[3]), static_cast<int32_t>(parts[4]), static_cast<int32_t>(parts[5]),
                     static_cast<int32_t>(parts[6])};
  return static_cast<double>(ToUnixMs(f));
}

void RegisterDate(TJEngine& engine) {
  engine.RegisterObjectClass(
      "Date", [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJDateObject(e, p); }, true);
}

}  // namespace kestrin::script
