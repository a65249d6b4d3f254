// The automation interface: results and their failure texts, the base dispatch, and the
// interface behind a value.
#include "script/core/dispatch.h"

#include "script/core/object.h"

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

}  // namespace kestrin::script
