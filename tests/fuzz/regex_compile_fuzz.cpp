// Fuzz target: the regular-expression compiler on arbitrary patterns must end in a program or
// an ERegex, never a crash, a hang or runaway memory. The first byte picks the modifiers and
// the mode.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/regexp/regex.h"

using kestrin::script::ERegex;
using kestrin::script::TRegex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  TRegex r;
  for (int index = 1; index <= 6; ++index) r.SetModifier(index, (data[0] >> (index - 1)) & 1);
  r.SetScriptMode(data[0] & 0x40);
  r.SetExpression(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  try {
    r.Compile();
  } catch (const ERegex& e) {
    if (e.ErrorCode() >= 1000 && e.ErrorCode() != 1003) __builtin_trap();  // compiling raises compile errors only
  }
  return 0;
}
