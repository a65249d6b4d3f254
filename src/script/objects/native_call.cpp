// Declared native functions: declarations, argument packing by type letters, the libffi
// call with a call interface built once per declaration, result conversion and write-back.
// libffi is loaded with the first declaration: most scripts call no native function, and
// loading it with the program would cost every start.
#include "script/objects/native_call.h"

#include <dlfcn.h>
#include <ffi.h>

#include <cmath>
#include <cstring>
#include <cwchar>

#include "base/cp932.h"
#include "base/symbol_binder.h"
#include "script/core/error_table.h"
#include "script/core/hash_table.h"
#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {

// The call interface of a declaration: built when the function is declared, used by
// every call. `valid` is false when a letter is unknown or there are too many, so each
// call raises before anything is called.
struct DynaPlan {
  ffi_cif cif{};
  std::vector<ffi_type*> types;
  char result_letter = 0;  // 0: the result is undefined
  bool has_cells = false;  // some letter is "1", "2", "4" or "8": write back after the call
  bool valid = false;
};

namespace {

// The functions and types of libffi this file uses.
struct Ffi {
  decltype(&::ffi_prep_cif) prep_cif;
  decltype(&::ffi_call) call;
  ffi_type *uint8, *sint16, *sint32, *uint32, *sint64, *float_type, *double_type, *pointer, *void_type;
};

// libffi once loaded; null when it cannot be loaded.
const Ffi* LoadedFfi() {
  static const Ffi* loaded = []() -> const Ffi* {
    void* lib = dlopen(KESTRIN_FFI_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!lib) return nullptr;
    static Ffi f;
    SymbolBinder symbols(lib);
    symbols.bind(f.prep_cif, "ffi_prep_cif");
    symbols.bind(f.call, "ffi_call");
    symbols.bind(f.uint8, "ffi_type_uint8");
    symbols.bind(f.sint16, "ffi_type_sint16");
    symbols.bind(f.sint32, "ffi_type_sint32");
    symbols.bind(f.uint32, "ffi_type_uint32");
    symbols.bind(f.sint64, "ffi_type_sint64");
    symbols.bind(f.float_type, "ffi_type_float");
    symbols.bind(f.double_type, "ffi_type_double");
    symbols.bind(f.pointer, "ffi_type_pointer");
    symbols.bind(f.void_type, "ffi_type_void");
    return symbols.all_found() ? &f : nullptr;
  }();
  return loaded;
}

const Ffi& NeedFfi() {
  const Ffi* f = LoadedFfi();
  if (!f) RaiseError(ScriptError::DllLoad, {KESTRIN_FFI_LIBRARY});
  return *f;
}

bool IsCellLetter(char c) { return c == '1' || c == '2' || c == '4' || c == '8'; }

bool IsPointerLetter(char c) {
  return IsCellLetter(c) || c == 's' || c == 'w' || c == 'a' || c == 'k';
}

// The letters ArgumentType gives a type for.
bool IsArgumentLetter(char letter) {
  return (letter != 0 && std::strchr("ctbluhpifd", letter)) || IsPointerLetter(letter);
}

ffi_type* ArgumentType(const Ffi& f, char letter) {
  switch (letter) {
    case 'c': return f.uint8;
    case 't': return f.sint16;
    case 'b':
    case 'l': return f.sint32;
    case 'u': return f.uint32;
    case 'h':
    case 'p':
    case 'i': return f.sint64;
    case 'f': return f.float_type;
    case 'd': return f.double_type;
    default: return IsPointerLetter(letter) ? f.pointer : nullptr;
  }
}

// The result type by the "r=" letter; flags 256 and 512 without the matching letter make a
// float or double call whose result is dropped.
ffi_type* ResultType(const Ffi& f, char& letter, int32_t flags) {
  switch (letter) {
    case 'b':
    case 'c':
    case 'l':
    case 't':
    case 'u': return f.sint32;
    case 'h':
    case 'p':
    case 'i': return f.sint64;
    case 'f': return f.float_type;
    case 'd': return f.double_type;
    case 's':
    case 'w':
    case 'a':
    case 'k': return f.pointer;
    default: break;
  }
  letter = 0;
  if (flags & kDynaFloatResult) return f.float_type;
  if (flags & kDynaDoubleResult) return f.double_type;
  return f.void_type;
}

std::shared_ptr<DynaPlan> BuildPlan(const TDynaDeclare& declare) {
  const Ffi& f = NeedFfi();
  auto plan = std::make_shared<DynaPlan>();
  char letter = declare.result.empty() ? 0 : declare.result[0];
  int32_t flags = ParseDynaFlags(declare.flags);
  if (letter == 'f' || letter == 'd') flags &= ~(kDynaFloatResult | kDynaDoubleResult);
  else if ((flags & kDynaFloatResult) || (flags & kDynaDoubleResult)) letter = 0;
  ffi_type* result = ResultType(f, letter, flags);
  plan->result_letter = letter;
  if (declare.args.size() > kMaxDynaArguments) return plan;
  for (char c : declare.args) {
    ffi_type* t = ArgumentType(f, c);
    if (!t) return plan;
    plan->types.push_back(t);
    plan->has_cells = plan->has_cells || IsCellLetter(c);
  }
  plan->valid = f.prep_cif(&plan->cif, FFI_DEFAULT_ABI, static_cast<unsigned>(plan->types.size()), result,
                             plan->types.data()) == FFI_OK;
  return plan;
}

// Decodes valid UTF-8 (what the CP932 conversion gives); a stray byte becomes '?'.
std::wstring Utf8ToWide(std::string_view s) {
  std::wstring out;
  for (size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
      out += L'?';
      ++i;
      continue;
    }
    uint32_t cp = len == 1 ? b : b & (0x7F >> len);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
    out += static_cast<wchar_t>(cp);
    i += static_cast<size_t>(len);
  }
  return out;
}

