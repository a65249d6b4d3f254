// Symbol tables: local, function, global (module or namespace) and root scopes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "script/core/property_map.h"
#include "script/core/value.h"
#include "script/core/weak.h"

namespace kestrin::script {

class TJFunctionSymbolTable;
class TJGlobalSymbolTable;

enum class ScopeLevel : uint8_t { Local, Function, Global, Root };

// A scope: variables, an optional this object (not counted), owned child scopes (the
// newest last) and the temporaries that keep new objects alive until they are cleared.
// The parent is held weakly: a table whose parent is gone has no parent.
class TJLocalSymbolTable {
public:
  explicit TJLocalSymbolTable(TJLocalSymbolTable* parent);
  TJLocalSymbolTable(const TJLocalSymbolTable&) = delete;
  TJLocalSymbolTable& operator=(const TJLocalSymbolTable&) = delete;
  virtual ~TJLocalSymbolTable();

  ScopeLevel Level() const { return level_; }
  // Assignment lookup: own variable, else the this object's member when it has the key,
  // else the parent; false when nobody has the name.
  virtual bool SetValue(TJLocalSymbolTable* caller, const StrRef& name, const Value& v);
  // Read lookup: own variable, else the this object's member when it has the key, else
  // the parent; false when nobody has the name.
  virtual bool GetValue(TJLocalSymbolTable* caller, const StrRef& name, Value& out);
  // The variable slot that a read of `name` would find, walking as GetValue does. Nil
  // when the name is missing or, with `blocked` set, when a this object answers first.
  virtual Value* FindSlot(TJLocalSymbolTable* caller, const StrRef& name, bool& blocked);
  // FindSlot(this, name, blocked) for the interpreter's reads and writes of names: the
  // same walk, without virtual calls for the tables that ask no activation first.
  // An own variable stored under the very cell of the name (the parser's interned names
  // are) is found by a scan that reads no text; the rest of the walk is LookupSlotPast.
  // `hint` is the name node's guess of where a large table holds it (PropertyMap::Find).
  Value* LookupSlot(const StrRef& name, bool& blocked, uint32_t& hint) {
    if (!AsksActivations() && vars_.size() <= 4) {
      for (PropertyMap::Entry& e : vars_.entries())
        if (e.key.cell() == name.cell()) return &e.value;
    }
    return LookupSlotPast(name, blocked, hint);
  }
  Value* LookupSlotPast(const StrRef& name, bool& blocked, uint32_t& hint);
  // Frees the children, drops the this object, clears temporaries and variables.
  virtual void Clear();
  // Copies every variable of `source` that this table does not define.
  void CopyVariables(const TJLocalSymbolTable& source);
  // A new child scope, first among the children: an activation for a function's own
  // table, a plain local scope otherwise (see the .cpp for why).
  TJLocalSymbolTable* NewChild(const TJLocalSymbolTable* source, TJObject* this_obj);
  void PopChild();
  TJLocalSymbolTable* NewestChild() const { return children_.empty() ? nullptr : children_.back().get(); }

  bool GetVariable(const StrRef& name, Value& out) { return GetValue(this, name, out); }
  bool HasOwnVariable(const StrRef& name) { return vars_.Find(name) != nullptr; }
  void DefineLocal(const StrRef& name, const Value& v);
  // In the nearest function table (an activation inside a call), unless it has the name.
  void DefineInFunction(const StrRef& name, const Value& v);
  // In the nearest function definition table, unless it has the name: static variables
  // keep their values across calls and are initialised once.
  void DefineStatic(const StrRef& name, const Value& v);
  void DefineGlobal(const StrRef& name, const Value& v);
  // Assigns up the chain; when nobody has the name, mode 1 defines it here, mode 2 in the
  // nearest function table, any other mode in the nearest global table.
  void AssignVariable(const StrRef& name, const Value& v, int mode);

  TJGlobalSymbolTable* FindGlobalTable();
  TJFunctionSymbolTable* FindFunctionTable();
  TJFunctionSymbolTable* FindStaticTable();
  TJObject* GetThis();
  void SetThis(TJObject* obj);
  TJLocalSymbolTable* Parent() const { return parent_.get(); }
  void SetParent(TJLocalSymbolTable* parent);

