// Object lifetimes: counting by values and containers, weak holders, the factory's
// two-phase clear with zombies, and iterative release of long chains.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/function.h"
#include "script/core/object.h"
#include "script/core/scope.h"
#include "script/core/value_list.h"
#include "script_test_engine.h"

namespace kestrin::script {
namespace {

using testing::CountedObject;
using testing::TestEngine;

TEST(Lifetime, CountStartsAtZeroStoringCountsOverwritingFrees) {
  int destroyed = 0;
  auto* obj = new CountedObject(nullptr, &destroyed);
  EXPECT_EQ(obj->RefCount(), 0u);
  TJValueList vars;
  vars.Add(Value::Object(obj));
  EXPECT_EQ(obj->RefCount(), 1u);
  TJValueList uncounted;
  uncounted.Add(Value::Object(obj), false);
  EXPECT_EQ(obj->RefCount(), 1u);
  EXPECT_EQ(uncounted.GetValue(0).object(), obj);
  vars.Put(0, Value::Integer(1));  // overwrite: the last count goes
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(uncounted.GetValue(0).type(), vtUndefined);
}

TEST(Lifetime, TwoHoldersReleasingOneKeepsTheObject) {
  int destroyed = 0;
  Value v = Value::Object(new CountedObject(nullptr, &destroyed));
  Value holder = Value::Object(new TJObject(nullptr));
  holder.object()->SetValue("a", v);
  TJValueList list{v};
  v = Value();
  list.Clear();
  EXPECT_EQ(destroyed, 0);
  holder.object()->SetValue("a", Value::Null());
  EXPECT_EQ(destroyed, 1);
}

TEST(Lifetime, ObjectHeldTwiceByOneContainerThenReleased) {
  for (bool clear_factory : {false, true}) {
    int destroyed = 0;
    TestEngine engine;
    Value o = Value::Object(new CountedObject(&engine, &destroyed));
    engine.Factory().Register(o.object());
    Value arr = engine.NewArray(TJValueList{o, o});
    Value holder = engine.NewObject();
    holder.object()->SetValue("a", o);
    holder.object()->SetValue("b", o);
    holder.object()->SetValue("a", Value::Integer(1));
    o = Value();
    EXPECT_EQ(destroyed, 0);
    if (clear_factory) {
      engine.Factory().Clear();
      EXPECT_EQ(destroyed, 1);
      EXPECT_EQ(holder.type(), vtUndefined);  // the holders themselves are zombies now
    } else {
      static_cast<testing::TestArray*>(arr.object())->items.Put(0, Value());
      EXPECT_EQ(destroyed, 0);
      static_cast<testing::TestArray*>(arr.object())->items.Clear();
      holder.object()->RemoveKey("b");
      EXPECT_EQ(destroyed, 1);
    }
  }
}

TEST(Lifetime, ValueHeldFromOutsideAcrossFactoryClearIsAZombie) {
  int destroyed = 0;
  Value outside;
  {
    TestEngine engine;
    Value o = Value::Object(new CountedObject(&engine, &destroyed));
    engine.Factory().Register(o.object());
    o.object()->SetValue("x", Value::Integer(1));
    outside = o;
    Value fn = o.object()->GetValue("toString");
    engine.Factory().Clear();
    EXPECT_EQ(destroyed, 0);  // still counted from outside
    EXPECT_EQ(outside.type(), vtUndefined);
    EXPECT_EQ(outside.object(), nullptr);
    EXPECT_EQ(ValueToStdString(outside), "undefined");
    Value result = Value::Integer(7);
    TJValueList none;
    CallNativeFunction(*fn.function(), none, result);  // its object is gone: nothing runs
    EXPECT_EQ(result.type(), vtUndefined);
    EXPECT_EQ(engine.Factory().ObjectCount(), 0u);
  }
  outside = Value();  // the zombie goes with its last count, after its engine
  EXPECT_EQ(destroyed, 1);
}

TEST(Lifetime, CyclesAreBrokenByFactoryClear) {
  int destroyed = 0;
  {
    TestEngine engine;
    Value a = Value::Object(new CountedObject(&engine, &destroyed));
    Value b = Value::Object(new CountedObject(&engine, &destroyed));
    engine.Factory().Register(a.object());
    engine.Factory().Register(b.object());
    a.object()->SetValue("other", b);
    b.object()->SetValue("other", a);
    a.object()->SetValue("self", a);
  }
  EXPECT_EQ(destroyed, 2);
}

Value MakeChain(BaseEngine* engine, int n, int* destroyed) {
  const StrRef next("next");
  Value head;
  for (int i = 0; i < n; ++i) {
    Value node = Value::Object(new CountedObject(engine, destroyed));
    if (engine) engine->Factory().Register(node.object());
    node.object()->SetValue(next, head);
    head = std::move(node);
  }
  return head;
}

TEST(Lifetime, MillionNodeChainIsFreedWithoutDeepRecursion) {
  int destroyed = 0;
  Value head = MakeChain(nullptr, 1000000, &destroyed);
  EXPECT_EQ(destroyed, 0);
  head = Value();
  EXPECT_EQ(destroyed, 1000000);
}

TEST(Lifetime, LongChainIsFreedByFactoryClear) {
  int destroyed = 0;
  TestEngine engine;
  Value head = MakeChain(&engine, 100000, &destroyed);
  engine.Factory().Clear();
  EXPECT_EQ(destroyed, 99999);  // the head is still counted here
  head = Value();
  EXPECT_EQ(destroyed, 100000);
}

TEST(Lifetime, WeakHoldersReadNothingAfterDeath) {
  int destroyed = 0;
  Value o = Value::Object(new CountedObject(nullptr, &destroyed));
  Value fn = MakeNativeFunction("m", [](TJObject&, TJValueList&, Value& r) { r = Value::Integer(1); }, o.object());
  TJLocalSymbolTable scope(nullptr);
  scope.SetThis(o.object());
  TJValueList list;
  list.Add(o, false);
  EXPECT_EQ(fn.function()->BoundObject(), o.object());
  EXPECT_EQ(scope.GetThis(), o.object());
  o = Value();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(fn.function()->BoundObject(), nullptr);
  EXPECT_EQ(scope.GetThis(), nullptr);
  EXPECT_EQ(list.GetValue(0).type(), vtUndefined);
}

TEST(Lifetime, MethodValueKeepsWorkingWhileItsObjectIsHeld) {
  // o.m(o = null): the caller holds the evaluated object while the method runs.
  Value o = Value::Object(new TJObject(nullptr));
  o.object()->SetValue("n", Value::Integer(4));
  Value m = o.object()->GetValue("hasKey");
  Value held = o;
  o = Value::Null();
  Value result;
  TJValueList args{Value::String("n")};
  CallNativeFunction(*m.function(), args, result);
  EXPECT_TRUE(result.boolean());
}

TEST(Lifetime, PrototypeAndAssignedObjectAreFreedByClear) {
  int destroyed = 0;
  {
    TestEngine engine;
    Value p = Value::Object(new CountedObject(&engine, &destroyed));
    engine.Factory().Register(p.object());
    p.object()->SetObjectName("Base");
    EXPECT_TRUE(engine.Factory().SetPrototype("Widget", p.object()));
    p.object()->SetValue("me", p);
  }
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

// Random stores, overwrites, weak slots, removals and factory clears over a small pool of
// objects; the sanitizers report any read of freed memory, and every destructor runs.
TEST(Lifetime, RandomOwnershipOperationsStaySafe) {
  int destroyed = 0, created = 0;
  {
    TestEngine engine;
    std::mt19937 rng(12345);
    std::vector<Value> roots(8);
    TJValueList weak_slots;
    const StrRef names[] = {"a", "b", "c"};
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    for (int step = 0; step < 20000; ++step) {
      Value& r = roots[pick(roots.size())];
      switch (pick(8)) {
        case 0: {
          Value o = Value::Object(new CountedObject(&engine, &destroyed));
          ++created;
          engine.Factory().Register(o.object());
          r = o;
          break;
        }
        case 1:
          if (TJObject* o = r.object()) o->SetValue(names[pick(3)], roots[pick(roots.size())]);
          break;
        case 2:
          if (TJObject* o = r.object()) o->RemoveKey(names[pick(3)]);
          break;
        case 3: weak_slots.Add(r, false); break;
        case 4:
          if (weak_slots.GetCount() > 0) {
            Value v = weak_slots.GetValue(static_cast<int32_t>(pick(static_cast<size_t>(weak_slots.GetCount()))));
            if (TJObject* o = v.object()) o->HasKey(names[0]);
          }
          break;
        case 5: r = Value(); break;
        case 6:
          if (TJObject* o = r.object()) {
            Value m = o->GetValue("hasKey");
            TJValueList args{Value::String("a")};
            Value out;
            CallNativeFunction(*m.function(), args, out);
          }
          break;
        case 7:
          if (pick(50) == 0) engine.Factory().Clear();
          break;
      }
    }
    roots.clear();
  }
  EXPECT_EQ(destroyed, created);
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

TEST(Lifetime, ObjectOutlivingItsEngineSeesNoEngine) {
  Value unregistered;
  {
    TestEngine engine;
    unregistered = Value::Object(new TJObject(&engine));  // never handed to the factory
    EXPECT_EQ(unregistered.object()->Engine(), &engine);
  }
  EXPECT_EQ(unregistered.object()->Engine(), nullptr);
  EXPECT_THROW(unregistered.object()->GetValue("missing"), EJThrow);  // no prototype lookup
  EXPECT_FALSE(unregistered.object()->HasEventHandler("toString"));
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

TEST(Lifetime, LongChainOfClosuresIsFreedWithoutDeepRecursion) {
  const StrRef next("next");
  Value head;
  for (int i = 0; i < 200000; ++i) {
    Value fn = NewFunctionImpl();
    auto closure = std::make_unique<TJLocalSymbolTable>(nullptr);
    closure->DefineLocal(next, head);
    fn.function()->SetClosureTable(std::move(closure));
    head = std::move(fn);
  }
  head = Value();
  SUCCEED();
}

}  // namespace
}  // namespace kestrin::script
