// The one list of built-in objects. A new built-in gets its own file pair, named after its
// script name, with one Register function, and one line here.
#include "script/builtins/builtins.h"

#include "script/builtins/array_object.h"
#include "script/builtins/date_object.h"
#include "script/builtins/global_object.h"
#include "script/builtins/math_object.h"
#include "script/builtins/number_object.h"
#include "script/builtins/object_object.h"
#include "script/builtins/regexp_object.h"
#include "script/builtins/string_object.h"
#include "script/builtins/wscript_object.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

// In registration order: "Object", "Global", "Array", "String", "Number", "Boolean", then
// "RegExp", "Math", "Date"; last the WScript object, which is no class.
constexpr TJLibrary kBuiltins[] = {
    RegisterObject,
    RegisterGlobal,
    RegisterArray,
    RegisterString,
    RegisterNumber,
    RegisterBoolean,
    RegisterRegExp,
    RegisterMath,
    RegisterDate,
    RegisterWScript,
};

}  // namespace

void RegisterBuiltins(TJEngine& engine) {
  for (TJLibrary reg : kBuiltins) reg(engine);
}

}  // namespace kestrin::script
