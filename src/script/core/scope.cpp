// Scope lookups, definitions and the root's function and namespace tables.
//
// Choices where the scope rules leave room:
// - A child of a function definition table is an activation (itself a function table);
//   a child of any other table (a `with` scope, a block) is a plain local table, so that
//   global and function-level definitions made inside `with` reach the enclosing level.
// - Only definition tables ask their newest activation first; global tables and
//   activations do not, so a `with` scope is never seen by a function it calls.
// - A table asked by its own child on behalf of its parent (the newest-activation probe)
//   does not ask that parent again; the result is the same and the cost stays linear.
#include "script/core/scope.h"

#include <algorithm>

#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/object.h"

namespace kestrin::script {

TJLocalSymbolTable::TJLocalSymbolTable(TJLocalSymbolTable* parent) { SetParent(parent); }

TJLocalSymbolTable::~TJLocalSymbolTable() {
  anchor_.Kill();
  TJLocalSymbolTable::Clear();
}

void TJLocalSymbolTable::SetParent(TJLocalSymbolTable* parent) {
  parent_ = parent ? WeakPtr<TJLocalSymbolTable>(parent->WeakHandle()) : WeakPtr<TJLocalSymbolTable>();
}

bool TJLocalSymbolTable::ThisHas(const StrRef& name, Value* out) {
  TJObject* obj = this_.get();
  if (!obj) return false;
  if (obj->ClassFlags() & kActiveXObjectClass) {
    // An automation member read may run the server's code: the object is held meanwhile.
    Value hold = Value::Object(obj);
    try {
      Value v;
      obj->GetValue(name, false, v);
      if (out) *out = std::move(v);
      return true;
    } catch (const EJException&) {
      return false;
    }
  }
  if (!obj->HasKey(name)) return false;
  if (out) {
    Value hold = Value::Object(obj);
    obj->GetValue(name, false, *out);
  }
  return true;
}

bool TJLocalSymbolTable::GetValue(TJLocalSymbolTable* caller, const StrRef& name, Value& out) {
  if (PropertyMap::Entry* e = vars_.Find(name)) {
    out = e->value;
    return true;
  }
  if (ThisHas(name, &out)) return true;
  TJLocalSymbolTable* parent = parent_.get();
  return parent && parent != caller && parent->GetValue(this, name, out);
}

Value* TJLocalSymbolTable::FindSlot(TJLocalSymbolTable* caller, const StrRef& name, bool& blocked) {
  if (PropertyMap::Entry* e = vars_.Find(name)) return &e->value;
  if (this_.get() && ThisHas(name, nullptr)) {
    blocked = true;
    return nullptr;
  }
  TJLocalSymbolTable* parent = parent_.get();
  return parent && parent != caller ? parent->FindSlot(this, name, blocked) : nullptr;
}

// FindSlot(this, ...) with its recursion as a loop: each table asked on behalf of the
// previous one (its caller), a definition table that would ask its newest activation
// through FindSlot.
Value* TJLocalSymbolTable::LookupSlotPast(const StrRef& name, bool& blocked, uint32_t& hint) {
  if (AsksActivations()) return FindSlot(this, name, blocked);
  if (Value* v = OwnSlot(name, hint)) return v;
  TJLocalSymbolTable* caller = this;
  TJLocalSymbolTable* t = this;
  for (;;) {
    if (t->this_.get() && t->ThisHas(name, nullptr)) {
      blocked = true;
      return nullptr;
    }
    TJLocalSymbolTable* parent = t->parent_.get();
    if (!parent || parent == caller) return nullptr;
    if (parent->AsksActivations() && static_cast<TJFunctionSymbolTable*>(parent)->AsksNewestChild(t))
      return parent->FindSlot(t, name, blocked);
    if (Value* v = parent->OwnSlot(name, hint)) return v;
    caller = t;
    t = parent;
  }
}

bool TJLocalSymbolTable::SetValue(TJLocalSymbolTable* caller, const StrRef& name, const Value& v) {
  if (PropertyMap::Entry* e = vars_.Find(name)) {
    e->value = v;
    return true;
  }
  if (TJObject* obj = this_.get()) {
    Value hold = Value::Object(obj);
    if (obj->HasKey(name)) {
      obj->SetValue(name, v);
      return true;
    }
  }
  TJLocalSymbolTable* parent = parent_.get();
  return parent && parent != caller && parent->SetValue(this, name, v);
}

void TJLocalSymbolTable::Clear() {
  std::vector<std::unique_ptr<TJLocalSymbolTable>> children;
  children.swap(children_);
  while (!children.empty()) children.pop_back();  // newest first
  spare_.clear();
  this_.reset();
  ClearTemporaries();
  vars_.Clear();
}

void TJLocalSymbolTable::CopyVariables(const TJLocalSymbolTable& source) {
  for (const PropertyMap::Entry& e : source.vars_.entries())
    if (!vars_.Find(e.key)) vars_.Put(e.key, e.value);
}

// Finished activations a definition table keeps: a recursion that goes this deep and back
// again makes no new tables.
constexpr size_t kMaxSpareActivations = 64;

TJLocalSymbolTable* TJLocalSymbolTable::NewChild(const TJLocalSymbolTable* source, TJObject* this_obj) {
  std::unique_ptr<TJLocalSymbolTable> child;
  if (Level() == ScopeLevel::Function && !static_cast<TJFunctionSymbolTable*>(this)->IsActivation()) {
    if (!spare_.empty()) {
      child = std::move(spare_.back());
      spare_.pop_back();
    } else {
      child = std::make_unique<TJFunctionSymbolTable>(this, true);
    }
  } else {
    child = std::make_unique<TJLocalSymbolTable>(this);
  }
  if (source) child->CopyVariables(*source);
  // A recycled activation keeps its last this link (see Recycle): most calls pass the same.
  if (child->this_.get() != this_obj || !this_obj) child->SetThis(this_obj);
  children_.push_back(std::move(child));
  return children_.back().get();
}

void TJLocalSymbolTable::PopChild() {
  if (children_.empty()) return;
  std::unique_ptr<TJLocalSymbolTable> child = std::move(children_.back());
  children_.pop_back();
  if (child->activation_ && spare_.size() < kMaxSpareActivations) {
    child->Recycle();
    if (child->children_.empty() && child->vars_.size() == 0) spare_.push_back(std::move(child));
  }
}

void TJLocalSymbolTable::Recycle() {
  anchor_.Kill();
  if (!children_.empty()) {
    std::vector<std::unique_ptr<TJLocalSymbolTable>> children;
    children.swap(children_);
  }
  if (!spare_.empty()) spare_.clear();
  // The this link stays: a spare activation is in no chain, so nothing reads it, and a
  // weak link never keeps its object alive. NewChild sets it again when it differs.
  if (!temps_.empty()) ClearTemporaries();
  vars_.ClearKeepingCapacity();
}

// The children of a definition table are exactly the live activations whose parent it
// is (nested definitions name it as parent too, but are not activations).
bool TJLocalSymbolTable::IsChild(const TJLocalSymbolTable* t) const {
  return t && t->activation_ && t->Parent() == this;
}

void TJLocalSymbolTable::DefineLocal(const StrRef& name, const Value& v) { vars_.Put(name, v); }

void TJLocalSymbolTable::DefineInFunction(const StrRef& name, const Value& v) {
  TJLocalSymbolTable* t = FindFunctionTable();
  if (!t) t = this;
  if (!t->vars_.Find(name)) t->vars_.Put(name, v);
}

void TJLocalSymbolTable::DefineStatic(const StrRef& name, const Value& v) {
  TJLocalSymbolTable* t = FindStaticTable();
  if (!t) t = this;
  if (!t->vars_.Find(name)) t->vars_.Put(name, v);
}

void TJLocalSymbolTable::DefineGlobal(const StrRef& name, const Value& v) {
  TJLocalSymbolTable* t = FindGlobalTable();
  (t ? t : this)->vars_.Put(name, v);
}

void TJLocalSymbolTable::AssignVariable(const StrRef& name, const Value& v, int mode) {
  if (SetValue(this, name, v)) return;
  if (mode == 1) DefineLocal(name, v);
  else if (mode == 2) DefineInFunction(name, v);
  else DefineGlobal(name, v);
}

TJGlobalSymbolTable* TJLocalSymbolTable::FindGlobalTable() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (t->Level() >= ScopeLevel::Global) return static_cast<TJGlobalSymbolTable*>(t);
  return nullptr;
}

