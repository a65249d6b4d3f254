// ActiveXObject: construction from a ProgID or an interface, the DISPID cache, member
// reads and writes, index access, property listing and event connections.
#include "script/objects/activex_object.h"

#include <memory>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/objects/enumerator_object.h"
#include "script/objects/event_sink.h"

namespace kestrin::script {
namespace {

constexpr std::string_view kDispName = "disp";

bool IsDispName(std::string_view name) { return LocaleCompareText(name, kDispName) == 0; }

Value Invoked(const AutomationResult& r, BaseEngine* engine) {
  if (!r.ok()) RaiseAutomationError(r);
  return VariantToValue(r.value, engine);
}

TJObject* NewActiveXObject(BaseEngine* engine, TJValueList* params) {
  Value first = params && params->GetCount() > 0 ? params->GetValue(0) : Value();
  Value disp = first;
  if (!first.dispatch()) {
    std::string prog_id = ValueToStdString(first);
    disp = Value::Disp(CreateFromProgId(prog_id));
    if (!disp.dispatch()) RaiseError(ScriptError::ActiveXCreate, {prog_id});
  }
  auto obj = std::make_unique<TJActiveXObject>(engine, disp);
  if (params && params->GetCount() > 1) obj->SetEventPrefix(ValueToString(params->GetValue(1)));
  return obj.release();
}

}  // namespace

TJActiveXObject::TJActiveXObject(BaseEngine* engine, Value disp) : TJObject(engine), disp_(std::move(disp)) {
  SetObjectName("ActiveXObject");
}

TJActiveXObject::~TJActiveXObject() { Release(); }

// Teardown never raises: a failing Unadvise only loses the connection.
void TJActiveXObject::Release() {
  try {
    DisconnectEvents();
  } catch (...) {
  }
  cache_.Clear();
  disp_ = Value();
  parent_ = Value();
  parent_dispid_ = -1;
  prefix_ = StrRef();
}

void TJActiveXObject::Clear() {
  TJObject::Clear();
  Release();
}

void TJActiveXObject::OnKill() { Release(); }

bool TJActiveXObject::ToVariant(Variant& out) {
  if (!disp_.dispatch()) return false;
  out = VariantDispatch{disp_};
  return true;
}

void TJActiveXObject::SetDisp(const Value& disp) {
  DisconnectEvents();
  cache_.Clear();
  disp_ = disp.dispatch() ? disp : Value();
  parent_ = Value();
  parent_dispid_ = -1;
  if (!prefix_.empty()) ConnectEvents();
}

void TJActiveXObject::SetParent(const Value& parent, int32_t dispid) {
  parent_ = parent;
  parent_dispid_ = dispid;
}

TJActiveXObject::CachedId TJActiveXObject::GetDispID(const StrRef& name) {
  if (const CachedId* known = cache_.Find(name.view())) return *known;
  Dispatch* d = Disp();
  if (!d) RaiseError(ScriptError::ActiveXNoDispatch, {name.view()});
  CachedId id{-1, MemberKind::Property};
  AutomationResult r = d->GetIDsOfNames(name.view(), id.dispid);
  if (!r.ok()) RaiseAutomationError(r);
  if (const std::vector<MemberInfo>* members = d->TypeMembers())
    for (const MemberInfo& m : *members)
      if (m.dispid == id.dispid) id.kind = m.kind;
  cache_.SetValue(name.view(), id);
  return id;
}

// obj[key] and obj(args): the arguments last-first (the key alone when there are none),
// invoked on the property this object was read from, else on the default member.
Value TJActiveXObject::IndexValue(const StrRef& key, const Value& param) {
  TJObject* list = param.object();
  TJValueList* items = list ? list->ListItems() : nullptr;
  std::vector<Variant> args;
  if (items && items->GetCount() > 0) args = ReversedVariants(items);
  else args.emplace_back(std::string(key.view()));
  Value target = parent_.dispatch() ? parent_ : disp_;
  Dispatch* d = target.dispatch();
  if (!d) RaiseError(ScriptError::ActiveXNoDispatch, {key.view()});
  int32_t dispid = parent_.dispatch() ? parent_dispid_ : kDispidValue;
  return Invoked(d->Invoke(dispid, kDispatchMethod | kDispatchPropertyGet, args, false), Engine());
}

bool TJActiveXObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (param) {
    out = IndexValue(name, *param);
    return true;
  }
  // Script members (methods, published and script-set properties) come first.
  if (TJObject::GetValueImpl(name, out, param)) return true;
  CachedId id = GetDispID(name);
  Value disp = disp_;  // held: the call may replace this object's interface
  if (id.kind == MemberKind::Method) {
    out = MakeActiveXMethod(name, disp.dispatch(), id.dispid, 1);
    return true;
  }
  out = Invoked(disp.dispatch()->Invoke(id.dispid, kDispatchPropertyGet, {}, false), Engine());
  if (auto* child = dynamic_cast<TJActiveXObject*>(out.object())) child->SetParent(disp, id.dispid);
  return true;
}

