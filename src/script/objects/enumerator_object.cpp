// Enumerator: construction over _NewEnum, the current item, and the moves.
#include "script/objects/enumerator_object.h"

#include <memory>

#include "script/core/error_table.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

TJEnumeratorObject& EnumeratorOf(TJObject& self) { return static_cast<TJEnumeratorObject&>(self); }

void EAtEnd(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(EnumeratorOf(self).AtEnd()); }

void EItem(TJObject& self, TJValueList&, Value& result) { result = EnumeratorOf(self).GetCurrentItem(); }

void EMoveFirst(TJObject& self, TJValueList&, Value& result) {
  EnumeratorOf(self).MoveFirst();
  result = Value::Object(&self);
}

void EMoveNext(TJObject& self, TJValueList&, Value& result) {
  EnumeratorOf(self).MoveNext();
  result = Value::Object(&self);
}

EnumVariant* EnumOf(const Value& v) {
  Dispatch* d = v.dispatch();
  return d ? d->AsEnumVariant() : nullptr;
}

}  // namespace

TJEnumeratorObject::TJEnumeratorObject(BaseEngine* engine, Value enumerator)
    : TJObject(engine), enumerator_(std::move(enumerator)) {
  SetObjectName("Enumerator");
}

const ClassInfo& TJEnumeratorObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"atEnd", EAtEnd}, {"item", EItem}, {"moveFirst", EMoveFirst},
                                             {"moveNext", EMoveNext}});
  return info;
}

bool TJEnumeratorObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (name.empty()) {
    out = GetCurrentItem();
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

void TJEnumeratorObject::OnKill() {
  enumerator_ = Value();
  current_ = Variant();
  at_end_ = true;
}

Value TJEnumeratorObject::GetCurrentItem() { return VariantToValue(current_, Engine()); }

void TJEnumeratorObject::MoveNext() {
  Value hold = enumerator_;
  EnumVariant* e = EnumOf(hold);
  current_ = Variant();
  at_end_ = !e || !e->Next(current_);
  if (at_end_) current_ = Variant();
}

void TJEnumeratorObject::MoveFirst() {
  Value hold = enumerator_;
  if (EnumVariant* e = EnumOf(hold)) e->Reset();
  MoveNext();
}

TJObject* NewEnumeratorObject(BaseEngine* engine, TJValueList* params) {
  Dispatch* collection = params && params->GetCount() > 0 ? DispatchOf(params->GetValue(0)) : nullptr;
  if (!collection) RaiseError(ScriptError::EnumeratorCreate);
  Value hold = Value::Disp(collection);
  AutomationResult r = collection->Invoke(kDispidNewEnum, kDispatchPropertyGet, {}, false);
  const auto* enumerator = std::get_if<VariantDispatch>(&r.value);
  if (!r.ok() || !enumerator || !EnumOf(enumerator->v)) RaiseError(ScriptError::EnumeratorCreate);
  auto obj = std::make_unique<TJEnumeratorObject>(engine, enumerator->v);
  obj->MoveNext();
  return obj.release();
}

}  // namespace kestrin::script
