// WScript and its argument and stream objects: the property and method tables, the split
// of the run's arguments, and the streams bound to the engine's input and outputs.
#include "script/builtins/wscript_object.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/cp932.h"
#include "script/builtins/automation_events.h"
#include "script/builtins/mbcs.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/script_ui.h"
#include "script/regexp/regex.h"

namespace kestrin::script {
namespace {

// "/name:value" anywhere in an argument; the value is everything after the first colon.
constexpr std::string_view kNamedPattern = "\\/([^\\:]+)\\:(.*)";
constexpr const char* kVersion = "0.3.9";

// File names from the system are UTF-8; scripts see CP932.
StrRef ScriptText(const std::string& utf8) {
  return StrRef(kestrin::is_valid_utf8(utf8) ? kestrin::utf8_to_cp932(utf8) : utf8);
}

std::filesystem::path ProgramFile() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

Value FirstParam(TJValueList& params) { return params.GetCount() > 0 ? params.GetValue(0) : Value(); }

// ---- WshNamed ----

TJWshNamedObject& NamedOf(TJObject& self) { return static_cast<TJWshNamedObject&>(self); }

Value NamedCount(TJObject& self) { return Value::Integer(NamedOf(self).StringCount()); }
constexpr PropDef kNamedProps[] = {{"Count", NamedCount, nullptr}, {"Length", NamedCount, nullptr}};

void NExists(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && self.HasKey(ValueToString(params.GetValue(0))));
}

// An indexed member access: a missing name raises "EKeyError".
void NItem(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) {
    result = Value::Null();
    return;
  }
  self.GetValue(ValueToString(params.GetValue(0)), true, result);
}

// ---- WshArguments and WshUnnamed ----

Value ArgumentsCount(TJObject& self) { return Value::Integer(self.GetCount()); }
Value ArgumentsNamed(TJObject& self) { return Value::Object(&static_cast<TJWshArgumentsObject&>(self).Named()); }
Value ArgumentsUnnamed(TJObject& self) { return Value::Object(&static_cast<TJWshArgumentsObject&>(self).Unnamed()); }
constexpr PropDef kArgumentsProps[] = {
    {"Count", ArgumentsCount, nullptr}, {"Named", ArgumentsNamed, nullptr}, {"Unnamed", ArgumentsUnnamed, nullptr}};
constexpr PropDef kUnnamedProps[] = {{"Count", ArgumentsCount, nullptr}};

// The item through the array's indexed access (reading past the end grows the array).
void AItem(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) {
    result = Value::Null();
    return;
  }
  self.GetValue(ValueToString(params.GetValue(0)), true, result);
}

void DoNothing(TJObject&, TJValueList&, Value&) {}

// ---- streams ----

Value StreamColumn(TJObject&) { return Value::Integer(0); }
Value StreamLine(TJObject&) { return Value::Integer(1); }
Value StreamAtEndOfLine(TJObject&) { return Value::Bool(true); }
constexpr PropDef kStreamProps[] = {{"Column", StreamColumn, nullptr}, {"Line", StreamLine, nullptr}};
constexpr PropDef kReadStreamProps[] = {
    {"AtEndOfLine", StreamAtEndOfLine, nullptr}, {"Column", StreamColumn, nullptr}, {"Line", StreamLine, nullptr}};

TJWshReadStreamObject& ReaderOf(TJObject& self) { return static_cast<TJWshReadStreamObject&>(self); }
TJWshWriteStreamObject& WriterOf(TJObject& self) { return static_cast<TJWshWriteStreamObject&>(self); }

// Read(n): the first n characters of what the input gives for n; the whole text without n.
void RRead(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) {
    result = Value::String(ReaderOf(self).Read(-1, false));
    return;
  }
  const int32_t count = ValueToInteger(params.GetValue(0));
  result = Value::String(MbcsCopy(StrRef(ReaderOf(self).Read(count, false)), 1, count));
}

void RReadAll(TJObject& self, TJValueList&, Value& result) { result = Value::String(ReaderOf(self).Read(-1, false)); }
void RReadLine(TJObject& self, TJValueList&, Value& result) { result = Value::String(ReaderOf(self).Read(-1, true)); }

void WWrite(TJObject& self, TJValueList& params, Value&) {
  if (params.GetCount() > 0) WriterOf(self).Write(ValueToString(params.GetValue(0)).view());
}

