// Declared native functions: the declaration a DynaCall object keeps in a function value
// (type letters, call flags, result letter, the resolved address and its library) and the
// call the interpreter makes through it: arguments packed by their letters, one libffi
// call, the result converted by its letter, out-cells written back into Number objects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/function.h"
#include "script/core/value.h"

namespace kestrin::script {

class TJValueList;

// Call-flag bits. On x86-64 only the float and double result bits mean anything: the
// stack layout, the conventions and the hidden result buffer are the 32-bit platform's.
enum DynaFlag : int32_t {
  kDynaResultBuffer = 1,
  kDynaCdecl = 16,
  kDynaStdcall = 32,
  kDynaFloatResult = 256,
  kDynaDoubleResult = 512,
};

// Most arguments one declaration may have.
inline constexpr size_t kMaxDynaArguments = 64;

// A declared function.
struct TDynaDeclare {
  void* proc = nullptr;  // the entry address, null until resolved
  std::string args;      // "i=": one letter per argument
  std::string flags;     // "f=": call-flag letters
  std::string result;    // "r=": the first letter is the result's
};

void ClearDynaDeclare(TDynaDeclare& declare);
// Options "i=...", "f=...", "r=..." in any order, lower-cased; others are ignored and a
// later option of a kind replaces an earlier one.
void ParseDynaDeclare(const std::vector<std::string>& options, TDynaDeclare& declare);
// "c" 16, "s" 32, "4" 256, "8" 512, "b" 1, others nothing; the empty text is 32.
int32_t ParseDynaFlags(std::string_view text);

// An object that owns a native record (Struct): "s" arguments and memory copies use its
// bytes in place, so native code can fill it.
class NativeRecord {
public:
  virtual ~NativeRecord() = default;
  virtual char* RecordData() = 0;
  virtual size_t RecordSize() const = 0;
};
// The record of an object value; null for anything else.
NativeRecord* NativeRecordOf(const Value& v);

// A number as a 64-bit integer, rounded (halves to even); addresses above 2^63 wrap, and
// NaN, infinities and numbers beyond 2^64 give 0.
int64_t ValueToInt64(const Value& v);
// What an integer letter takes: doubles by the 64-bit conversion (so 4294967295 reaches a
// 32-bit "u" whole), other values by the integer conversion; the caller keeps the low bits.
int64_t ValueToIntegerArgument(const Value& v);
// A 64-bit integer as a script number: an integer when it fits, else a double.
Value Int64ToValue(int64_t i);

// Text conversions of "w": script text (CP932) to wchar_t text and back.
std::wstring Cp932ToWide(std::string_view text);
std::string WideToCp932(const wchar_t* text);

// One packed argument: its letter, the storage of its by-value or cell content, and the
// strings it keeps alive for the call. `pointer` may point into the record itself, so
// records are filled in place and never copied.
struct TDynaValue {
  char letter = 0;
  union {
    uint8_t u8;
    int16_t i16;
    int32_t i32;
    uint32_t u32;
    int64_t i64;
    float f;
    double d;
  } slot{};
  void* pointer = nullptr;  // what pointer letters pass (null for undefined and null)
  std::string text;
  std::wstring wide;
};
using TDynaValueArray = std::vector<TDynaValue>;

// Packs the script arguments by `letters` (a missing argument is undefined). An unknown
// letter raises "EDynaCallError" "arguments flag error" before anything is called.
void PackDynaCallArgs(std::string_view letters, const TJValueList* params, TDynaValueArray& values);
// The content of a cell of letter "1", "2", "4" or "8" as a script value (unsigned byte,
// signed word, 32-bit integer, 64-bit integer as a number); undefined for other letters.
Value DynaCellToValue(char letter, const void* cell);
// Writes each cell back into the argument at its position when that is a Number object.
void UpdateDynaCallOutArgs(const TDynaValueArray& values, const TJValueList* params);

// The raw result of a call, as the result registers held it.
union DynaRawResult {
  uint64_t bits;
  int32_t i32;
  int64_t i64;
  float f;
  double d;
  const void* p;
};
// The result by its letter; undefined for the empty letter and for unknown letters.
Value DynaCallResultToValue(char letter, const DynaRawResult& raw);

// The declaration in a function record, with the library that holds its code (kept
// loaded while any copy of the function lives) and the call plan built once. Calling the
// function packs, calls, converts and writes back (the interpreter's path for ftDynaCall).
class DynaDeclareExtra : public FunctionExtra {
public:
  DynaDeclareExtra(TDynaDeclare declare, std::shared_ptr<void> library);
  std::unique_ptr<FunctionExtra> Clone() const override { return std::make_unique<DynaDeclareExtra>(*this); }
  bool Call(BaseEngine& engine, TJValueList* params, Value& result, bool put) const override;
  const TDynaDeclare& Declare() const { return declare_; }

private:
  TDynaDeclare declare_;
  std::shared_ptr<void> library_;
  std::shared_ptr<const struct DynaPlan> plan_;
};

// A function value (kind ftDynaCall) of a declaration.
Value MakeDynaFunction(StrRef name, TDynaDeclare declare, std::shared_ptr<void> library);

}  // namespace kestrin::script
