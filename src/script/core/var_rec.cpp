// Conversions between open-array argument records and script values.
#include "script/core/var_rec.h"

#include "script/core/object.h"

namespace kestrin::script {

namespace {
template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;
}  // namespace

Value VarRecToValue(const VarRec& rec) {
  return std::visit(Overload{
      [](int32_t i) { return Value::Integer(i); },
      [](bool b) { return Value::Bool(b); },
      [](const std::string& s) { return Value::String(s); },
      [](long double d) { return Value::Double(static_cast<double>(d)); },
      [](int64_t i) { return Value::Double(static_cast<double>(i)); },
      [](TJObject* o) { return Value::Object(o); },
      [](const Variant& v) { return VariantToValue(v, nullptr); },
      [](VarRecPointer) { return Value(); },
  }, rec);
}

VarRec ValueToVarRec(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer();
    case vtDouble: return static_cast<long double>(v.dbl());
    case vtEvent: return VarRecPointer{};
    default: return ValueToStdString(v);
  }
}

}  // namespace kestrin::script
