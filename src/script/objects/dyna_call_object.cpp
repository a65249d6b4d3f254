// DynaCall: register (library table, symbol look-up, declared members), window messages
// with their letter cells, and the memory copies with the sizes they may touch.
#include "script/objects/dyna_call_object.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/system/window_messages.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/objects/native_call.h"
#include "script/objects/struct_object.h"

namespace kestrin::script {
namespace {

TJDynaCall& DynaCallOf(TJObject& self) { return static_cast<TJDynaCall&>(self); }

std::string TextArgument(const TJValueList& params, int32_t index) {
  return index < params.GetCount() ? ValueToStdString(params.GetValue(index)) : std::string();
}

void DRegister(TJObject& self, TJValueList& params, Value& result) {
  DynaCallOf(self).Register(params);
  result = Value::Object(&self);
}

// wParam and lParam packed by their letters: "1", "2", "4", "8" and "s" pass addresses as
// a declared call would; every other letter passes the number itself.
struct MessageWords {
  TJValueList args;
  TDynaValueArray values;
  platform::WParam wparam = 0;
  platform::LParam lparam = 0;
  bool pointers = false;
};

void PackMessageWords(const TJValueList& params, MessageWords& words) {
  std::string letters = LocaleLower(TextArgument(params, 4)) + "ll";
  std::string packed;
  for (int k = 0; k < 2; ++k) {
    char c = letters[static_cast<size_t>(k)];
    bool pointer = c == '1' || c == '2' || c == '4' || c == '8' || c == 's';
    packed += pointer ? c : 'h';
    words.args.Add(2 + k < params.GetCount() ? params.GetValue(2 + k) : Value());
  }
  PackDynaCallArgs(packed, &words.args, words.values);
  int64_t word[2];
  for (int k = 0; k < 2; ++k) {
    const TDynaValue& v = words.values[static_cast<size_t>(k)];
    bool by_address = v.letter != 'h';
    word[k] = by_address ? static_cast<int64_t>(reinterpret_cast<intptr_t>(v.pointer)) : v.slot.i64;
    words.pointers = words.pointers || (by_address && v.pointer);
  }
  words.wparam = static_cast<platform::WParam>(word[0]);
  words.lparam = word[1];
}

// WM_GETTEXT writes up to wParam bytes at lParam. When lParam is a text or a Struct passed
// by address ("s"), its size bounds wParam, so a window never writes past the script's
// buffer; the text of a string argument is a copy, and only a Struct keeps what was written.
void BoundTextBuffer(MessageWords& words) {
  const TDynaValue& l = words.values[1];
  if (l.letter != 's' || !l.pointer) return;
  size_t room = l.pointer == l.text.data() ? l.text.size() + 1 : 0;
  if (NativeRecord* record = NativeRecordOf(words.args.GetValue(1)); record && record->RecordData() == l.pointer)
    room = record->RecordSize();
  words.wparam = std::min<platform::WParam>(words.wparam, room);
}

void DSendMessage(TJObject&, TJValueList& params, Value& result) {
  result = Value::Integer(0);
  if (params.GetCount() < 2) return;
  MessageWords words;
  PackMessageWords(params, words);
  const auto msg = static_cast<uint32_t>(ValueToInteger(params.GetValue(1)));
  if (msg == platform::kWmGetText) BoundTextBuffer(words);
  platform::LResult r = platform::SendWindowMessage(ValueToInt64(params.GetValue(0)), msg, words.wparam, words.lparam);
  UpdateDynaCallOutArgs(words.values, &words.args);
  result = Int64ToValue(r);
}

// A posted message is delivered after this call has returned, when its cells and texts
// are gone: a post that would pass an address is refused, as the platform refuses it.
void DPostMessage(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(false);
  if (params.GetCount() < 2) return;
  MessageWords words;
  PackMessageWords(params, words);
  if (words.pointers) return;
  result = Value::Bool(platform::PostWindowMessage(ValueToInt64(params.GetValue(0)),
      static_cast<uint32_t>(ValueToInteger(params.GetValue(1))), words.wparam, words.lparam));
}

// Memory that a copy may touch: a Struct's buffer or a string's text (with its NUL) up to
// their sizes; a number is an address taken as given.
struct MemoryArea {
  char* data = nullptr;
  size_t size = 0;
  bool bounded = false;
  std::string text;
};

void AreaOf(const Value& v, bool source, MemoryArea& area) {
  if (NativeRecord* record = NativeRecordOf(v)) {
    area.bounded = true;
    area.size = record->RecordSize();
    area.data = area.size ? record->RecordData() : nullptr;
  } else if (source && ValueIsString(v)) {
    area.text = ValueToStdString(v);
    area.bounded = true;
    area.size = area.text.size() + 1;
    area.data = area.text.data();
  } else if (ValueIsNumber(v)) {
    area.data = reinterpret_cast<char*>(static_cast<intptr_t>(ValueToInt64(v)));
  }
}

size_t CheckedLength(const Value& length_value, const MemoryArea& dest, const MemoryArea* source) {
  int64_t length = ValueToInt64(length_value);
  bool fits = length > 0 && (!dest.bounded || static_cast<uint64_t>(length) <= dest.size) &&
              (!source || !source->bounded || static_cast<uint64_t>(length) <= source->size);
  if (!dest.data || (source && !source->data) || !fits) RaiseError(ScriptError::DllInvalidParameter);
  return static_cast<size_t>(length);
}

void DCopyMemory(TJObject&, TJValueList& params, Value&) {
  if (params.GetCount() < 3) return;
  MemoryArea dest, source;
  AreaOf(params.GetValue(0), false, dest);
  AreaOf(params.GetValue(1), true, source);
  size_t length = CheckedLength(params.GetValue(2), dest, &source);
  std::memmove(dest.data, source.data, length);
}

void DFillMemory(TJObject&, TJValueList& params, Value&) {
  if (params.GetCount() < 2) return;
  MemoryArea dest;
  AreaOf(params.GetValue(0), false, dest);
  size_t length = CheckedLength(params.GetValue(1), dest, nullptr);
  int fill = params.GetCount() > 2 ? ValueToInteger(params.GetValue(2)) & 0xFF : 0;
  std::memset(dest.data, fill, length);
}

}  // namespace

TJDynaCall::TJDynaCall(BaseEngine* engine) : TJObject(engine) { SetObjectName("DynaCall"); }

const ClassInfo& TJDynaCall::Class() const {
  static const ClassInfo info(&BaseClass(), {{"register", DRegister}, {"sendMessage", DSendMessage},
      {"postMessage", DPostMessage}, {"copyMemory", DCopyMemory}, {"moveMemory", DCopyMemory},
      {"fillMemory", DFillMemory}});
  return info;
}

void TJDynaCall::Register(const TJValueList& params) {
  std::string library_name = TextArgument(params, 0);
  std::string function_name = TextArgument(params, 1);
  if (params.GetCount() < 2 || library_name.empty() || function_name.empty())
    RaiseError(ScriptError::DllRegister, {library_name, function_name});
  std::vector<std::string> options;
  for (int32_t i = 2; i < params.GetCount() && i < 5; ++i) options.push_back(TextArgument(params, i));
  TDynaDeclare declare;
  ParseDynaDeclare(options, declare);

  // Names go to the loader as UTF-8; a library loaded here for a missing function is let
  // go again with `library`.
  platform::LibraryHandle library;
  bool loaded_here = false;
  if (const platform::LibraryHandle* known = modules_.Find(library_name)) {
    library = *known;
  } else {
    library = platform::LoadDynamicLibrary(cp932_to_utf8(library_name));
    if (!library) RaiseError(ScriptError::DllLoad, {library_name});
    loaded_here = true;
  }
  declare.proc = platform::GetDynaProcAddress(library, cp932_to_utf8(function_name));
  if (!declare.proc) RaiseError(ScriptError::DllLoad, {function_name});
  if (loaded_here) modules_.SetValue(library_name, library);
  StoreMember(function_name, MakeDynaFunction(function_name, std::move(declare), std::move(library)));
}

void RegisterDynaCallObjects(TJEngine& engine) {
  engine.RegisterObjectClass("DynaCall", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJDynaCall(e); },
                             true);
  engine.RegisterObjectClass("Struct", [](BaseEngine* e, TJValueList* params) -> TJObject* {
    auto s = std::make_unique<TJStruct>(e);
    if (params && params->GetCount() > 0) s->Define(*params);
    return s.release();
  });
}

}  // namespace kestrin::script
