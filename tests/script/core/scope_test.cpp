// Symbol tables: read and assignment lookups, activations, definition modes, statics,
// namespaces, temporaries and weak links between tables.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "script/core/errors.h"
#include "script/core/function.h"
#include "script/core/object.h"
#include "script/core/scope.h"
#include "script_test_engine.h"

namespace kestrin::script {
namespace {

using testing::CountedObject;
using testing::TestEngine;

int ReadInt(TJLocalSymbolTable& t, const char* name) {
  Value v;
  return t.GetVariable(name, v) ? ValueToInteger(v) : -999;
}

TEST(Scope, ReadOrderOwnThenThisObjectThenParent) {
  TestEngine engine;
  TJRootSymbolTable root;
  TJGlobalSymbolTable* g = root.AddNamespace("__MAIN__", 1);
  Value obj = engine.NewObject();
  obj.object()->SetValue("x", Value::Integer(1));
  engine.Factory().GetPrototype("Object")->SetValue("p", Value::Integer(9));
  g->DefineLocal("x", Value::Integer(2));
  g->DefineLocal("y", Value::Integer(3));
  g->DefineLocal("p", Value::Integer(4));
  TJLocalSymbolTable* with = g->NewChild(nullptr, obj.object());
  with->DefineLocal("z", Value::Integer(5));
  EXPECT_EQ(with->Level(), ScopeLevel::Local);
  EXPECT_EQ(ReadInt(*with, "z"), 5);
  EXPECT_EQ(ReadInt(*with, "x"), 1);  // the this object has the key
  EXPECT_EQ(ReadInt(*with, "y"), 3);
  EXPECT_EQ(ReadInt(*with, "p"), 4);  // prototypes are not asked
  EXPECT_EQ(ReadInt(*with, "nope"), -999);
  // Assignment reaches the this object's member, then the parent.
  with->AssignVariable("x", Value::Integer(7), 0);
  with->AssignVariable("y", Value::Integer(8), 0);
  EXPECT_EQ(obj.object()->GetValue("x").integer(), 7);
  EXPECT_EQ(ReadInt(*g, "y"), 8);
  EXPECT_EQ(with->GetThis(), obj.object());
}

TEST(Scope, NestedFunctionSeesTheNewestActivation) {
  TJRootSymbolTable root;
  root.AddNamespace("__MAIN__", 1);
  TJFunctionSymbolTable* outer = root.GetFunctionTable(1, 10);
  TJFunctionSymbolTable* inner = root.GetFunctionTable(10, 11);
  EXPECT_EQ(inner->Parent(), outer);
  TJLocalSymbolTable* call1 = outer->NewChild(nullptr, nullptr);
  call1->DefineLocal("v", Value::Integer(1));
  TJLocalSymbolTable* call2 = outer->NewChild(nullptr, nullptr);
  call2->DefineLocal("v", Value::Integer(2));
  TJLocalSymbolTable* inner_call = inner->NewChild(nullptr, nullptr);
  EXPECT_EQ(ReadInt(*inner_call, "v"), 2);
  EXPECT_EQ(ReadInt(*call1, "v"), 1);  // an activation reads its own variables
  outer->PopChild();
  EXPECT_EQ(ReadInt(*inner_call, "v"), 1);
  inner_call->AssignVariable("v", Value::Integer(5), 0);
  EXPECT_EQ(ReadInt(*call1, "v"), 5);
  EXPECT_EQ(root.GetFunctionTable(1, 10), outer);  // made once
}

TEST(Scope, AssignmentModesAndStatics) {
  TJRootSymbolTable root;
  TJGlobalSymbolTable* g = root.AddNamespace("__MAIN__", 1);
  TJFunctionSymbolTable* f = root.GetFunctionTable(1, 10);
  TJLocalSymbolTable* call = f->NewChild(nullptr, nullptr);
  Value dummy = Value::Object(new TJObject(nullptr));
  TJLocalSymbolTable* with = call->NewChild(nullptr, dummy.object());
  with->AssignVariable("m1", Value::Integer(1), 1);
  with->AssignVariable("m2", Value::Integer(2), 2);
  with->AssignVariable("m0", Value::Integer(3), 0);
  EXPECT_TRUE(with->HasOwnVariable("m1"));
  EXPECT_TRUE(call->HasOwnVariable("m2"));
  EXPECT_TRUE(g->HasOwnVariable("m0"));
  EXPECT_EQ(with->FindFunctionTable(), call);
  EXPECT_EQ(with->FindGlobalTable(), g);
  // Statics live in the definition table: initialised once, kept across calls.
  call->DefineStatic("s", Value::Integer(1));
  f->PopChild();
  TJLocalSymbolTable* call2 = f->NewChild(nullptr, nullptr);
  call2->DefineStatic("s", Value::Integer(100));
  EXPECT_EQ(ReadInt(*call2, "s"), 1);
  EXPECT_TRUE(f->HasOwnVariable("s"));
  // DefineInFunction keeps an existing variable.
  call2->DefineLocal("k", Value::Integer(1));
  call2->DefineInFunction("k", Value::Integer(2));
  EXPECT_EQ(ReadInt(*call2, "k"), 1);
}

TEST(Scope, UnknownNamespaceIsANameError) {
  TJRootSymbolTable root;
  root.AddNamespace("lib", 3);
  EXPECT_NE(root.FindNamespace("lib"), nullptr);
  try {
    root.FindNamespace("X");
    FAIL();
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "ENameError");
    EXPECT_EQ(e.Message(), "namespace not found: X");
  }
}

TEST(Scope, TemporariesKeepNewObjectsUntilCleared) {
  int destroyed = 0;
  TJLocalSymbolTable scope(nullptr);
  scope.AddTemporary(Value::Object(new CountedObject(nullptr, &destroyed)));
  EXPECT_EQ(destroyed, 0);
  scope.ClearTemporaries();
  EXPECT_EQ(destroyed, 1);
}

TEST(Scope, LinksToFreedTablesReadAsNothing) {
  TJRootSymbolTable root;
  root.AddNamespace("__MAIN__", 1);
  TJFunctionSymbolTable* f = root.GetFunctionTable(1, 10);
  TJLocalSymbolTable* call = f->NewChild(nullptr, nullptr);
  call->DefineLocal("v", Value::Integer(1));
  // An eval-style table attached under a call that then ends.
  TJFunctionSymbolTable* evaluated = root.GetFunctionTable(10, 12);
  evaluated->SetParent(call);
  EXPECT_EQ(ReadInt(*evaluated, "v"), 1);
  f->PopChild();
  EXPECT_EQ(evaluated->Parent(), nullptr);
  EXPECT_EQ(ReadInt(*evaluated, "v"), -999);
  // A function value outlives the tables it names.
  Value fn = NewFunctionImpl();
  fn.function()->SetSymbolTable(f);
  root.Clear();
  EXPECT_EQ(fn.function()->SymbolTable(), nullptr);
}

TEST(Scope, FunctionAssignCopiesClosureVariables) {
  Value src = NewFunctionImpl();
  auto closure = std::make_unique<TJLocalSymbolTable>(nullptr);
  closure->DefineLocal("a", Value::Integer(1));
  src.function()->SetClosureTable(std::move(closure));
  src.function()->name = "f";
  src.function()->call_mode = cmCall;
  Value copy = NewFunctionImpl();
  copy.function()->Assign(*src.function());
  EXPECT_EQ(copy.function()->name.view(), "f");
  EXPECT_EQ(copy.function()->call_mode, cmCall);
  ASSERT_NE(copy.function()->ClosureTable(), nullptr);
  EXPECT_NE(copy.function()->ClosureTable(), src.function()->ClosureTable());
  EXPECT_EQ(ReadInt(*copy.function()->ClosureTable(), "a"), 1);
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

TEST(Scope, DefiningFromAValueHeldInTheSameTableIsSafe) {
  TJLocalSymbolTable t(nullptr);
  t.DefineLocal("a", Value::String("text"));
  for (int i = 0; i < 40; ++i) {
    // The source lives inside the table whose storage grows while the name is added.
    const Value& a = t.Variables().Find(StrRef("a"))->value;
    std::string name = "v";
    name += std::to_string(i);
    t.DefineLocal(StrRef(name), a);
  }
  Value v;
  ASSERT_TRUE(t.GetVariable("v39", v));
  EXPECT_EQ(v.text(), "text");
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

// The interpreter's LookupSlot walks as FindSlot(this, ...) does, from every kind of table:
// own variables (few and many), a this object that blocks, a definition table asked from
// outside its activations (the newest answers) and from its own activation (it does not),
// a parent cycle through an eval-style table, and names nobody has.
TEST(Scope, LookupSlotFindsWhatFindSlotFinds) {
  TestEngine engine;
  TJRootSymbolTable root;
  TJGlobalSymbolTable* g = root.AddNamespace("__MAIN__", 1);
  Value global_this = engine.NewObject();
  global_this.object()->SetValue("member", Value::Integer(1));
  g->SetThis(global_this.object());
  // The names of the large tables are looked up by the very cells they are stored under
  // too (as the parser's names are), so that the look-ups' entry hints are used.
  std::map<std::string, StrRef> cells;
  auto cell = [&cells](const std::string& name) { return cells.emplace(name, StrRef(name)).first->second; };
  for (int i = 0; i < 12; ++i) g->DefineLocal(cell("g" + std::to_string(i)), Value::Integer(i));
  g->DefineLocal("shadowed", Value::Integer(2));
  TJFunctionSymbolTable* outer = root.GetFunctionTable(1, 10);
  outer->SetParent(g);
  TJFunctionSymbolTable* inner = root.GetFunctionTable(10, 11);
  outer->DefineLocal("static_v", Value::Integer(3));
  TJLocalSymbolTable* outer_call = outer->NewChild(nullptr, global_this.object());
  outer_call->DefineLocal("shadowed", Value::Integer(4));
  outer_call->DefineLocal("local_v", Value::Integer(5));
  for (int i = 0; i < 6; ++i) outer_call->DefineLocal(cell("l" + std::to_string(i)), Value::Integer(i));
  TJLocalSymbolTable* inner_call = inner->NewChild(nullptr, nullptr);
  inner_call->DefineLocal("param", Value::Integer(6));
  Value with_obj = engine.NewObject();
  with_obj.object()->SetValue("param", Value::Integer(7));
  TJLocalSymbolTable* with = inner_call->NewChild(nullptr, with_obj.object());
  TJFunctionSymbolTable* evaluated = root.GetFunctionTable(11, 12);
  evaluated->SetParent(with);

  const char* names[] = {"param", "local_v", "shadowed", "static_v", "member", "g0", "g11", "l5", "nope"};
  TJLocalSymbolTable* from[] = {g, outer, outer_call, inner, inner_call, with, evaluated};
  // Each name is looked up by a cell of its own and by the cell it is stored under, twice
  // each: the second time with the entry index the first left in the hint, the first time
  // with whatever the previous look-up left there.
  uint32_t hint = 0;
  for (TJLocalSymbolTable* t : from) {
    for (const char* name : names) {
      SCOPED_TRACE(std::string(name) + " from level " + std::to_string(static_cast<int>(t->Level())));
      for (const StrRef& key : {StrRef(name), cell(name)}) {
        bool blocked_walk = false;
        Value* walk = t->FindSlot(t, key, blocked_walk);
        for (int pass = 0; pass < 2; ++pass) {
          bool blocked_lookup = false;
          EXPECT_EQ(t->LookupSlot(key, blocked_lookup, hint), walk);
          EXPECT_EQ(blocked_lookup, blocked_walk);
        }
      }
    }
  }
  // A few answers spelled out: the with object blocks its member's name, the newest
  // activation answers for the definition table, the activation shadows the global.
  bool blocked = false;
  EXPECT_EQ(with->LookupSlot("param", blocked, hint), nullptr);
  EXPECT_TRUE(blocked);
  blocked = false;
  Value* v = inner_call->LookupSlot("shadowed", blocked, hint);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->integer(), 4);
  v = g->LookupSlot("shadowed", blocked, hint);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->integer(), 2);
}

}  // namespace
}  // namespace kestrin::script