  int32_t AddTemporary(const Value& v);
  void ClearTemporaries();
  size_t TemporaryCount() const { return temps_.size(); }

  PropertyMap& Variables() { return vars_; }
  WeakCell* WeakHandle() { return anchor_.Cell(this); }

protected:
  // A function definition table: lookups from outside its activations ask the newest first.
  bool AsksActivations() const { return level_ == ScopeLevel::Function && !activation_; }
  // The own variable `name`; a scope holds few, so a short scan finds it.
  Value* OwnSlot(const StrRef& name, uint32_t& hint) {
    std::span<PropertyMap::Entry> entries = vars_.entries();
    if (entries.size() <= 4) {
      for (PropertyMap::Entry& e : entries)
        if (e.key == name) return &e.value;
      return nullptr;
    }
    PropertyMap::Entry* e = vars_.Find(name, hint);
    return e ? &e->value : nullptr;
  }
  bool IsChild(const TJLocalSymbolTable* t) const;
  // Empties a finished activation for reuse; weak holders of it read nil from now on.
  void Recycle();
  bool ThisHas(const StrRef& name, Value* out);

  bool activation_ = false;  // made by NewChild for a call of a function definition
  ScopeLevel level_ = ScopeLevel::Local;  // set by each kind's constructor

  WeakPtr<TJLocalSymbolTable> parent_;
  PropertyMap vars_;
  WeakPtr<TJObject> this_;
  std::vector<std::unique_ptr<TJLocalSymbolTable>> children_;
  // Finished activations kept for the next calls, so a call costs no allocation.
  std::vector<std::unique_ptr<TJLocalSymbolTable>> spare_;
  std::vector<Value> temps_;
  WeakAnchor anchor_;
};

// The table of one function definition; each call runs in an activation (a child
// function table). Lookups from outside the activations ask the newest one first, so a
// nested function sees the variables of the enclosing function's current call.
class TJFunctionSymbolTable : public TJLocalSymbolTable {
public:
  explicit TJFunctionSymbolTable(TJLocalSymbolTable* parent, bool activation = false)
      : TJLocalSymbolTable(parent) {
    activation_ = activation;
    level_ = ScopeLevel::Function;
  }
  bool SetValue(TJLocalSymbolTable* caller, const StrRef& name, const Value& v) override;
  bool GetValue(TJLocalSymbolTable* caller, const StrRef& name, Value& out) override;
  Value* FindSlot(TJLocalSymbolTable* caller, const StrRef& name, bool& blocked) override;
  bool IsActivation() const { return activation_; }
  int32_t tag = 0;  // for the interpreter
  bool AsksNewestChild(TJLocalSymbolTable* caller) const;
};

// The global level of the program or of a namespace.
class TJGlobalSymbolTable : public TJFunctionSymbolTable {
public:
  explicit TJGlobalSymbolTable(TJLocalSymbolTable* parent) : TJFunctionSymbolTable(parent) {
    level_ = ScopeLevel::Global;
  }
};

// The engine's root: also the function tables by parser id and the namespaces.
class TJRootSymbolTable : public TJGlobalSymbolTable {
public:
  TJRootSymbolTable() : TJGlobalSymbolTable(nullptr) { level_ = ScopeLevel::Root; }
  ~TJRootSymbolTable() override;
  void Clear() override;
  // The table of function `id`, made on first use with the table of `parent_id` (if any)
  // as its parent.
  TJFunctionSymbolTable* GetFunctionTable(int32_t parent_id, int32_t id);
  TJGlobalSymbolTable* AddNamespace(const std::string& name, int32_t id);
  // Raises "ENameError" "namespace not found: " + name.
  TJGlobalSymbolTable* FindNamespace(const std::string& name);

private:
  std::map<std::string, std::unique_ptr<TJFunctionSymbolTable>> function_tables_;
  std::map<std::string, TJGlobalSymbolTable*> namespaces_;
};

}  // namespace kestrin::script