// Fills a record that may hold an earlier call's content (its strings keep their storage).
void PackOne(char letter, const Value& v, TDynaValue& out) {
  out.letter = letter;
  out.slot.i64 = 0;
  out.pointer = nullptr;
  bool absent = ValueIsNullOrUndefined(v);
  switch (letter) {
    case 'c': out.slot.u8 = static_cast<uint8_t>(ValueToIntegerArgument(v)); return;
    case 't': out.slot.i16 = static_cast<int16_t>(ValueToIntegerArgument(v)); return;
    case 'b':
    case 'l': out.slot.i32 = static_cast<int32_t>(ValueToIntegerArgument(v)); return;
    case 'u': out.slot.u32 = static_cast<uint32_t>(ValueToIntegerArgument(v)); return;
    case 'h':
    case 'p':
    case 'i': out.slot.i64 = ValueToInt64(v); return;
    case 'f': out.slot.f = ValueToSingle(v); return;
    case 'd': out.slot.d = ValueToNumber(v); return;
    case '1': out.slot.u8 = static_cast<uint8_t>(ValueToIntegerArgument(v)); break;
    case '2': out.slot.i16 = static_cast<int16_t>(ValueToIntegerArgument(v)); break;
    case '4': out.slot.i32 = static_cast<int32_t>(ValueToIntegerArgument(v)); break;
    case '8': out.slot.i64 = ValueToInt64(v); break;
    case 's':
      if (absent) return;
      if (NativeRecord* record = NativeRecordOf(v)) {
        out.pointer = record->RecordData();
        return;
      }
      if (v.type() == vtString) out.text.assign(v.text());
      else out.text.assign(ValueToString(v).view());
      out.pointer = out.text.data();
      return;
    case 'w':
      if (absent) return;
      out.wide = Cp932ToWide(ValueToStdString(v));
      out.pointer = out.wide.data();
      return;
    case 'a':
    case 'k': return;
    default: RaiseError(ScriptError::DynaCallFlags);
  }
  if (!absent) out.pointer = &out.slot;
}

}  // namespace

