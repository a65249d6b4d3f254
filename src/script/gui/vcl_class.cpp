// The wrapper template driven by a script class row: the row chain gives the object name,
// the method table, the own properties, the event hooks and the collection access.
#include "script/gui/vcl_class.h"

#include <map>
#include <memory>
#include <mutex>

#include "script/builtins/array_object.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

// The method table of a row: the base's table when the row adds no methods, else one
// table per row, made on first use and shared by every wrapper of the row.
const ClassInfo& ScriptClassOf(const VCLClassDef& def, const ClassInfo& root) {
  const ClassInfo& base = def.base ? ScriptClassOf(*def.base, root) : root;
  if (def.methods.empty()) return base;
  static std::mutex mutex;
  static std::map<const VCLClassDef*, std::unique_ptr<const ClassInfo>> tables;
  std::lock_guard lock(mutex);
  auto& table = tables[&def];
  if (!table) table = std::make_unique<const ClassInfo>(&base, def.methods);
  return *table;
}

// Runs f on every row of the chain, the base rows first.
template <class F>
void ForChain(const VCLClassDef& def, F&& f) {
  if (def.base) ForChain(*def.base, f);
  f(def);
}

}  // namespace

template <class Base>
TJVCLClass<Base>::TJVCLClass(BaseEngine* engine, const VCLClassDef& def)
    : Base(engine), def_(def), class_(&ScriptClassOf(def, Base::Class())) {
  ForChain(def, [this](const VCLClassDef& row) {
    this->SetObjectName(row.script_name);
    for (std::span<const PropDef> props : row.props)
      if (!props.empty()) this->AddOwnProps(props);
  });
}

template <class Base>
void TJVCLClass<Base>::AfterAttach() {
  ForChain(def_, [this](const VCLClassDef& row) {
    if constexpr (std::is_base_of_v<TJVCLControl, Base>) {
      if (row.events) HookControlEvents(*this, row.events);
    }
    if (row.hook) row.hook(*this);
  });
}

template <class Base>
const VCLClassDef* TJVCLClass<Base>::Collection() const {
  for (const VCLClassDef* row = &def_; row; row = row->base)
    if (row->count) return row;
  return nullptr;
}

// obj[i]: item i as the row gives it.
template <class Base>
bool TJVCLClass<Base>::GetElement(const StrRef& key, Value& out) {
  return Collection() ? GetIndexedElement(*this, key, out) : Base::GetElement(key, out);
}

template <class Base>
bool TJVCLClass<Base>::SetElement(const StrRef& key, const Value& v) {
  const VCLClassDef* row = Collection();
  if (!row || !row->put) return Base::SetElement(key, v);
  int32_t index = 0;
  if (!ElementIndex(key, index)) return false;
  row->put(*this, index, v);
  return true;
}

template <class Base>
int32_t TJVCLClass<Base>::GetCount() {
  const VCLClassDef* row = Collection();
  return row ? row->count(*this) : Base::GetCount();
}

template <class Base>
void TJVCLClass<Base>::GetItem(int32_t index, Value& out) {
  const VCLClassDef* row = Collection();
  if (row) row->item(*this, index, out);
  else Base::GetItem(index, out);
}

template class TJVCLClass<TJVCLPersistent>;
template class TJVCLClass<TJVCLComponent>;
template class TJVCLClass<TJVCLControl>;
template class TJVCLClass<TJVCLWinControl>;

// The level of a row is its chain's root level.
TJVCLPersistent* NewVCLWrapper(BaseEngine* engine, const VCLClassDef& def) {
  const VCLClassDef* root = &def;
  while (root->base) root = root->base;
  switch (root->level) {
    case VCLLevel::Persistent: return new TJVCLClass<TJVCLPersistent>(engine, def);
    case VCLLevel::Component: return new TJVCLClass<TJVCLComponent>(engine, def);
    case VCLLevel::Control: return new TJVCLClass<TJVCLControl>(engine, def);
    case VCLLevel::WinControl: break;
  }
  return new TJVCLClass<TJVCLWinControl>(engine, def);
}

}  // namespace kestrin::script
