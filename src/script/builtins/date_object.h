// Date: one instant with local and UTC accessors, millisecond arithmetic and a format.
#pragma once

#include <cstdint>
#include <string>

#include "base/date_time.h"
#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJDateObject : public TJObject {
public:
  // No argument: now. One numeric argument: milliseconds since 1970-01-01 UTC (integer
  // part); one Date: its time value; one other argument: the parsed text. Two or more:
  // UTC parts (month from 0).
  TJDateObject(BaseEngine* engine, TJValueList* params);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kDateObjectClass; }
  PublishedProperties* Published() override { return &properties_; }
  // The local value formatted with `format`.
  StrRef ToString(const Value* arg) override;
  Value ValueOf() override { return Value::Double(TimeValue()); }
  double ToNumber() override { return TimeValue(); }
  bool ToVariant(Variant& out) override;

  // Milliseconds since 1970-01-01 UTC; a value no calendar holds (beyond the years 1 to
  // 9999, NaN, infinities) is kept as given, and its fields read as NaN.
  double TimeValue() const { return in_calendar_ ? static_cast<double>(ms_) : outside_; }
  // Keeps the integer part of `ms`.
  void SetTimeValue(double ms);
  // Day counts (days since 1899-12-30) for host code and automation dates.
  double GetLocalDateTime() const;
  double GetUTCDateTime() const;
  void SetLocalDateTime(double days);
  void SetUTCDateTime(double days);

  // The fields of the local or UTC value; false outside the calendar.
  bool Fields(bool local, DateTimeFields& out) const;
  // Stores local or UTC fields; false (the value unchanged) when they name no valid date.
  // A valid date with an invalid time stores that date's midnight and gives false too.
  bool SetFields(bool local, const DateTimeFields& f);
  // Minutes UTC minus local at this instant (NaN outside the calendar).
  double TimezoneOffset() const;

  std::string format;

private:
  int64_t ms_ = 0;         // exact instant while in_calendar_
  double outside_ = 0;     // the time value otherwise
  bool in_calendar_ = true;
  PropTable properties_;
};

// The time value of `parse` and `UTC`: now without arguments; one argument: its text
// parsed with the clock read as UTC; two or more: UTC parts (year, month from 0, day,
// hour, minute, second, millisecond), missing time fields 0 once the day is given and
// missing date fields from today; now when they name no valid date and time.
double ParseTimeValue(const TJValueList& params);

// Registers "Date" (with a global instance, so that Date.parse and Date.UTC work).
void RegisterDate(TJEngine& engine);

}  // namespace kestrin::script
