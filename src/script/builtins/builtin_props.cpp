// Look-up of the built-in property tables.
#include "script/builtins/builtin_props.h"

#include <algorithm>

#include "script/core/hash_table.h"

namespace kestrin::script {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

const PropDef* PropTable::Find(std::string_view name) const {
  for (const PropDef& d : defs_)
    if (SameName(name, d.name)) return &d;
  return nullptr;
}

void PropTable::ListNames(std::vector<StrRef>& out, bool events) {
  if (events) return;
  std::vector<StrRef> names;
  for (const PropDef& d : defs_) names.emplace_back(d.name);
  std::sort(names.begin(), names.end(), [](const StrRef& a, const StrRef& b) { return LocaleCompare(a.view(), b.view()) < 0; });
  out.insert(out.end(), names.begin(), names.end());
}

bool PropTable::Get(std::string_view name, Value& out) {
  const PropDef* d = Find(name);
  if (!d) return false;
  out = d->get(self_);
  return true;
}

bool PropTable::Set(std::string_view name, const Value& v) {
  const PropDef* d = Find(name);
  if (!d) return false;
  if (d->set) d->set(self_, v);
  return true;
}

}  // namespace kestrin::script
