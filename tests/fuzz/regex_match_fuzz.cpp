// Fuzz target: compile, then every match, a template and a split of a subject, with
// modifiers, mode, pattern and subject taken from the input. Reported positions must lie
// inside the subject; every failure must be an ERegex.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/regexp/regex.h"

using kestrin::script::ERegex;
using kestrin::script::TRegex;

namespace {

// Layout: modifiers and mode, pattern length, pattern, subject. The pattern is also the
// template.
void Run(const uint8_t* data, size_t size) {
  const size_t pattern_len = data[1] < size - 2 ? data[1] : size - 2;
  const std::string_view pattern(reinterpret_cast<const char*>(data + 2), pattern_len);
  const std::string_view subject(reinterpret_cast<const char*>(data + 2 + pattern_len), size - 2 - pattern_len);
  TRegex r;
  for (int index = 1; index <= 6; ++index) r.SetModifier(index, (data[0] >> (index - 1)) & 1);
  r.SetScriptMode(data[0] & 0x40);
  r.SetExpression(pattern);
  const int len = static_cast<int>(subject.size());
  int matches = 0;
  for (bool found = r.Exec(subject); found && matches < 64; found = r.ExecNext(), ++matches) {
    for (int n = 0; n < TRegex::kSubMatches; ++n) {
      const int pos = r.MatchPos(n);
      if (pos < 0) continue;
      if (pos < 1 || pos > len + 1 || r.MatchLen(n) < 0 || pos - 1 + r.MatchLen(n) > len) __builtin_trap();
    }
    r.Substitute(pattern);
  }
  std::vector<std::string> pieces;
  r.Split(subject, pieces);
  size_t total = 0;
  for (const std::string& p : pieces) total += p.size();
  if (pieces.empty() || total > subject.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  try {
    Run(data, size);
  } catch (const ERegex&) {
  }
  return 0;
}
