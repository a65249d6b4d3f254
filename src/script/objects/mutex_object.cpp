// Mutex: lock waits without limit, tryLock for `timeout` milliseconds.
#include "script/objects/mutex_object.h"

#include "script/core/engine.h"

namespace kestrin::script {
namespace {

platform::TMutex& MutexOf(TJObject& self) { return static_cast<TJMutexObject&>(self).Mutex(); }

void MLock(TJObject& self, TJValueList&, Value& result) {
  MutexOf(self).Lock();
  result = Value::Object(&self);
}

void MUnlock(TJObject& self, TJValueList&, Value& result) {
  MutexOf(self).Unlock();
  result = Value::Object(&self);
}

void MTryLock(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(MutexOf(self).TryLock()); }

void MExists(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(MutexOf(self).Existed()); }

Value GetTimeout(TJObject& self) { return Value::Integer(MutexOf(self).timeout); }
void SetTimeout(TJObject& self, const Value& v) { MutexOf(self).timeout = ValueToInteger(v); }
Value GetExisted(TJObject& self) { return Value::Bool(MutexOf(self).Existed()); }

constexpr PropDef kMutexProps[] = {{"timeout", GetTimeout, SetTimeout}, {"existed", GetExisted, nullptr}};

}  // namespace

TJMutexObject::TJMutexObject(BaseEngine* engine, const std::string& name)
    : TJObject(engine), mutex_(name), props_(*this, kMutexProps) {
  SetObjectName("Mutex");
}

const ClassInfo& TJMutexObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"lock", MLock}, {"unlock", MUnlock}, {"tryLock", MTryLock}, {"exists", MExists}});
  return info;
}

void RegisterMutex(TJEngine& engine) {
  engine.RegisterObjectClass("Mutex", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJMutexObject(e, p && p->GetCount() > 0 ? ValueToStdString(p->GetValue(0)) : std::string());
  }, true);
}

}  // namespace kestrin::script