void ClearDynaDeclare(TDynaDeclare& declare) { declare = TDynaDeclare(); }

void ParseDynaDeclare(const std::vector<std::string>& options, TDynaDeclare& declare) {
  ClearDynaDeclare(declare);
  for (const std::string& option : options) {
    std::string o = LocaleLower(option);
    if (o.size() < 2 || o[1] != '=') continue;
    std::string text = o.substr(2);
    if (o[0] == 'i') declare.args = text;
    else if (o[0] == 'f') declare.flags = text;
    else if (o[0] == 'r') declare.result = text;
  }
}

int32_t ParseDynaFlags(std::string_view text) {
  if (text.empty()) return kDynaStdcall;
  int32_t flags = 0;
  for (char c : text) {
    switch (c) {
      case 'c': flags += kDynaCdecl; break;
      case 's': flags += kDynaStdcall; break;
      case '4': flags += kDynaFloatResult; break;
      case '8': flags += kDynaDoubleResult; break;
      case 'b': flags += kDynaResultBuffer; break;
      default: break;  // "m" and unknown letters add nothing
    }
  }
  return flags;
}

NativeRecord* NativeRecordOf(const Value& v) {
  TJObject* obj = v.object();
  return obj ? dynamic_cast<NativeRecord*>(obj) : nullptr;
}

int64_t ValueToInt64(const Value& v) {
  if (v.type() == vtInteger) return v.integer();
  double d = std::nearbyint(ValueToNumber(v));
  if (!std::isfinite(d)) return 0;
  if (d >= -9223372036854775808.0 && d < 9223372036854775808.0) return static_cast<int64_t>(d);
  if (d >= 0 && d < 18446744073709551616.0) return static_cast<int64_t>(static_cast<uint64_t>(d));
  return 0;
}

int64_t ValueToIntegerArgument(const Value& v) {
  return v.type() == vtDouble ? ValueToInt64(v) : ValueToInteger(v);
}

Value Int64ToValue(int64_t i) {
  if (i >= INT32_MIN && i <= INT32_MAX) return Value::Integer(static_cast<int32_t>(i));
  return Value::Double(static_cast<double>(i));
}

std::wstring Cp932ToWide(std::string_view text) { return Utf8ToWide(kestrin::cp932_to_utf8(text)); }

std::string WideToCp932(const wchar_t* text) {
  if (!text) return std::string();
  std::string utf8;
  for (const wchar_t* p = text; *p; ++p) append_utf8(utf8, static_cast<uint32_t>(*p));
  return kestrin::utf8_to_cp932(utf8);
}

void PackDynaCallArgs(std::string_view letters, const TJValueList* params, TDynaValueArray& values) {
  // Every letter is checked before a value is converted: a bad declaration calls nothing.
  for (char c : letters)
    if (!IsArgumentLetter(c)) RaiseError(ScriptError::DynaCallFlags);
  // Each record is filled in place and the array never grows afterwards, so the pointers
  // into its cells and kept strings stay valid for the call.
  values.resize(letters.size());
  int32_t count = params ? params->GetCount() : 0;
  for (size_t i = 0; i < letters.size(); ++i) {
    Value v = static_cast<int32_t>(i) < count ? params->GetValue(static_cast<int32_t>(i)) : Value();
    PackOne(letters[i], v, values[i]);
  }
}

Value DynaCellToValue(char letter, const void* cell) {
  switch (letter) {
    case '1': return Value::Integer(*static_cast<const uint8_t*>(cell));
    case '2': {
      int16_t w;
      std::memcpy(&w, cell, sizeof w);
      return Value::Integer(w);
    }
    case '4': {
      int32_t i;
      std::memcpy(&i, cell, sizeof i);
      return Value::Integer(i);
    }
    case '8': {
      int64_t i;
      std::memcpy(&i, cell, sizeof i);
      return Value::Double(static_cast<double>(i));
    }
    default: return Value();
  }
}

