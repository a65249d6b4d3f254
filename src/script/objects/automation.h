// Automation as scripts reach it: the ProgID registry that makes objects by name, the
// failures raised as script errors, and the function values of automation methods that
// call themselves when the interpreter calls them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "script/core/dispatch.h"
#include "script/core/function.h"

namespace kestrin::script {

// ProgIDs (matched without case) and the factories that make their objects. The program
// registers none; tests register their automation objects.
using DispatchFactory = std::function<Dispatch*()>;
void RegisterProgId(std::string_view prog_id, DispatchFactory factory);
// A new object (count 0) of the ProgID; null when none is registered.
Dispatch* CreateFromProgId(std::string_view prog_id);

// Raises "EActiveXError" with the code in hex and the description.
[[noreturn]] void RaiseAutomationError(const AutomationResult& failure);
// The script arguments as variants, last first.
std::vector<Variant> ReversedVariants(const TJValueList* params);

// The record of an automation method held in a function value; calling the function
// invokes the method with the script's arguments (`put` makes it a property put whose
// last argument is the value). Failures raise "EActiveXError".
class ActiveXMethodExtra : public FunctionExtra {
public:
  ActiveXMethodExtra(Value disp, int32_t dispid, uint8_t kind) : disp(std::move(disp)), dispid(dispid), kind(kind) {}
  std::unique_ptr<FunctionExtra> Clone() const override { return std::make_unique<ActiveXMethodExtra>(disp, dispid, kind); }
  bool Call(BaseEngine& engine, TJValueList* params, Value& result, bool put) const override;
  Value disp;      // the dispatch value (counted)
  int32_t dispid;
  uint8_t kind;    // 1 method or property get, 2 property put
};

// A function value (kind ftActiveX) that invokes `dispid` of `disp`.
Value MakeActiveXMethod(StrRef name, Dispatch* disp, int32_t dispid, uint8_t kind);

}  // namespace kestrin::script
