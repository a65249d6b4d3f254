// Global: the object and its published properties, the method table in the documented
// order, and the natives for output, input, eval, the event loop, sleep, versions and the
// kind tests. Dialogs are in global_dialogs.cpp, coding and formatting in global_text.cpp.
#include "script/builtins/global_object.h"

#include <bitset>
#include <chrono>
#include <string>
#include <thread>

#include "script/builtins/global_natives.h"
#include "script/builtins/mbcs.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {
namespace {

TJGlobalObject& GlobalOf(TJObject& self) { return static_cast<TJGlobalObject&>(self); }
TJEngine* EngineOf(TJObject& self) { return GlobalOf(self).Owner(); }

void Write(TJObject& self, TJValueList& params, Value& result, bool line) {
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    StrRef text = ValueToString(params.GetValue(i));
    if (line) text.Append("\r\n");
    WriteOutput(self, text.view());
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

// Numeric: an integer, double or Boolean, a string that reads as a number, a Number object.
void GIsFinite(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && ValueIsNumeric(params.GetValue(0)));
}

// Only the NaN value; a string that is not a number is not NaN.
void GIsNaN(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && params.GetValue(0).type() == vtNaN);
}

void GParseFloat(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  const Value x = params.GetValue(0);
  result = ValueIsNumeric(x) ? Value::Double(ValueToNumber(x)) : Value::NaN();
}

// A double rounds to the nearest integer (ties to even); a string must be a whole number
// ("3.7" gives 0, "12abc" NaN). There is no radix.
void GParseInt(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  const Value x = params.GetValue(0);
  result = ValueIsNumeric(x) ? Value::Integer(ValueToInteger(x)) : Value::NaN();
}

void GScriptEngine(TJObject&, TJValueList&, Value& result) { result = Value::String("VIViduvo"); }
void GBuildVersion(TJObject&, TJValueList&, Value& result) { result = Value::Integer(42); }
void GMajorVersion(TJObject&, TJValueList&, Value& result) { result = Value::Integer(0); }
void GMinorVersion(TJObject&, TJValueList&, Value& result) { result = Value::Double(3.9); }
void GVersion(TJObject&, TJValueList&, Value& result) { result = Value::String("0.3.9"); }

std::string ReadInput(TJObject& self, int32_t count, bool line) {
  std::string text;
  if (!EngineOf(self) || !EngineOf(self)->ReadStdin(text, count, line)) RaiseError(ScriptError::ReadStdin);
  return text;
}

// read(n) takes n characters of what the input gives.
void GRead(TJObject& self, TJValueList& params, Value& result) {
  const int32_t count = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : -1;
  const StrRef text = ReadInput(self, count, false);
  result = Value::String(params.GetCount() > 0 ? MbcsCopy(text, 1, count) : text);
}

void GReadln(TJObject& self, TJValueList&, Value& result) { result = Value::String(ReadInput(self, -1, true)); }

void GEventLoop(TJObject& self, TJValueList&, Value&) { GlobalOf(self).SetTerminated(false); }
void GTerminate(TJObject& self, TJValueList&, Value&) { GlobalOf(self).SetTerminated(true); }

void GDoEvents(TJObject& self, TJValueList&, Value& result) {
  result = Value::Bool(EngineOf(self) && EngineOf(self)->DoEvents());
}

// A negative time waits 0 ms (on the original platform it meant "forever").
void GSleep(TJObject& self, TJValueList& params, Value& result) {
  const int32_t ms = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
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

Value GetArguments(TJObject& self) { return GlobalOf(self).Arguments(); }
Value GetApplicationHandle(TJObject& self) { return Value::Integer(GlobalOf(self).Ui().ApplicationHandle()); }
Value GetMainFormHandle(TJObject& self) { return Value::Integer(GlobalOf(self).Ui().MainFormHandle()); }
Value GetTerminated(TJObject& self) { return Value::Bool(GlobalOf(self).Terminated()); }
// No Windows platform id exists here.
Value GetPlatform(TJObject&) { return Value::String("unknown"); }
Value GetFinalizer(TJObject& self) { return GlobalOf(self).Finalizer(); }

constexpr PropDef kGlobalProps[] = {
    {"arguments", GetArguments, nullptr}, {"applicationHandle", GetApplicationHandle, nullptr},
    {"mainFormHandle", GetMainFormHandle, nullptr}, {"terminated", GetTerminated, nullptr},
    {"platform", GetPlatform, nullptr}, {"finalizer", GetFinalizer, nullptr}};

}  // namespace

