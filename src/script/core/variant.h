// Variant: the automation value that crosses into and out of COM calls and the GUI
// property bridge, and its conversions to and from script values.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "script/core/value.h"

namespace kestrin::script {

class BaseEngine;

struct VariantNull {
  bool operator==(const VariantNull&) const = default;
};
// A local date-time as days since 1899-12-30 (fraction = time of day).
struct VariantDate {
  double days = 0;
  bool operator==(const VariantDate&) const = default;
};
// A counted automation interface.
struct VariantDispatch {
  Value v;  // a dispatch value
  Dispatch* get() const { return v.dispatch(); }
  bool operator==(const VariantDispatch& o) const { return get() == o.get(); }
};

// Empty (monostate), null, integer, double, string (CP932 bytes), bool, date, dispatch.
using Variant = std::variant<std::monostate, VariantNull, int32_t, double, std::string, bool, VariantDate, VariantDispatch>;

// null -> null; integers -> integer; doubles -> double; strings -> string; bool -> bool;
// a date -> a new Date object (undefined without an engine); a dispatch interface -> a
// new ActiveXObject through the engine (a dispatch value without one); empty ->
// undefined.
Value VariantToValue(const Variant& v, BaseEngine* engine);
// null, integer, double, bool, string and dispatch map directly; objects give what their
// ToVariant answers; undefined, functions, infinities, NaN and other values give empty.
Variant ValueToVariant(const Value& v);

}  // namespace kestrin::script