void WWriteLine(TJObject& self, TJValueList& params, Value&) {
  StrRef text = params.GetCount() > 0 ? ValueToString(params.GetValue(0)) : StrRef();
  text.Append("\r\n");
  WriterOf(self).Write(text.view());
}

// CR LF n times, handed over in pieces so that a large n takes no large buffer.
void WWriteBlankLines(TJObject& self, TJValueList& params, Value&) {
  if (params.GetCount() == 0) return;
  int64_t left = ValueToInteger(params.GetValue(0));
  std::string piece;
  while (left > 0) {
    const int64_t now = std::min<int64_t>(left, 4096);
    piece.clear();
    for (int64_t i = 0; i < now; ++i) piece += "\r\n";
    WriterOf(self).Write(piece);
    left -= now;
  }
}

// ---- WScript ----

TJWScriptObject& WScriptOf(TJObject& self) { return static_cast<TJWScriptObject&>(self); }

std::string ScriptFileName(TJObject& self) {
  std::string name;
  if (TJEngine* engine = WScriptOf(self).Owner()) engine->GetScriptFileName(name);
  return name;
}

Value WArguments(TJObject& self) { return Value::Object(&WScriptOf(self).Arguments()); }
Value WFullName(TJObject&) { return Value::String(ScriptText(ProgramFile().string())); }
Value WName(TJObject&) { return Value::String(ScriptText(ProgramFile().filename().string())); }
Value WPath(TJObject&) {
  const std::filesystem::path folder = ProgramFile().parent_path();
  return Value::String(ScriptText(folder.empty() ? std::string() : folder.string() + "/"));
}
Value WInteractive(TJObject& self) { return Value::Bool(WScriptOf(self).interactive); }
void WSetInteractive(TJObject& self, const Value& v) { WScriptOf(self).interactive = ValueToBool(v); }
// Made absolute (with "." and ".." resolved) when it can be; as given otherwise.
Value WScriptFullName(TJObject& self) {
  const std::string name = ScriptFileName(self);
  if (name.empty()) return Value::String("");
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(kestrin::cp932_to_utf8(name), ec);
  return Value::String(ec ? StrRef(name) : ScriptText(full.lexically_normal().string()));
}
Value WScriptName(TJObject& self) {
  const std::string name = ScriptFileName(self);
  const size_t slash = name.rfind('/');
  return Value::String(slash == std::string::npos ? name : name.substr(slash + 1));
}
Value WStdErr(TJObject& self) { return Value::Object(&WScriptOf(self).StdErr()); }
Value WStdIn(TJObject& self) { return Value::Object(&WScriptOf(self).StdIn()); }
Value WStdOut(TJObject& self) { return Value::Object(&WScriptOf(self).StdOut()); }
Value WVersion(TJObject&) { return Value::String(kVersion); }

constexpr PropDef kWScriptProps[] = {
    {"Arguments", WArguments, nullptr},
    {"FullName", WFullName, nullptr},
    {"Interactive", WInteractive, WSetInteractive},
    {"Name", WName, nullptr},
    {"Path", WPath, nullptr},
    {"ScriptFullName", WScriptFullName, nullptr},
    {"ScriptName", WScriptName, nullptr},
    {"StdErr", WStdErr, nullptr},
    {"StdIn", WStdIn, nullptr},
    {"StdOut", WStdOut, nullptr},
    {"Version", WVersion, nullptr},
};

// A new ActiveXObject from the same arguments, as `new ActiveXObject(...)` makes it.
void WCreateObject(TJObject& self, TJValueList& params, Value& result) {
  TJEngine* engine = WScriptOf(self).Owner();
  const ClassCell* cell = engine ? engine->Factory().FindClass("ActiveXObject") : nullptr;
  if (!cell || !cell->create) RaiseError(ScriptError::CreateObject, {"ActiveXObject"});
  result = engine->Factory().Create("ActiveXObject", &params);
}

AutomationEvents* EventsOf(const Value& v) {
  TJObject* o = v.object();
  if (!o || !(o->ClassFlags() & kActiveXObjectClass)) return nullptr;
  return dynamic_cast<AutomationEvents*>(o);
}

