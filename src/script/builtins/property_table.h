// Published properties of a built-in object from a static table of named getters and
// setters; a property without a setter is read-only and ignores writes. Names match
// without regard to case, as published properties do.
#pragma once

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "script/core/hash_table.h"
#include "script/core/published.h"

namespace kestrin::script {

template <class T>
class PropertyTable final : public PublishedProperties {
public:
  struct Entry {
    const char* name;
    Value (*get)(T& self);
    void (*set)(T& self, const Value& v);  // nil: read-only
  };

  PropertyTable(T& self, std::span<const Entry> entries) : self_(self), entries_(entries) {}

  void ListNames(std::vector<StrRef>& out, bool events) override {
    if (events) return;
    std::vector<StrRef> names;
    for (const Entry& e : entries_) names.emplace_back(e.name);
    std::sort(names.begin(), names.end(),
              [](const StrRef& a, const StrRef& b) { return LocaleCompareText(a.view(), b.view()) < 0; });
    out.insert(out.end(), names.begin(), names.end());
  }
  bool Has(std::string_view name) override { return Find(name) != nullptr; }
  bool Get(std::string_view name, Value& out) override {
    const Entry* e = Find(name);
    if (!e) return false;
    out = e->get(self_);
    return true;
  }
  bool Set(std::string_view name, const Value& v) override {
    const Entry* e = Find(name);
    if (!e) return false;
    if (e->set) e->set(self_, v);
    return true;
  }

private:
  const Entry* Find(std::string_view name) const {
    for (const Entry& e : entries_)
      if (LocaleCompareText(e.name, name) == 0) return &e;
    return nullptr;
  }

  T& self_;
  std::span<const Entry> entries_;
};

}  // namespace kestrin::script
