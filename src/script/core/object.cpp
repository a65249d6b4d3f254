// TJObject: member lookup, class methods materialised on first read, the base script
// methods, events, and the release queue.
#include "script/core/object.h"

#include <algorithm>

#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/hash_table.h"
#include "script/core/published.h"
#include "script/core/value_list.h"

namespace kestrin::script {

namespace {

constexpr int kMaxPrototypeDepth = 64;

// A payload whose count reached 0, with the routine that frees it.
struct Pending {
  RcHeader* payload;
  void (*destroy)(RcHeader*);
};

thread_local std::vector<Pending> g_release_queue;
thread_local int g_release_depth = 0;
constexpr int kInlineReleaseDepth = 16;
thread_local int g_prototype_depth = 0;

Value NamesToArray(TJObject& self, const std::vector<StrRef>& names) {
  if (!self.Engine()) return Value();
  TJValueList items;
  for (const StrRef& n : names) items.AddString(n);
  return self.Engine()->NewArray(items);
}

StrRef FirstArgText(TJValueList& params) {
  return ValueToString(params.GetValue(0));
}

void MHasKey(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && self.HasKey(FirstArgText(params)));
}

void MRemoveKey(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && self.RemoveKey(FirstArgText(params)));
}

void MToString(TJObject& self, TJValueList& params, Value& result) {
  Value arg = params.GetCount() > 0 ? params.GetValue(0) : Value();
  result = Value::String(self.ToString(params.GetCount() > 0 ? &arg : nullptr));
}

void MGetKeys(TJObject& self, TJValueList&, Value& result) {
  std::vector<StrRef> names;
  self.GetMemberNames(names, 0, 0);
  if (PublishedProperties* p = self.Published()) p->ListNames(names, false);
  result = NamesToArray(self, names);
}

void MGetProperties(TJObject& self, TJValueList&, Value& result) {
  std::vector<StrRef> names;
  self.GetPropertyNames(names);
  result = NamesToArray(self, names);
}

void MGetMethods(TJObject& self, TJValueList&, Value& result) {
  std::vector<StrRef> names;
  self.GetMethodNames(names);
  result = NamesToArray(self, names);
}

void MValueOf(TJObject& self, TJValueList&, Value& result) { result = self.ValueOf(); }

void MGetEvents(TJObject& self, TJValueList&, Value& result) {
  std::vector<StrRef> names;
  self.GetEventNames(names);
  result = NamesToArray(self, names);
}

}  // namespace

// ---- release queue ----

// A payload is freed at once unless frees are already nested kInlineReleaseDepth deep: only
// then it waits in the queue, which the outermost free drains. Long chains stay off the
// stack, and freeing a list of objects frees each as it goes instead of queueing them all.
static void Defer(RcHeader* payload, void (*destroy)(RcHeader*)) {
  if (g_release_depth >= kInlineReleaseDepth) {
    g_release_queue.push_back(Pending{payload, destroy});
    return;
  }
  ++g_release_depth;
  destroy(payload);
  if (g_release_depth == 1) {
    while (!g_release_queue.empty()) {
      Pending p = g_release_queue.back();
      g_release_queue.pop_back();
      p.destroy(p.payload);
    }
  }
  --g_release_depth;
}

void ReleaseObject(TJObject* obj) {
  if (obj->rc_flags & kRcQueued) return;
  obj->rc_flags |= kRcQueued;
  Defer(obj, [](RcHeader* h) {
    auto* o = static_cast<TJObject*>(h);
    o->rc_flags &= ~kRcQueued;
    if (o->refs == 0) delete o;  // not revived meanwhile
  });
}

void ReleaseFunction(IJFunction* fn) {
  Defer(fn, [](RcHeader* h) { delete static_cast<IJFunction*>(h); });
}

// ---- class tables ----

ClassInfo::ClassInfo(const ClassInfo* base, std::span<const MethodDef> methods) {
  if (base) methods_ = base->methods_;
  for (const MethodDef& m : methods) {
    auto it = std::find_if(methods_.begin(), methods_.end(), [&](auto& e) { return e.first == std::string_view(m.name); });
    if (it != methods_.end()) it->second = m.fn;
    else methods_.emplace_back(StrRef(m.name), m.fn);
  }
  for (size_t i = 0; i < methods_.size(); ++i) {
    std::string_view n = methods_[i].first.view();
    index_[n] = i;
    length_bits_ |= uint64_t{1} << std::min<size_t>(n.size(), 63);
    if (!n.empty()) first_bits_ |= uint64_t{1} << (static_cast<unsigned char>(n[0]) & 63);
  }
}

