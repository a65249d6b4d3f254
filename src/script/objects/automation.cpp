// Automation: the ProgID registry, failures as script errors, and the calls of automation
// methods that the interpreter makes through their function values.
#include "script/objects/automation.h"

#include <cstdio>
#include <mutex>

#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/hash_table.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

// Maps an automation member kind to invoke flags: 2 (property put) gives 4, others 3.
int InvokeKindOf(int kind) { return kind == 2 ? 4 : 3; }

struct ProgIds {
  std::mutex lock;
  HashTable<DispatchFactory> table{53, true};
};

ProgIds& TheProgIds() {
  static ProgIds ids;
  return ids;
}

}  // namespace

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

bool ActiveXMethodExtra::Call(BaseEngine& engine, TJValueList* params, Value& result, bool put) const {
  result = Value();
  Value held = disp;  // held through the call: events may replace the member
  Dispatch* d = held.dispatch();
  if (!d) RaiseError(ScriptError::UnsupportedFunction);
  uint16_t flags = static_cast<uint16_t>(put ? int{kDispatchPropertyPut} : InvokeKindOf(kind));
  AutomationResult r = d->Invoke(dispid, flags, ReversedVariants(params), flags == kDispatchPropertyPut);
  if (!r.ok()) RaiseAutomationError(r);
  result = VariantToValue(r.value, &engine);
  return true;
}

}  // namespace kestrin::script