void WriteOutput(TJObject& self, std::string_view text) {
  if (TJEngine* engine = EngineOf(self)) engine->WriteStdout(text);
}

TJGlobalObject::TJGlobalObject(TJEngine* engine) : TJObject(engine), owner_(engine), props_(*this, kGlobalProps) {
  SetObjectName("Global");
}

const ClassInfo& TJGlobalObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"escape", GEscape}, {"unescape", GUnescape}, {"eval", GEval}, {"isFinite", GIsFinite},
       {"isNaN", GIsNaN}, {"parseFloat", GParseFloat}, {"parseInt", GParseInt}, {"print", GPrint},
       {"println", GPrintln}, {"write", GPrint}, {"writeln", GPrintln}, {"alert", GAlert},
       {"prompt", GPrompt}, {"confirm", GConfirm}, {"textArea", GTextArea}, {"exit", GExit},
       {"msgBox", GMsgBox}, {"scriptEngine", GScriptEngine}, {"scriptEngineBuildVersion", GBuildVersion},
       {"scriptEngineMajorVersion", GMajorVersion}, {"scriptEngineMinorVersion", GMinorVersion},
       {"read", GRead}, {"readln", GReadln}, {"scriptEngineVersion", GVersion},
       {"isConsole", GIsConsole}, {"decodeURI", GDecodeURI}, {"decodeURIComponent", GDecodeURIComponent},
       {"encodeURI", GEncodeURI}, {"encodeURIComponent", GEncodeURIComponent}, {"format", GFormat},
       {"formatFloat", GFormatFloat}, {"sprintf", GFormat}, {"eventLoop", GEventLoop},
       {"terminate", GTerminate}, {"printf", GPrintf}, {"printfln", GPrintfln},
       {"doEvents", GDoEvents}, {"sleep", GSleep}, {"isNull", GIsNull}, {"isUndefined", GIsUndefined},
       {"nameOf", GNameOf}});
  return info;
}

ScriptUi& TJGlobalObject::Ui() const { return owner_ ? owner_->Ui() : DefaultScriptUi(); }

Value TJGlobalObject::EmptyArray() { return owner_ ? owner_->NewArray(TJValueList()) : Value(); }

Value TJGlobalObject::Arguments() {
  if (!arguments_.object()) arguments_ = EmptyArray();
  return arguments_;
}

Value TJGlobalObject::Finalizer() {
  if (!finalizer_.object()) finalizer_ = EmptyArray();
  return finalizer_;
}

void TJGlobalObject::BeginRun(const Value& arguments) {
  arguments_ = arguments;
  terminated_ = true;
}

void TJGlobalObject::Reset() {
  Clear();
  arguments_ = Value();
  finalizer_ = Value();
  terminated_ = true;
}

using NameFilter = std::bitset<1024>;

// Built once, out of line, so that HasKey itself stays small.
[[gnu::noinline]] static NameFilter BuildNameFilter() {
  auto mark = [](NameFilter& f, uint32_t hash) { f.set(hash & 1023).set((hash >> 10) & 1023); };
  NameFilter f;
  for (const PropDef& p : kGlobalProps) mark(f, KeyHash(p.name));
  TJGlobalObject probe(nullptr);
  for (const auto& [method, fn] : probe.Class().methods()) mark(f, method.Hash());
  return f;
}

// Every unqualified name of the script that is not a local variable is asked here, so
// names that are surely neither a class method nor a property answer from the member
// table alone: a filter of two bits per known name among 1024 lets few others through.
bool TJGlobalObject::HasKey(const StrRef& name) {
  static const NameFilter filter = BuildNameFilter();
  const uint32_t hash = name.Hash();
  if (!filter.test(hash & 1023) || !filter.test((hash >> 10) & 1023)) {
    PropertyMap::Entry* e = members().Find(name);
    return e && !e->removed();
  }
  return TJObject::HasKey(name);
}

void RegisterGlobal(TJEngine& engine) {
  engine.RegisterObjectClass("Global", nullptr);
  engine.SetGlobal(new TJGlobalObject(&engine));
}

}  // namespace kestrin::script