void WConnectObject(TJObject&, TJValueList& params, Value&) {
  if (params.GetCount() < 2) return;
  if (AutomationEvents* events = EventsOf(params.GetValue(0))) events->ConnectEvents(ValueToString(params.GetValue(1)));
}

void WDisconnectObject(TJObject&, TJValueList& params, Value&) {
  if (AutomationEvents* events = EventsOf(FirstParam(params))) events->DisconnectEvents();
}

// One message box (OK, no icon, the application's title) with the arguments joined by
// blanks, trailing blanks and control characters removed.
void WEcho(TJObject& self, TJValueList& params, Value&) {
  std::string text;
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    if (i > 0) text += ' ';
    text += ValueToString(params.GetValue(i)).view();
  }
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  if (TJEngine* engine = WScriptOf(self).Owner()) engine->Ui().MessageBox(text, engine->Ui().ApplicationTitle(), kMbOk);
}

void WQuit(TJObject&, TJValueList& params, Value&) {
  throw EJExit(params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0);
}

// Waits without processing messages; a negative time waits 0 ms.
void WSleep(TJObject&, TJValueList& params, Value&) {
  const int32_t ms = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

// ---- ArrayPropTable ----

void ArrayPropTable::ListNames(std::vector<StrRef>& out, bool events) {
  std::vector<StrRef> names;
  own_.ListNames(names, events);
  base_.ListNames(names, events);
  std::sort(names.begin(), names.end(), [](const StrRef& a, const StrRef& b) { return LocaleCompare(a.view(), b.view()) < 0; });
  out.insert(out.end(), names.begin(), names.end());
}

// ---- WshNamed ----

TJWshNamedObject::TJWshNamedObject(BaseEngine* engine) : TJObject(engine), props_(*this, kNamedProps) {
  SetObjectName("WshNamed");
}

const ClassInfo& TJWshNamedObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"Exists", NExists}, {"Item", NItem}});
  return info;
}

void TJWshNamedObject::GetPropertyNames(std::vector<StrRef>& out) { GetMemberNames(out, KindBit(vtString), 0); }

int32_t TJWshNamedObject::StringCount() {
  std::vector<StrRef> names;
  GetMemberNames(names, KindBit(vtString), 0);
  return static_cast<int32_t>(names.size());
}

// ---- WshUnnamed and WshArguments ----

TJWshUnnamedObject::TJWshUnnamedObject(BaseEngine* engine)
    : TJArrayObject(engine), props_(*this, kUnnamedProps, *TJArrayObject::Published()) {
  SetObjectName("WshUnnamed");
}

const ClassInfo& TJWshUnnamedObject::Class() const {
  static const ClassInfo info(&TJArrayObject::Class(), {{"Item", AItem}});
  return info;
}

TJWshArgumentsObject::TJWshArgumentsObject(BaseEngine* engine)
    : TJArrayObject(engine), named_(new TJWshNamedObject(engine)), unnamed_(new TJWshUnnamedObject(engine)),
      props_(*this, kArgumentsProps, *TJArrayObject::Published()) {
  SetObjectName("WshArguments");
}

const ClassInfo& TJWshArgumentsObject::Class() const {
  static const ClassInfo info(&TJArrayObject::Class(), {{"Item", AItem}, {"ShowUsage", DoNothing}});
  return info;
}

void TJWshArgumentsObject::Empty() {
  items.Clear();
  named_->Clear();
  unnamed_->items.Clear();
}

void TJWshArgumentsObject::Fill(const TJValueList& given) {
  Empty();
  if (given.GetCount() > 0) {
    items.Assign(&given);
  } else {
    for (const std::string& p : ProcessParameters()) items.AddString(p);
  }
  thread_local TRegex named_pattern;
  if (named_pattern.Expression().empty()) named_pattern.SetExpression(kNamedPattern);
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const Value item = items.GetValue(i);
    bool named = false;
    if (item.type() == vtString) {
      try {
        named = named_pattern.Exec(item.text());
      } catch (const ERegex&) {
        named = false;  // beyond the matcher's budget: kept as an unnamed argument
      }
    }
    if (named) named_->StoreMember(StrRef(named_pattern.Match(1)), Value::String(named_pattern.Match(2)));
    else unnamed_->items.Add(item);
  }
}

// ---- streams ----

TJWshBaseStreamObject::TJWshBaseStreamObject(BaseEngine* engine) : TJWshBaseStreamObject(engine, kStreamProps) {}

