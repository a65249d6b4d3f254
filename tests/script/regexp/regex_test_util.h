// Small helpers shared by the TRegex tests.
#pragma once

#include <string>
#include <string_view>

#include "script/regexp/regex.h"

namespace kestrin::test {

// "start,length" of the first match (1-based), "none" without one, or "E<code>" for an error.
inline std::string FirstMatch(std::string_view pattern, std::string_view subject, bool script = false,
                              std::string_view modifier_letters = "") {
  script::TRegex r;
  r.SetScriptMode(script);
  static const char kLetters[] = "irsgmx";
  for (char c : modifier_letters) {
    const bool off = c >= 'A' && c <= 'Z';
    const char lower = off ? static_cast<char>(c - 'A' + 'a') : c;
    for (int k = 0; k < 6; ++k)
      if (kLetters[k] == lower) r.SetModifier(k + 1, !off);
  }
  r.SetExpression(pattern);
  try {
    if (!r.Exec(subject)) return "none";
  } catch (const script::ERegex& e) {
    return "E" + std::to_string(e.ErrorCode());
  }
  return std::to_string(r.MatchPos(0)) + "," + std::to_string(r.MatchLen(0));
}

}  // namespace kestrin::test
