// Published properties as script properties: the interface through which an object
// exposes the properties of a native component, and the enumeration and set conversions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/value.h"

namespace kestrin::script {

// Implemented by objects that publish native properties (an adapter over the component
// model's property descriptors). Names are matched without regard to case.
class PublishedProperties {
public:
  virtual ~PublishedProperties() = default;
  // Appends the names, sorted: the events when `events`, else the other properties.
  virtual void ListNames(std::vector<StrRef>& out, bool events) = 0;
  virtual bool Has(std::string_view name) = 0;
  // Reads and writes one property converted by its kind; false for an absent name.
  virtual bool Get(std::string_view name, Value& out) = 0;
  virtual bool Set(std::string_view name, const Value& v) = 0;
  // Sets every published event to nil.
  virtual void ClearEvents() {}
};

// An enumeration value as a script value: its name, or a bool for "True"/"False" (any case).
Value EnumOrdToValue(const std::vector<std::string>& names, int32_t ord);
// A number, or a value name (without case), to the ordinal; nullopt when unknown.
std::optional<int32_t> ValueToEnumOrd(const std::vector<std::string>& names, const Value& v);
// The member names of a set, comma-separated, in ordinal order.
std::string SetOrdToNames(const std::vector<std::string>& names, uint32_t bits);
// Leading blanks and "[" skipped; blanks, "," and "]" separate; unknown names ignored.
// The result is masked to the set's size in bytes (1, 2 or 4).
uint32_t NamesToSetOrd(const std::vector<std::string>& names, std::string_view text, int set_size);

}  // namespace kestrin::script
