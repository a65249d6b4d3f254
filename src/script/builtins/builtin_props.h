// Published properties of the built-in objects: a static table of names with their
// accessors, matched without regard to case as published properties are.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "script/core/object.h"
#include "script/core/published.h"

namespace kestrin::script {

struct PropDef {
  std::string_view name;
  Value (*get)(TJObject& self);
  void (*set)(TJObject& self, const Value& v);  // nil: read-only; writes are ignored
};

class PropTable : public PublishedProperties {
public:
  PropTable(TJObject& self, std::span<const PropDef> defs) : self_(self), defs_(defs) {}
  void ListNames(std::vector<StrRef>& out, bool events) override;
  bool Has(std::string_view name) override { return Find(name) != nullptr; }
  bool Get(std::string_view name, Value& out) override;
  bool Set(std::string_view name, const Value& v) override;

private:
  const PropDef* Find(std::string_view name) const;
  TJObject& self_;
  std::span<const PropDef> defs_;
};

}  // namespace kestrin::script
