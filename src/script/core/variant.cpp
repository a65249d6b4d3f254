// Conversions between variants and script values.
#include "script/core/variant.h"

#include "script/core/engine_base.h"
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

Value VariantToValue(const Variant& v, BaseEngine* engine) {
  return std::visit(Overload{
      [](std::monostate) { return Value(); },
      [](VariantNull) { return Value::Null(); },
      [](int32_t i) { return Value::Integer(i); },
      [](double d) { return Value::Double(d); },
      [](const std::string& s) { return Value::String(s); },
      [](bool b) { return Value::Bool(b); },
      [engine](VariantDate d) { return engine ? engine->NewDate(d.days) : Value(); },
      [engine](const VariantDispatch& d) { return engine ? engine->WrapDispatch(d.get()) : d.v; },
  }, v);
}

Variant ValueToVariant(const Value& v) {
  switch (v.type()) {
    case vtNull: return VariantNull{};
    case vtInteger: return v.integer();
    case vtDouble: return v.dbl();
    case vtBool: return v.boolean();
    case vtString: return std::string(v.text());
    case vtDispatch: return VariantDispatch{v};
    case vtObject: {
      Variant out;
      if (v.object()->ToVariant(out)) return out;
      return std::monostate{};
    }
    default: return std::monostate{};
  }
}

}  // namespace kestrin::script
