// The one list of built-in objects. A new built-in gets its own file pair, named after its
// script name, with one Register function, and one line here.
#include "script/builtins/builtins.h"

#include "script/builtins/array.h"
#include "script/builtins/boolean.h"
#include "script/builtins/date_object.h"
#include "script/builtins/global.h"
#include "script/builtins/number.h"
#include "script/builtins/object.h"
#include "script/builtins/string.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

// In registration order.
constexpr TJLibrary kBuiltins[] = {
    RegisterObject,
    RegisterGlobal,
    RegisterArray,
    RegisterString,
    RegisterNumber,
    RegisterBoolean,
    RegisterDate,
};

}  // namespace

void RegisterBuiltins(TJEngine& engine) {
  for (TJLibrary reg : kBuiltins) reg(engine);
}

}  // namespace kestrin::script
