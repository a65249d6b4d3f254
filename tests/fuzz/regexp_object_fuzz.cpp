// Fuzz target: the RegExp object with flags, pattern, subject and template from the input:
// exec, test, a replace and a split, then every state text. Failures must be the engine's
// library error (a pattern or match error) and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/builtins/regexp_object.h"
#include "script/core/errors.h"
#include "script/core/value_list.h"

using namespace kestrin::script;

namespace {

// Layout: flags byte (bit 0 i, 1 g, 2 m), pattern length, pattern, then the subject, which
// is also the template.
void Run(const uint8_t* data, size_t size) {
  const size_t pattern_len = data[1] < size - 2 ? data[1] : size - 2;
  const std::string_view pattern(reinterpret_cast<const char*>(data + 2), pattern_len);
  const std::string_view subject(reinterpret_cast<const char*>(data + 2 + pattern_len), size - 2 - pattern_len);
  std::string flags;
  if (data[0] & 1) flags += 'i';
  if (data[0] & 2) flags += 'g';
  if (data[0] & 4) flags += 'm';
  TJValueList args{Value::String(StrRef(pattern)), Value::String(StrRef(flags))};
  Value re = Value::Object(new TJRegExpObject(nullptr, &args));
  TJObject& obj = *re.object();
  const Value text = Value::String(StrRef(subject));
  for (const char* method : {"exec", "test", "replace", "split"}) {
    TJValueList params{text, text};
    Value result;
    obj.Class().FindMethod(method)(obj, params, result);
  }
  for (const char* member : {"index", "lastIndex", "lastMatch", "lastParen", "leftContext", "rightContext", "$1"})
    obj.GetValue(member);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  try {
    Run(data, size);
  } catch (const EJLibraryError&) {
  }
  return 0;
}