TJFunctionSymbolTable* TJLocalSymbolTable::FindFunctionTable() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (t->Level() >= ScopeLevel::Function) return static_cast<TJFunctionSymbolTable*>(t);
  return nullptr;
}

TJFunctionSymbolTable* TJLocalSymbolTable::FindStaticTable() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent()) {
    if (t->Level() < ScopeLevel::Function) continue;
    auto* f = static_cast<TJFunctionSymbolTable*>(t);
    if (!f->IsActivation()) return f;
  }
  return nullptr;
}

TJObject* TJLocalSymbolTable::GetThis() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (TJObject* o = t->this_.get()) return o;
  return nullptr;
}

void TJLocalSymbolTable::SetThis(TJObject* obj) {
  this_ = obj ? WeakPtr<TJObject>(obj->WeakHandle()) : WeakPtr<TJObject>();
}

int32_t TJLocalSymbolTable::AddTemporary(const Value& v) {
  temps_.push_back(v);
  return static_cast<int32_t>(temps_.size()) - 1;
}

// The values are released after the list is already empty (a release may run code that
// adds temporaries); the list keeps its storage for the next statement.
void TJLocalSymbolTable::ClearTemporaries() {
  if (temps_.empty()) return;
  std::vector<Value> temps;
  temps.swap(temps_);
  while (!temps.empty()) temps.pop_back();
  if (temps_.empty()) temps_.swap(temps);
}