TJWshBaseStreamObject::TJWshBaseStreamObject(BaseEngine* engine, std::span<const PropDef> props)
    : TJObject(engine), props_(*this, props) {
  SetObjectName("WshBaseStream");
}

const ClassInfo& TJWshBaseStreamObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"Close", DoNothing}});
  return info;
}

TJWshReadStreamObject::TJWshReadStreamObject(BaseEngine* engine) : TJWshBaseStreamObject(engine, kReadStreamProps) {
  SetObjectName("WshReadStream");
}

const ClassInfo& TJWshReadStreamObject::Class() const {
  static const ClassInfo info(&TJWshBaseStreamObject::Class(), {{"Read", RRead}, {"ReadAll", RReadAll},
      {"ReadLine", RReadLine}, {"Skip", DoNothing}, {"SkipLine", DoNothing}});
  return info;
}

std::string TJWshReadStreamObject::Read(int32_t count, bool line) {
  std::string text;
  if (!OnInput || !OnInput(text, count, line)) RaiseError(ScriptError::ReadStdin);
  return text;
}

TJWshWriteStreamObject::TJWshWriteStreamObject(BaseEngine* engine) : TJWshBaseStreamObject(engine) {
  SetObjectName("WshWriteStream");
}

const ClassInfo& TJWshWriteStreamObject::Class() const {
  static const ClassInfo info(&TJWshBaseStreamObject::Class(),
                              {{"Write", WWrite}, {"WriteLine", WWriteLine}, {"WriteBlankLines", WWriteBlankLines}});
  return info;
}

// ---- WScript ----

TJWScriptObject::TJWScriptObject(TJEngine* engine)
    : TJObject(engine), arguments_(new TJWshArgumentsObject(engine)),
      stdin_(new TJWshReadStreamObject(engine)), stdout_(new TJWshWriteStreamObject(engine)),
      stderr_(new TJWshWriteStreamObject(engine)), props_(*this, kWScriptProps) {
  SetObjectName("WScript");
  // The streams reach the engine through their own weak link, so a stream that outlives
  // its engine reads and writes nothing.
  auto engine_of = [](TJObject* stream) { return static_cast<TJEngine*>(stream->Engine()); };
  stdout_->OnOutput = [engine_of, s = stdout_.get()](std::string_view text) {
    if (TJEngine* e = engine_of(s)) e->WriteStdout(text);
  };
  stderr_->OnOutput = [engine_of, s = stderr_.get()](std::string_view text) {
    if (TJEngine* e = engine_of(s)) e->WriteStderr(text);
  };
  stdin_->OnInput = [engine_of, s = stdin_.get()](std::string& text, int32_t count, bool line) {
    TJEngine* e = engine_of(s);
    return e && e->ReadStdin(text, count, line);
  };
}

const ClassInfo& TJWScriptObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"CreateObject", WCreateObject},
      {"ConnectObject", WConnectObject}, {"DisconnectObject", WDisconnectObject}, {"Echo", WEcho},
      {"GetObject", DoNothing}, {"Quit", WQuit}, {"Sleep", WSleep}});
  return info;
}

TJEngine* TJWScriptObject::Owner() const { return static_cast<TJEngine*>(Engine()); }

void TJWScriptObject::BeginRun(const Value& arguments) {
  TJObject* array = arguments.object();
  TJValueList* given = array ? array->ListItems() : nullptr;
  arguments_->Fill(given ? *given : TJValueList());
}

void TJWScriptObject::Reset() {
  Clear();
  interactive = false;
  arguments_->Empty();
  for (TJObject* o : {static_cast<TJObject*>(stdin_.get()), static_cast<TJObject*>(stdout_.get()),
                      static_cast<TJObject*>(stderr_.get())})
    if (o) o->Clear();
}

std::vector<std::string> ProcessParameters() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> params;
  size_t at = 0;
  for (int index = 0; at < all.size(); ++index) {
    size_t end = all.find('\0', at);
    if (end == std::string::npos) end = all.size();
    if (index >= 2) params.push_back(ScriptText(all.substr(at, end - at)).str());
    at = end + 1;
  }
  return params;
}

void RegisterWScript(TJEngine& engine) { engine.SetWScript(new TJWScriptObject(&engine)); }

}  // namespace kestrin::script
