// TJObjectFactory: the class registry by script name, the per-class prototypes, and the
// ownership of every object created with the engine until Clear.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "script/core/hash_table.h"
#include "script/core/object.h"

namespace kestrin::script {

class BaseEngine;

// The object that the factory keeps for a class name; it has no base methods and ends
// the prototype chain unless an ordinary object was assigned to it.
class TJPrototypeObject : public TJObject {
public:
  explicit TJPrototypeObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kPrototypeClass; }
  void GetPropertyNames(std::vector<StrRef>& out) override;
  void OnKill() override { assigned_ = Value(); }
  // Counted: the assigned object lives as long as the prototype keeps it.
  void SetPrototypeObject(TJObject* obj) { assigned_ = Value::Object(obj); }
  TJObject* GetEffective() {
    TJObject* o = assigned_.object();
    return o ? o : this;
  }

private:
  Value assigned_;
};

// Makes an object of a registered class: (engine, arguments) -> a new object (count 0).
using ObjectConstructor = TJObject* (*)(BaseEngine* engine, TJValueList* params);

struct ClassCell {
  ObjectConstructor create = nullptr;
  bool has_global_instance = false;  // the engine binds one instance under the class name
};

class TJObjectFactory {
public:
  explicit TJObjectFactory(BaseEngine* engine);
  TJObjectFactory(const TJObjectFactory&) = delete;
  TJObjectFactory& operator=(const TJObjectFactory&) = delete;
  ~TJObjectFactory();

  void AddClass(std::string_view name, ObjectConstructor create, bool has_global_instance = false);
  bool HasClass(std::string_view name) const { return classes_.HasKey(name); }
  const ClassCell* FindClass(std::string_view name) const { return classes_.Find(name); }
  // In class-table order (53 buckets).
  std::vector<std::string> GetClassNames() const { return classes_.Keys(); }

  // A new object of a registered class, registered with the factory; null when the
  // class is unknown.
  Value Create(std::string_view name, TJValueList* params);
  // Fires OnNewObject, then keeps the object (AddObject). The caller holds the object
  // (a Value or Ref) across the call: a count-0 object dies at its first release.
  void Register(TJObject* obj);
  void AddObject(TJObject* obj);
  // The effective prototype of a class name; made (and kept) on first use.
  TJObject* GetPrototype(const StrRef& name);
  // Assigns obj as the prototype of a class name; false (and nothing changed) when that
  // would make a cycle.
  bool SetPrototype(const StrRef& name, TJObject* obj);
  // Kills every kept object (it reads as undefined from then on), releases what they
  // hold, then frees them; an object still counted from outside is freed at its last
  // release.
  void Clear();
  size_t ObjectCount() const { return count_; }

  std::function<void(TJObjectFactory&, TJObject&)> OnNewObject;

private:
  friend class TJObject;
  void Unlink(TJObject* obj);

  BaseEngine* engine_;
  HashTable<ClassCell> classes_{53, false};
  HashTable<Value> prototypes_{23, false};
  TJObject* head_ = nullptr;
  size_t count_ = 0;
};

}  // namespace kestrin::script