// Most names asked are data members: a name whose length or first byte no method has is
// answered without hashing.
NativeMethod ClassInfo::FindMethod(std::string_view name) const {
  if (!(length_bits_ & (uint64_t{1} << std::min<size_t>(name.size(), 63)))) return nullptr;
  if (!name.empty() && !(first_bits_ & (uint64_t{1} << (static_cast<unsigned char>(name[0]) & 63)))) return nullptr;
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : methods_[it->second].second;
}

const ClassInfo& TJObject::BaseClass() {
  static const ClassInfo info(nullptr, {{"hasKey", MHasKey}, {"hasOwnProperty", MHasKey},
      {"removeKey", MRemoveKey}, {"toString", MToString}, {"getKeys", MGetKeys},
      {"getProperties", MGetProperties}, {"getMethods", MGetMethods}, {"valueOf", MValueOf},
      {"getEvents", MGetEvents}});
  return info;
}

// ---- life ----

// One shared cell per thread for the default class name (counts are not atomic).
static const StrRef& DefaultClassName() {
  static thread_local const StrRef name("Object");
  return name;
}

TJObject::TJObject(BaseEngine* engine) : class_name_(DefaultClassName()) {
  if (engine) engine_ = WeakPtr<BaseEngine>(engine->WeakHandle());
}

TJObject::~TJObject() {
  weak_.Kill();
  if (factory_) factory_->Unlink(this);
  members_.Clear();
}

uint32_t TJObject::DecRef() {
  if (refs > 0) --refs;
  uint32_t left = refs;
  if (left == 0) ReleaseObject(this);
  return left;
}

void TJObject::Kill() {
  rc_flags |= kRcDead;
  weak_.Kill();
  try {
    OnKill();
  } catch (...) {
    // The clear frees every object whatever a class's teardown reports.
  }
  engine_.reset();  // a zombie may outlive its engine
  members_.Clear();
  events_.reset();
}

// ---- lookup ----

bool TJObject::FindOwnMember(const StrRef& name, Value& out) {
  if (PropertyMap::Entry* e = members_.Find(name)) {
    if (e->removed()) return false;
    out = e->value;
    return true;
  }
  if (HidesClassMethods()) return false;
  NativeMethod fn = Class().FindMethod(name.view());
  if (!fn) return false;
  out = MakeNativeFunction(name, fn, this);
  members_.Put(name, out);
  return true;
}

bool TJObject::LookupPrototype(const StrRef& name, Value& out) {
  BaseEngine* engine = Engine();
  if ((ClassFlags() & kPrototypeClass) || !engine || g_prototype_depth >= kMaxPrototypeDepth) return false;
  TJObject* proto = engine->Factory().GetPrototype(class_name_);
  if (!proto || proto == this) return false;
  Ref<TJObject> hold(proto);
  ++g_prototype_depth;
  bool found = false;
  try {
    found = proto->GetValueImpl(name, out, nullptr);
  } catch (...) {
    --g_prototype_depth;
    throw;
  }
  --g_prototype_depth;
  return found;
}

bool TJObject::GetValueImpl(const StrRef& name, Value& out, const Value*) {
  if (Dead()) return false;
  if (PublishedProperties* p = Published())
    if (p->Get(name.view(), out)) return true;
  if (FindOwnMember(name, out)) return true;
  return LookupPrototype(name, out);
}

bool TJObject::SetValueImpl(const StrRef& name, const Value& v, const Value*) {
  if (Dead()) return true;  // a killed object takes nothing
  if (PublishedProperties* p = Published())
    if (p->Set(name.view(), v)) return true;
  PropertyMap::Entry* e = members_.Find(name);
  if (e && !e->removed()) {
    e->value = v;
    return true;
  }
  if (!e && !HidesClassMethods() && Class().FindMethod(name.view())) {
    members_.Put(name, v);
    return true;
  }
  return false;
}

void TJObject::GetValue(const StrRef& name, bool array_style, Value& out, const Value* param) {
  out = Value();
  if (!GetValueImpl(name, out, param)) RaiseError(array_style ? ScriptError::KeyMissing : ScriptError::MemberMissing, {name.view()});
}

Value TJObject::GetValue(const StrRef& name, bool array_style) {
  Value v;
  GetValue(name, array_style, v);
  return v;
}

void TJObject::SetValue(const StrRef& name, const Value& v, const Value* param) {
  if (SetValueImpl(name, v, param)) return;
  members_.Put(name, v);
}

bool TJObject::HasKey(const StrRef& name) {
  if (Dead()) return false;
  if (HasPublishedProp(name)) return true;
  if (PropertyMap::Entry* e = members_.Find(name)) return !e->removed();
  return !HidesClassMethods() && Class().FindMethod(name.view());
}

