// The registration list: every built-in class reaches the engine with the object class it
// makes, and the engine's own lists (arguments, array literals) are Array objects.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "script/builtins/array_object.h"
#include "script/builtins/builtins.h"
#include "script/builtins/global_object.h"
#include "script/builtins/regexp_object.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

TEST(Builtins, EveryListedClassIsRegisteredAndMakesItsObject) {
  TJEngine engine(RegisterBuiltins);
  struct Case {
    const char* name;
    uint32_t flags;
  };
  for (Case c : {Case{"Object", 0}, Case{"Array", kArrayObjectClass}, Case{"String", kStringObjectClass},
                 Case{"Number", kNumberObjectClass}, Case{"Boolean", kBooleanObjectClass},
                 Case{"RegExp", kRegExpObjectClass}, Case{"Math", 0}}) {
    SCOPED_TRACE(c.name);
    Value v = engine.Factory().Create(c.name, nullptr);
    ASSERT_NE(v.object(), nullptr);
    EXPECT_EQ(v.object()->ClassName().str(), c.name);
    EXPECT_EQ(v.object()->ClassFlags(), c.flags);
  }
  // Global has no constructor: the engine holds its one instance.
  EXPECT_TRUE(engine.Factory().HasClass("Global"));
  EXPECT_EQ(engine.Factory().Create("Global", nullptr).object(), nullptr);
  EXPECT_NE(dynamic_cast<TJGlobalObject*>(engine.GlobalObject()), nullptr);
  // So does RegExp, beside its constructor.
  EXPECT_NE(dynamic_cast<TJRegExpSingleton*>(engine.RegExp()), nullptr);
  engine.ResetRun();
}

TEST(Builtins, EngineListsAreArrays) {
  TJEngine engine(RegisterBuiltins);
  TJValueList items{Value::Integer(1), Value::String("a")};
  Value v = engine.NewArray(items);
  auto* array = dynamic_cast<TJArrayObject*>(v.object());
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(ValueToStdString(Value::String(array->ToString(nullptr))), "1,a");
  v = Value();
  engine.ResetRun();
}

}  // namespace
}  // namespace kestrin::script
