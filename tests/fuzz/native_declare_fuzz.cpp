// Fuzz target: lines of input as Struct member texts and as native-call declaration
// options. Definitions end in a Struct or a script error; every member is written and read
// back; declarations build their call plan and pack arguments. Nothing native is called.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/errors.h"
#include "script/core/value_list.h"
#include "script/objects/native_call.h"
#include "script/objects/struct_object.h"

using namespace kestrin::script;

namespace {

std::vector<std::string> Lines(std::string_view data) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= data.size(); ++i)
    if (i == data.size() || data[i] == '\n') {
      lines.emplace_back(data.substr(start, i - start));
      start = i + 1;
    }
  return lines;
}

void FuzzStruct(const std::vector<std::string>& lines) {
  TJValueList members;
  for (const std::string& l : lines) members.AddString(l);
  TJStruct record(nullptr);
  try {
    record.Define(members);
  } catch (const EJThrow&) {
    return;
  }
  const Value samples[] = {Value::Integer(-1), Value::Double(1e300), Value::String("text"), Value::Null()};
  for (int32_t i = 0; i < record.GetCount(); ++i) {
    std::string index = std::to_string(i);
    record.SetValue(index, samples[i % 4]);
    Value out;
    record.GetItem(i, out);
  }
  (void)record.Description();
}

void FuzzDeclare(const std::vector<std::string>& lines) {
  TDynaDeclare declare;
  ParseDynaDeclare(lines, declare);
  declare.proc = reinterpret_cast<void*>(&FuzzDeclare);  // never called
  DynaDeclareExtra extra(declare, nullptr);
  TJValueList params{Value::Integer(7), Value::String("s"), Value::Double(2.5), Value::Null()};
  TDynaValueArray values;
  try {
    PackDynaCallArgs(declare.args, &params, values);
  } catch (const EJThrow&) {
  }
  (void)ParseDynaFlags(declare.flags);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines = Lines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (lines.size() > 256) return 0;
  FuzzStruct(lines);
  FuzzDeclare(lines);
  return 0;
}
