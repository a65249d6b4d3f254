// Global: the output functions, exit, eval, the event-loop switches, sleep and the kind
// tests, and the `arguments` and `terminated` members read from the engine's run.
#include "script/builtins/global.h"

#include <chrono>
#include <thread>

#include "script/core/engine.h"
#include "script/core/errors.h"

namespace kestrin::script {
namespace {

TJEngine* EngineOf(TJObject& self) { return static_cast<TJGlobalObject&>(self).Owner(); }

void Write(TJObject& self, TJValueList& params, Value& result, bool line) {
  TJEngine* engine = EngineOf(self);
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    StrRef text = ValueToString(params.GetValue(i));
    if (line) text.Append("\r\n");
    if (engine) engine->WriteStdout(text.view());
  }
  if (params.GetCount() > 0) result = params.GetValue(params.GetCount() - 1);
}

void GPrint(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, false); }
void GPrintln(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, true); }

void GExit(TJObject&, TJValueList& params, Value&) {
  throw EJExit(params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0);
}

void GEval(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0 || !EngineOf(self)) return;
  StrRef text = ValueToString(params.GetValue(0));
  EngineOf(self)->Eval(text.view(), nullptr, result);
}

void GEventLoop(TJObject& self, TJValueList&, Value&) {
  if (EngineOf(self)) EngineOf(self)->SetLoopTerminated(false);
}

void GTerminate(TJObject& self, TJValueList&, Value&) {
  if (EngineOf(self)) EngineOf(self)->SetLoopTerminated(true);
}

void GDoEvents(TJObject& self, TJValueList&, Value& result) {
  result = Value::Bool(EngineOf(self) && EngineOf(self)->DoEvents());
}

void GSleep(TJObject& self, TJValueList& params, Value& result) {
  int32_t ms = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  result = Value::Object(&self);
}

void GIsNull(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && params.GetValue(0).type() == vtNull);
}

void GIsUndefined(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && params.GetValue(0).type() == vtUndefined);
}

void GNameOf(TJObject&, TJValueList& params, Value& result) {
  result = Value::Null();
  if (params.GetCount() == 0) return;
  Value v = params.GetValue(0);
  if (TJObject* o = v.object()) result = Value::String(o->ClassName());
}

}  // namespace

TJGlobalObject::TJGlobalObject(TJEngine* engine) : TJObject(engine), owner_(engine) { SetObjectName("Global"); }

const ClassInfo& TJGlobalObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"print", GPrint}, {"println", GPrintln},
      {"write", GPrint}, {"writeln", GPrintln}, {"exit", GExit}, {"eval", GEval},
      {"eventLoop", GEventLoop}, {"terminate", GTerminate}, {"doEvents", GDoEvents},
      {"sleep", GSleep}, {"isNull", GIsNull}, {"isUndefined", GIsUndefined}, {"nameOf", GNameOf}});
  return info;
}

bool TJGlobalObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (name.view() == "arguments") {
    out = owner_ ? owner_->Arguments() : Value();
    return true;
  }
  if (name.view() == "terminated") {
    out = Value::Bool(!owner_ || owner_->LoopTerminated());
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

// Every unqualified name of the script that is not a local variable is asked here, so
// names that are surely not a class method answer from the member table alone.
bool TJGlobalObject::HasKey(const StrRef& name) {
  static const uint64_t filter = [] {
    uint64_t bits = (uint64_t{1} << (KeyHash("arguments") & 63)) | (uint64_t{1} << (KeyHash("terminated") & 63));
    TJGlobalObject probe(nullptr);
    for (const auto& [method, fn] : probe.Class().methods()) bits |= uint64_t{1} << (method.Hash() & 63);
    return bits;
  }();
  if (!(filter & (uint64_t{1} << (name.Hash() & 63)))) {
    PropertyMap::Entry* e = members().Find(name);
    return e && !e->removed;
  }
  return name.view() == "arguments" || name.view() == "terminated" || TJObject::HasKey(name);
}

void RegisterGlobal(TJEngine& engine) {
  engine.RegisterObjectClass("Global", nullptr);
  engine.SetGlobalObject(new TJGlobalObject(&engine));
}

}  // namespace kestrin::script