void UpdateDynaCallOutArgs(const TDynaValueArray& values, const TJValueList* params) {
  int32_t count = params ? params->GetCount() : 0;
  for (size_t i = 0; i < values.size() && static_cast<int32_t>(i) < count; ++i) {
    const TDynaValue& cell = values[i];
    if (!IsCellLetter(cell.letter) || !cell.pointer) continue;
    Value arg = params->GetValue(static_cast<int32_t>(i));
    if (!ValueIsNumberObject(arg)) continue;
    // The Number object's integer setter for the small cells, its number setter for 64 bits.
    arg.object()->SetValue(cell.letter == '8' ? "number" : "int", DynaCellToValue(cell.letter, cell.pointer));
  }
}

Value DynaCallResultToValue(char letter, const DynaRawResult& raw) {
  switch (letter) {
    case 'b': return Value::Bool(raw.i32 != 0);
    case 'c':
    case 'l':
    case 't':
    case 'u': return Value::Integer(raw.i32);
    case 'h':
    case 'p': return Int64ToValue(raw.i64);
    case 'i': return Value::Double(static_cast<double>(raw.i64));
    case 'f': return Value::Double(raw.f);
    case 'd': return Value::Double(raw.d);
    case 's': return Value::String(raw.p ? std::string_view(static_cast<const char*>(raw.p)) : std::string_view());
    case 'w': return Value::String(WideToCp932(static_cast<const wchar_t*>(raw.p)));
    default: return Value();
  }
}

DynaDeclareExtra::DynaDeclareExtra(TDynaDeclare declare, std::shared_ptr<void> library)
    : declare_(std::move(declare)), library_(std::move(library)), plan_(BuildPlan(declare_)) {}

Value MakeDynaFunction(StrRef name, TDynaDeclare declare, std::shared_ptr<void> library) {
  Value fn = NewFunctionImpl();
  IJFunction* f = fn.function();
  f->name = std::move(name);
  f->func_type = ftDynaCall;
  f->extra = std::make_unique<DynaDeclareExtra>(std::move(declare), std::move(library));
  return fn;
}

namespace {

// The records of one call. Each thread keeps one set, so a call allocates nothing for its
// records; a nested call (a write-back that runs a setter that calls again) gets its own.
struct CallScratch {
  TDynaValueArray values;
  std::vector<void*> addresses;
  bool busy = false;
};

class ScratchLease {
public:
  ScratchLease() {
    static thread_local CallScratch shared;
    scratch_ = shared.busy ? &own_ : &shared;
    lease_ = scratch_ == &shared;
    scratch_->busy = true;
  }
  ~ScratchLease() {
    if (lease_) scratch_->busy = false;
  }
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;
  CallScratch& operator*() { return *scratch_; }

private:
  CallScratch own_;
  CallScratch* scratch_;
  bool lease_;
};

}  // namespace

bool DynaDeclareExtra::Call(BaseEngine&, TJValueList* params, Value& result, bool) const {
  result = Value();
  if (!declare_.proc) RaiseError(ScriptError::UnsupportedFunction);
  // The caller holds the function value, and no script runs until the call is back: the
  // declaration, its plan and its library stay as they are.
  const DynaPlan& plan = *plan_;
  if (!plan.valid) RaiseError(ScriptError::DynaCallFlags);
  ScratchLease lease;
  CallScratch& call = *lease;
  PackDynaCallArgs(declare_.args, params, call.values);
  call.addresses.resize(call.values.size());
  for (size_t i = 0; i < call.values.size(); ++i) {
    TDynaValue& v = call.values[i];
    call.addresses[i] = IsPointerLetter(v.letter) ? static_cast<void*>(&v.pointer) : &v.slot;
  }
  DynaRawResult raw{};
  // The plan was built, so the library is loaded.
  LoadedFfi()->call(const_cast<ffi_cif*>(&plan.cif), FFI_FN(declare_.proc), &raw, call.addresses.data());
  result = DynaCallResultToValue(plan.result_letter, raw);
  if (plan.has_cells) UpdateDynaCallOutArgs(call.values, params);
  return true;
}

}  // namespace kestrin::script