bool TJObject::RemoveKey(const StrRef& name) {
  if (Dead()) return false;
  bool class_method = !HidesClassMethods() && Class().FindMethod(name.view());
  PropertyMap::Entry* e = members_.Find(name);
  if (e && e->removed()) return false;
  if (!e && !class_method) return false;
  if (class_method) {
    PropertyMap::Entry& t = members_.FindOrAdd(name);
    Value dropped = std::move(t.value);
    t.MarkRemoved();
  } else {
    members_.Erase(name.view());
  }
  return true;
}

void TJObject::Clear() {
  members_.Clear();
  rc_flags &= ~kRcHideClassMethods;
  RegisterConstants();
}

StrRef TJObject::ToString(const Value*) {
  return "[object " + class_name_.str() + "]";
}

Value TJObject::ValueOf() { return Value::Object(this); }

void TJObject::GetItem(int32_t, Value& out) { out = Value(); }

// ---- names ----

void TJObject::SortMemberNames(std::vector<StrRef>& names) {
  std::sort(names.begin(), names.end(), [](const StrRef& a, const StrRef& b) {
    uint32_t ba = a.Hash() % kMemberBuckets, bb = b.Hash() % kMemberBuckets;
    if (ba != bb) return ba < bb;
    return LocaleCompare(a.view(), b.view()) < 0;
  });
}

void TJObject::GetMemberNames(std::vector<StrRef>& out, KindSet include, KindSet exclude) {
  std::vector<StrRef> names;
  auto wanted = [&](TJValueType t) {
    KindSet bit = KindBit(t);
    return (include == 0 || (include & bit)) && !(exclude & bit);
  };
  for (const PropertyMap::Entry& e : members_.entries())
    if (!e.removed() && wanted(e.value.type())) names.push_back(e.key);
  if (!HidesClassMethods() && wanted(vtFunction))
    for (const auto& [name, fn] : Class().methods())
      if (!members_.Find(name)) names.push_back(name);
  SortMemberNames(names);
  out.insert(out.end(), names.begin(), names.end());
}

void TJObject::GetPropertyNames(std::vector<StrRef>& out) {
  GetMemberNames(out, 0, KindBit(vtFunction));
  if (PublishedProperties* p = Published()) p->ListNames(out, false);
}

void TJObject::GetMethodNames(std::vector<StrRef>& out) { GetMemberNames(out, KindBit(vtFunction), 0); }

void TJObject::GetEventNames(std::vector<StrRef>& out) {
  if (events_) out.insert(out.end(), events_->begin(), events_->end());
}

// ---- non-virtual member operations ----

void TJObject::DefineMethod(const StrRef& name, NativeMethod fn) {
  members_.Put(name, MakeNativeFunction(name, fn, this));
}

void TJObject::DefineEvent(const StrRef& name) {
  if (!events_) events_ = std::make_unique<std::vector<StrRef>>();
  std::vector<StrRef>& events = *events_;
  auto it = std::lower_bound(events.begin(), events.end(), name,
      [](const StrRef& a, const StrRef& b) { return LocaleCompareText(a.view(), b.view()) < 0; });
  if (it != events.end() && LocaleCompareText(it->view(), name.view()) == 0) return;
  events.insert(it, name);
}

void TJObject::StoreMember(const StrRef& name, const Value& v) { members_.Put(name, v); }

void TJObject::ClearMembers() {
  members_.Clear();
  rc_flags |= kRcHideClassMethods;
}

void TJObject::ClearDataMembers() {
  members_.EraseIf([](const PropertyMap::Entry& e) { return !e.removed() && e.value.type() != vtFunction; });
}

void TJObject::RemoveMembers(KindSet remove, KindSet keep) {
  std::vector<StrRef> names;
  GetMemberNames(names, remove, keep);
  for (const StrRef& n : names) RemoveKey(n);
}

bool TJObject::HasPublishedProp(const StrRef& name) {
  PublishedProperties* p = Published();
  return p && p->Has(name.view());
}

bool TJObject::HasEventHandler(const StrRef& name) {
  BaseEngine* engine = Engine();
  if (!engine || !engine->Running() || name.empty()) return false;
  Value v;
  return GetValueImpl(name, v, nullptr);
}

void TJObject::CallEvent(const StrRef& prefix, const StrRef& name, Value& result, TJValueList* params) {
  result = Value();
  BaseEngine* engine = Engine();
  if (!engine || engine->HoldsEvents()) return;
  Value fn;
  if (!prefix.empty()) {
    if (!engine->FindFunction(Concat(prefix.view(), name.view()), fn)) return;
  } else {
    GetValue(name, true, fn);
  }
  if (IJFunction* f = fn.function()) engine->CallFunction(*f, params, result, this);
}

}  // namespace kestrin::script
