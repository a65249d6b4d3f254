// Automation: the base dispatch, failure texts, the ProgID registry, and the calls of
// automation methods that the interpreter makes.
#include "script/core/automation.h"

#include <cstdio>
#include <mutex>

#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/hash_table.h"
#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

// The platform's texts of the codes that automation objects return most.
std::string_view CodeText(uint32_t code) {
  switch (code) {
    case kENotImpl: return "Not implemented";
    case kENoInterface: return "No such interface supported";
    case kEFail: return "Unspecified error";
    case kDispEMemberNotFound: return "Member not found.";
    case kDispETypeMismatch: return "Type mismatch.";
    case kDispEUnknownName: return "Unknown name.";
    case kDispEException: return "Exception occurred.";
    case kDispEBadParamCount: return "Invalid number of parameters.";
    case kConnectENoConnection: return "Connection does not exist.";
    default: return "Automation error";
  }
}

struct ProgIds {
  std::mutex lock;
  HashTable<DispatchFactory> table{53, true};
};

ProgIds& TheProgIds() {
  static ProgIds ids;
  return ids;
}

}  // namespace

AutomationResult AutomationResult::Success(Variant v) {
  AutomationResult r;
  r.value = std::move(v);
  return r;
}

AutomationResult AutomationResult::Failure(uint32_t code, std::string description) {
  AutomationResult r;
  r.code = code;
  r.description = description.empty() ? std::string(CodeText(code)) : std::move(description);
  return r;
}

AutomationResult Dispatch::GetIDsOfNames(std::string_view, int32_t& dispid) {
  dispid = -1;
  return AutomationResult::Failure(kENotImpl);
}

AutomationResult Dispatch::Invoke(int32_t, uint16_t, const std::vector<Variant>&, bool) {
  return AutomationResult::Failure(kENotImpl);
}

void RegisterProgId(std::string_view prog_id, DispatchFactory factory) {
  ProgIds& ids = TheProgIds();
  std::lock_guard<std::mutex> guard(ids.lock);
  if (factory) ids.table.SetValue(prog_id, std::move(factory));
  else ids.table.Remove(prog_id);
}

Dispatch* CreateFromProgId(std::string_view prog_id) {
  DispatchFactory factory;
  {
    ProgIds& ids = TheProgIds();
    std::lock_guard<std::mutex> guard(ids.lock);
    if (const DispatchFactory* f = ids.table.Find(prog_id)) factory = *f;
  }
  return factory ? factory() : nullptr;
}

Dispatch* DispatchOf(const Value& v) {
  if (Dispatch* d = v.dispatch()) return d;
  TJObject* obj = v.object();
  if (!obj || !(obj->ClassFlags() & kActiveXObjectClass)) return nullptr;
  auto* automation = dynamic_cast<AutomationObject*>(obj);
  return automation ? automation->Disp() : nullptr;
}

bool IsActiveXCollection(const Value& v) {
  Dispatch* d = DispatchOf(v);
  if (!d) return false;
  Value hold = Value::Disp(d);
  return d->Invoke(kDispidNewEnum, kDispatchPropertyGet, {}, false).ok();
}

void RaiseAutomationError(const AutomationResult& failure) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", failure.code);
  RaiseError(ScriptError::ActiveXFailure, {code, failure.description});
}

std::vector<Variant> ReversedVariants(const TJValueList* params) {
  std::vector<Variant> args;
  int32_t n = params ? params->GetCount() : 0;
  args.reserve(static_cast<size_t>(n));
  for (int32_t i = n - 1; i >= 0; --i) args.push_back(ValueToVariant(params->GetValue(i)));
  return args;
}

Value MakeActiveXMethod(StrRef name, Dispatch* disp, int32_t dispid, uint8_t kind) {
  Value fn = NewFunctionImpl();
  IJFunction* f = fn.function();
  f->name = std::move(name);
  f->func_type = ftActiveX;
  f->extra = std::make_unique<ActiveXMethodExtra>(Value::Disp(disp), dispid, kind);
  return fn;
}

void InvokeActiveXMethod(BaseEngine& engine, IJFunction& fn, TJValueList* params, Value& result, bool put) {
  result = Value();
  auto* method = dynamic_cast<ActiveXMethodExtra*>(fn.extra.get());
  Value disp = method ? method->disp : Value();  // held through the call: events may replace the member
  Dispatch* d = disp.dispatch();
  if (!d) RaiseError(ScriptError::UnsupportedFunction);
  uint16_t flags = static_cast<uint16_t>(put ? int{kDispatchPropertyPut} : InvokeKindOf(method->kind));
  AutomationResult r = d->Invoke(method->dispid, flags, ReversedVariants(params), flags == kDispatchPropertyPut);
  if (!r.ok()) RaiseAutomationError(r);
  result = VariantToValue(r.value, &engine);
}

}  // namespace kestrin::script
