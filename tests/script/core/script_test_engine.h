// A minimal engine for the object-model tests: a factory, an Array-like collection class
// for the name lists, and calls of native functions.
#pragma once

#include <vector>

#include "script/core/engine_base.h"
#include "script/core/factory.h"
#include "script/core/function.h"
#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script::testing {

// A collection holding a value list, as arrays do.
class TestArray : public TJObject {
public:
  explicit TestArray(BaseEngine* e) : TJObject(e) { SetObjectName("Array"); }
  uint32_t ClassFlags() const override { return kArrayObjectClass; }
  bool IsCollection() override { return true; }
  int32_t GetCount() override { return items.GetCount(); }
  void GetItem(int32_t i, Value& out) override { out = items.GetValue(i); }
  void OnKill() override { items.Clear(); }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (int32_t i = 0; i < items.GetCount(); ++i) out.push_back(ValueToStdString(items.GetValue(i)));
    return out;
  }
  TJValueList items;
};

// Counts destructor calls of a test object class.
class CountedObject : public TJObject {
public:
  CountedObject(BaseEngine* e, int* destroyed) : TJObject(e), destroyed_(destroyed) {}
  ~CountedObject() override { ++*destroyed_; }

private:
  int* destroyed_;
};

class TestEngine : public BaseEngine {
public:
  TestEngine() : factory_(this) {
    factory_.AddClass("Object", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJObject(e); });
    factory_.AddClass("Array", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TestArray(e); });
  }
  ~TestEngine() override { factory_.Clear(); }
  TJObjectFactory& Factory() override { return factory_; }
  bool Running() const override { return running; }
  Value NewArray(const TJValueList& items) override {
    Value v = factory_.Create("Array", nullptr);
    static_cast<TestArray*>(v.object())->items.Assign(&items);
    return v;
  }
  void CallFunction(IJFunction& fn, TJValueList* params, Value& result, TJObject*) override {
    TJValueList empty;
    CallNativeFunction(fn, params ? *params : empty, result);
  }
  bool FindFunction(const StrRef&, Value&) override { return false; }
  // A new plain object registered with the factory.
  Value NewObject() { return factory_.Create("Object", nullptr); }

  bool running = true;

private:
  TJObjectFactory factory_;
};

// Calls the method `name` of `obj` with `args`.
inline Value CallMethod(TJObject& obj, const char* name, TJValueList args = {}) {
  Value fn = obj.GetValue(name);
  Value result;
  CallNativeFunction(*fn.function(), args, result);
  return result;
}

inline std::vector<std::string> ArrayTexts(const Value& v) {
  return static_cast<TestArray*>(v.object())->Texts();
}

}  // namespace kestrin::script::testing
