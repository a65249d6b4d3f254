// The kept property values of every component, by component and property name.
#include "platform/classes/kept_props.h"

#include <map>
#include <unordered_map>

#include "platform/classes/component.h"

namespace kgui {

namespace {

using KeptValues = std::map<std::string, PropValue>;

std::unordered_map<const TComponent*, KeptValues>& keptTable() {
  static std::unordered_map<const TComponent*, KeptValues> table;
  return table;
}

const PropValue* keptValue(const TComponent& c, const std::string& name) {
  auto& table = keptTable();
  auto it = table.find(&c);
  if (it == table.end()) return nullptr;
  auto value = it->second.find(name);
  return value == it->second.end() ? nullptr : &value->second;
}

}  // namespace

void keepValue(const TComponent& c, const std::string& name, const PropValue& v) { keptTable()[&c][name] = v; }

void forgetKeptValues(const TComponent& c) { keptTable().erase(&c); }

PropertyInfo keptProp(std::string name, PropKind kind, const EnumInfo* type, const IdentMap* idents, PropValue unset) {
  PropertyInfo p;
  p.name = name;
  p.kind = kind;
  p.type = type;
  p.ident_map = idents;
  p.get = [name, unset](const TPersistent& o) {
    const PropValue* v = keptValue(static_cast<const TComponent&>(o), name);
    return v ? *v : unset;
  };
  p.set = [name](TPersistent& o, const PropValue& v) { keepValue(static_cast<const TComponent&>(o), name, v); };
  p.stored = [name](const TPersistent& o) { return keptValue(static_cast<const TComponent&>(o), name) != nullptr; };
  return p;
}

PropertyInfo writtenOnceSet(PropertyInfo p) {
  const std::string name = p.name;
  auto set = p.set;
  p.set = [name, set](TPersistent& o, const PropValue& v) {
    set(o, v);
    keepValue(static_cast<const TComponent&>(o), name, v);
  };
  p.stored = [name](const TPersistent& o) { return keptValue(static_cast<const TComponent&>(o), name) != nullptr; };
  return p;
}

}  // namespace kgui