// ---- function tables ----

bool TJFunctionSymbolTable::AsksNewestChild(TJLocalSymbolTable* caller) const {
  return Level() == ScopeLevel::Function && !activation_ && !children_.empty() && !IsChild(caller);
}

bool TJFunctionSymbolTable::GetValue(TJLocalSymbolTable* caller, const StrRef& name, Value& out) {
  if (AsksNewestChild(caller) && children_.back()->GetValue(this, name, out)) return true;
  return TJLocalSymbolTable::GetValue(caller, name, out);
}

Value* TJFunctionSymbolTable::FindSlot(TJLocalSymbolTable* caller, const StrRef& name, bool& blocked) {
  if (AsksNewestChild(caller)) {
    if (Value* v = children_.back()->FindSlot(this, name, blocked)) return v;
    if (blocked) return nullptr;
  }
  return TJLocalSymbolTable::FindSlot(caller, name, blocked);
}

bool TJFunctionSymbolTable::SetValue(TJLocalSymbolTable* caller, const StrRef& name, const Value& v) {
  if (AsksNewestChild(caller) && children_.back()->SetValue(this, name, v)) return true;
  return TJLocalSymbolTable::SetValue(caller, name, v);
}

// ---- root ----

TJRootSymbolTable::~TJRootSymbolTable() { TJRootSymbolTable::Clear(); }

void TJRootSymbolTable::Clear() {
  TJLocalSymbolTable::Clear();
  std::map<std::string, std::unique_ptr<TJFunctionSymbolTable>> tables;
  tables.swap(function_tables_);
  namespaces_.clear();
  tables.clear();
}

TJFunctionSymbolTable* TJRootSymbolTable::GetFunctionTable(int32_t parent_id, int32_t id) {
  std::string key = std::to_string(id);
  auto it = function_tables_.find(key);
  if (it != function_tables_.end()) return it->second.get();
  auto parent = function_tables_.find(std::to_string(parent_id));
  TJLocalSymbolTable* p = parent == function_tables_.end() ? nullptr : parent->second.get();
  auto table = std::make_unique<TJFunctionSymbolTable>(p);
  TJFunctionSymbolTable* raw = table.get();
  function_tables_[key] = std::move(table);
  return raw;
}

TJGlobalSymbolTable* TJRootSymbolTable::AddNamespace(const std::string& name, int32_t id) {
  auto found = namespaces_.find(name);
  if (found != namespaces_.end()) return found->second;
  auto table = std::make_unique<TJGlobalSymbolTable>(this);
  TJGlobalSymbolTable* raw = table.get();
  function_tables_[std::to_string(id)] = std::move(table);
  namespaces_[name] = raw;
  return raw;
}

TJGlobalSymbolTable* TJRootSymbolTable::FindNamespace(const std::string& name) {
  auto it = namespaces_.find(name);
  if (it == namespaces_.end()) RaiseError(ScriptError::NamespaceNotFound, {name});
  return it->second;
}

}  // namespace kestrin::script