bool TJActiveXObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  if (TJObject::SetValueImpl(name, v, param)) return true;
  CachedId id = GetDispID(name);
  Value disp = disp_;
  // An Array puts its last item with the others as the property's parameters.
  std::vector<Variant> args;
  TJValueList* items = v.object() ? v.object()->ListItems() : nullptr;
  if (items && items->GetCount() > 0) args = ReversedVariants(items);
  else args.push_back(ValueToVariant(v));
  Invoked(disp.dispatch()->Invoke(id.dispid, kDispatchPropertyPut, args, true), Engine());
  return true;
}

void TJActiveXObject::GetPropertyNames(std::vector<StrRef>& out) {
  Dispatch* d = Disp();
  const std::vector<MemberInfo>* members = d ? d->TypeMembers() : nullptr;
  if (!members) return;
  for (const MemberInfo& m : *members)
    if (m.kind == MemberKind::Property) out.emplace_back(m.name);
}

void TJActiveXObject::SetEventPrefix(const StrRef& prefix) {
  prefix_ = prefix;
  if (prefix_.empty()) DisconnectEvents();
  else ConnectEvents();
}

void TJActiveXObject::ConnectEvents() {
  DisconnectEvents();
  Dispatch* d = Disp();
  if (!d) return;
  std::shared_ptr<ConnectionPoint> point = d->FirstConnectionPoint();
  if (!point) return;
  Value sink = Value::Disp(new TJEventSink(*this, point));
  uint32_t cookie = 0;
  AutomationResult r = point->Advise(*sink.dispatch(), cookie);
  if (!r.ok()) RaiseAutomationError(r);
  connections_.push_back(Connection{std::move(point), cookie, std::move(sink)});
}

// Every sink forgets its owner before any Unadvise, so an event fired during the
// disconnection reaches no script.
void TJActiveXObject::DisconnectEvents() {
  std::vector<Connection> connections = std::move(connections_);
  connections_.clear();
  for (Connection& c : connections) static_cast<TJEventSink*>(c.sink.dispatch())->Detach();
  AutomationResult failure;
  for (Connection& c : connections) {
    AutomationResult r = c.point->Unadvise(c.cookie);
    if (!r.ok() && failure.ok()) failure = r;
  }
  if (!failure.ok()) RaiseAutomationError(failure);
}

void TJActiveXObject::FireEvent(const std::string& name, TJValueList& args) {
  if (prefix_.empty()) return;
  Value result;
  CallEvent(prefix_, name, result, &args);
}

void TJActiveXObject::DispProperty::ListNames(std::vector<StrRef>& out, bool events) {
  if (!events) out.emplace_back(kDispName);
}

bool TJActiveXObject::DispProperty::Has(std::string_view name) { return IsDispName(name); }

bool TJActiveXObject::DispProperty::Get(std::string_view name, Value& out) {
  if (!IsDispName(name)) return false;
  out = owner_.disp_;
  return true;
}

bool TJActiveXObject::DispProperty::Set(std::string_view name, const Value& v) {
  if (!IsDispName(name)) return false;
  owner_.SetDisp(v);
  return true;
}

void RegisterActiveXObjects(TJEngine& engine) {
  engine.RegisterObjectClass("ActiveXObject", NewActiveXObject);
  engine.RegisterObjectClass("Enumerator", NewEnumeratorObject);
}

}  // namespace kestrin::script
