// The class registry, prototypes, and the two-phase clear of every kept object.
#include "script/core/factory.h"

#include "script/core/errors.h"
#include "script/core/value_list.h"

namespace kestrin::script {

TJPrototypeObject::TJPrototypeObject(BaseEngine* engine) : TJObject(engine) { SetObjectName("Prototype"); }

const ClassInfo& TJPrototypeObject::Class() const {
  static const ClassInfo info(nullptr, {});
  return info;
}

void TJPrototypeObject::GetPropertyNames(std::vector<StrRef>& out) { GetMemberNames(out, 0, 0); }

TJObjectFactory::TJObjectFactory(BaseEngine* engine) : engine_(engine) {}

TJObjectFactory::~TJObjectFactory() { Clear(); }

void TJObjectFactory::AddClass(std::string_view name, ObjectConstructor create, bool has_global_instance) {
  classes_.SetValue(name, ClassCell{create, has_global_instance});
}

Value TJObjectFactory::Create(std::string_view name, TJValueList* params) {
  const ClassCell* cell = classes_.Find(name);
  if (!cell || !cell->create) return Value::Null();
  TJObject* obj = cell->create(engine_, params);
  Value held = Value::Object(obj);
  if (obj) Register(obj);
  return held;
}

void TJObjectFactory::Register(TJObject* obj) {
  if (OnNewObject) OnNewObject(*this, *obj);
  AddObject(obj);
}

void TJObjectFactory::AddObject(TJObject* obj) {
  if (obj->factory_ || obj->Dead()) return;
  obj->factory_ = this;
  obj->prev_ = nullptr;
  obj->next_ = head_;
  if (head_) head_->prev_ = obj;
  head_ = obj;
  ++count_;
}

void TJObjectFactory::Unlink(TJObject* obj) {
  if (obj->prev_) obj->prev_->next_ = obj->next_;
  else head_ = obj->next_;
  if (obj->next_) obj->next_->prev_ = obj->prev_;
  obj->prev_ = obj->next_ = nullptr;
  obj->factory_ = nullptr;
  --count_;
}

TJObject* TJObjectFactory::GetPrototype(const StrRef& name) {
  if (Value* v = prototypes_.Find(name.view())) {
    auto* proto = static_cast<TJPrototypeObject*>(v->object());
    return proto ? proto->GetEffective() : nullptr;
  }
  auto* proto = new TJPrototypeObject(engine_);
  Value held = Value::Object(proto);
  Register(proto);
  prototypes_.SetValue(name.view(), held);
  return proto;
}

bool TJObjectFactory::SetPrototype(const StrRef& name, TJObject* obj) {
  if (!obj) return false;
  TJObject* walk = obj;
  for (int guard = 0; guard < 1000; ++guard) {
    if (walk->ClassFlags() & kPrototypeClass) {
      GetPrototype(name);
      auto* proto = static_cast<TJPrototypeObject*>(prototypes_.Find(name.view())->object());
      if (!proto) return false;
      proto->SetPrototypeObject(obj);
      return true;
    }
    if (walk->ClassName() == name) return false;
    walk = GetPrototype(walk->ClassName());
    if (!walk) return false;
  }
  return false;
}

void TJObjectFactory::Clear() {
  // Phase 1: hold every kept object, so that nothing is freed while objects are killed.
  std::vector<Value> held;
  std::vector<TJObject*> objects;
  held.reserve(count_);
  objects.reserve(count_);
  for (TJObject* o = head_; o; o = o->next_) {
    held.push_back(Value::Object(o));
    objects.push_back(o);
  }
  prototypes_.Clear();
  for (TJObject* o : objects) o->Kill();
  // Phase 2: forget them all, then let go: those nobody else counts are freed now, the
  // others (zombies) at their last release.
  while (head_) Unlink(head_);
  held.clear();
}

}  // namespace kestrin::script
