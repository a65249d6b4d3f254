// Open-array argument records: script values handed to formatting routines and back.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "script/core/value.h"
#include "script/core/variant.h"

namespace kestrin::script {

// An untyped pointer entry (pointer, class, interface and the like).
struct VarRecPointer {
  const void* p = nullptr;
  bool operator==(const VarRecPointer&) const = default;
};

// One entry: integer, bool, text (every string and character kind), extended, 64-bit
// integer, a script object (held by the caller), a variant, or a pointer.
using VarRec = std::variant<int32_t, bool, std::string, long double, int64_t, TJObject*, Variant, VarRecPointer>;
using TVarRecArray = std::vector<VarRec>;

// integer -> integer; bool -> bool; text -> string; extended and 64-bit -> double; a
// script object -> object value; a variant -> VariantToValue without an engine; pointers
// -> undefined.
Value VarRecToValue(const VarRec& rec);
// integer -> integer; double -> extended; event -> nil pointer; anything else -> the text
// of ValueToString.
VarRec ValueToVarRec(const Value& v);
inline void FreeVarRecArray(TVarRecArray& a) { a.clear(); }

}  // namespace kestrin::script
