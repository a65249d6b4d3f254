// Small helpers that declare published properties from a class's getter and setter.
#pragma once

#include <string>

#include "platform/classes/persistent.h"
#include "platform/classes/type_tables.h"

namespace kgui {

namespace detail {
inline int64_t toOrd(const PropValue& v) {
  if (auto* i = std::get_if<int64_t>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return static_cast<int64_t>(*d);
  return 0;
}
inline std::string toStr(const PropValue& v) {
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  return {};
}
}  // namespace detail

// An ordinal property (integer, char, enumeration, bool as False/True, set bit mask).
// A null setter makes it read-only.
template <class T, class V>
PropertyInfo ordProp(std::string name, PropKind kind, V (T::*get)() const, void (T::*set)(V),
                     const EnumInfo* type = nullptr, std::optional<int64_t> def = std::nullopt) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = kind;
  p.type = type;
  p.default_ord = def;
  p.get = [get](const TPersistent& o) {
    return PropValue(static_cast<int64_t>((static_cast<const T&>(o).*get)()));
  };
  if (set)
    p.set = [set](TPersistent& o, const PropValue& v) {
      (static_cast<T&>(o).*set)(static_cast<V>(detail::toOrd(v)));
    };
  return p;
}

template <class T>
PropertyInfo boolProp(std::string name, bool (T::*get)() const, void (T::*set)(bool),
                      std::optional<bool> def = std::nullopt) {
  std::optional<int64_t> d;
  if (def) d = *def ? 1 : 0;
  return ordProp<T, bool>(std::move(name), PropKind::Enumeration, get, set, &booleanType(), d);
}

template <class T>
PropertyInfo strProp(std::string name, std::string (T::*get)() const,
                     void (T::*set)(const std::string&)) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = PropKind::String;
  p.get = [get](const TPersistent& o) { return PropValue((static_cast<const T&>(o).*get)()); };
  if (set)
    p.set = [set](TPersistent& o, const PropValue& v) {
      (static_cast<T&>(o).*set)(detail::toStr(v));
    };
  return p;
}

template <class T>
PropertyInfo floatProp(std::string name, double (T::*get)() const, void (T::*set)(double)) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = PropKind::Float;
  p.get = [get](const TPersistent& o) { return PropValue((static_cast<const T&>(o).*get)()); };
  if (set)
    p.set = [set](TPersistent& o, const PropValue& v) {
      const double* d = std::get_if<double>(&v);
      (static_cast<T&>(o).*set)(d ? *d : static_cast<double>(detail::toOrd(v)));
    };
  return p;
}

// A sub-object (Font, Items) or component reference; writing assigns the sub-object.
template <class T, class C>
PropertyInfo classProp(std::string name, C* (T::*get)() const) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = PropKind::Class;
  p.class_type = &C::staticClassInfo;
  p.get = [get](const TPersistent& o) {
    return PropValue(static_cast<TPersistent*>((static_cast<const T&>(o).*get)()));
  };
  p.set = [get](TPersistent& o, const PropValue& v) {
    auto* src = std::get_if<TPersistent*>(&v);
    if (src && *src) (static_cast<T&>(o).*get)()->assign(**src);
  };
  return p;
}

// A reference to a component of class C (nil allowed); another class throws "Invalid
// property value". C must be complete where the property is declared.
template <class T, class C>
PropertyInfo refProp(std::string name, C* (T::*get)() const, void (T::*set)(C*)) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = PropKind::Class;
  p.get = [get](const TPersistent& o) {
    return PropValue(static_cast<TPersistent*>((static_cast<const T&>(o).*get)()));
  };
  p.set = [set](TPersistent& o, const PropValue& v) {
    auto* const* target = std::get_if<TPersistent*>(&v);
    C* value = target && *target ? dynamic_cast<C*>(*target) : nullptr;
    if (target && *target && !value) throw EPropertyError("Invalid property value");
    (static_cast<T&>(o).*set)(value);
  };
  return p;
}

// An event: reads 1 while a handler is assigned; writing clears it (handlers are C++
// callables or script bridges, assigned through the class's own members).
template <class T, class F>
PropertyInfo eventProp(std::string name, F T::*field) {
  PropertyInfo p;
  p.name = std::move(name);
  p.kind = PropKind::Method;
  p.get = [field](const TPersistent& o) {
    return PropValue(static_cast<int64_t>(static_cast<bool>(static_cast<const T&>(o).*field)));
  };
  p.set = [field](TPersistent& o, const PropValue&) { static_cast<T&>(o).*field = nullptr; };
  return p;
}

}  // namespace kgui
