// Fuzz target, differential: the harness's reader of recorded lines and the script lexer
// must agree on every literal. The first byte picks the check:
//   0: the rest as an argument text: when the lexer reads it as one literal, the harness
//      reads the same from "Kestrin.M(text);" (a string's CP932 bytes back in UTF-8, a
//      number's value).
//   1: the rest as a file name: the recorder's literal reads back as that name both ways.
//   2: the rest as what a user typed into an edit: the recorded text reads back, through
//      the lexer and through the harness, as the number the edit holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/convert.h"
#include "base/cp932.h"
#include "harness/harness.h"
#include "model/macro_recorder.h"
#include "script/core/lex.h"
#include "script/core/source_text.h"

using namespace kestrin;
using namespace kestrin::script;

namespace {

// The lexer's reading of a whole literal text: a string's UTF-8 text or a signed number.
struct Literal {
  bool ok = false;
  bool is_string = false;
  std::string text;
  double number = 0;
};

// The source must be one literal and nothing after it but blanks, so that nothing the
// lexer skips (an unterminated quote, characters it ignores) hides behind the literal.
// Blanks around a number stay in a recorded line (" 250 " as typed) and mean nothing.
Literal Lex(std::string source) {
  Literal lit;
  while (!source.empty() && (source.back() == ' ' || source.back() == '\t')) source.pop_back();
  TJLex lex;
  lex.SetSource(DecodeScriptSource(source));
  if (!lex.Next()) return lit;
  double sign = 1;
  if (lex.Token == tkAdditive) {
    sign = lex.SubCode == '-' ? -1 : 1;
    if (!lex.Next()) return lit;
  }
  if (lex.Token == tkString && sign > 0) {
    lit.is_string = true;
    lit.text = cp932_to_utf8(lex.TokenText);
  } else if (lex.Token == tkInteger) {
    lit.number = sign * lex.IntValue;
  } else if (lex.Token == tkFloat) {
    lit.number = sign * lex.FloatValue;
  } else {
    return lit;
  }
  lit.ok = lex.AtEnd();
  return lit;
}

bool HarnessArg(const std::string& literal, std::string& arg) {
  std::string name, error;
  harness::Args args;
  if (!harness::parse_command("Kestrin.M(" + literal + ");", name, args, error) || args.size() != 1) return false;
  arg = args[0];
  return true;
}

void Check(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "disagreement at line %d\n", line);
  std::abort();
}
#define CHECK(condition) Check(condition, __LINE__)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (rest.find_first_of("\r\n") != std::string::npos) return 0;  // one line each
  switch (data[0] % 3) {
    case 0: {
      // A comment would swallow the call's closing parenthesis.
      if (rest.find("//") != std::string::npos || rest.find("/*") != std::string::npos) return 0;
      const Literal lit = Lex(rest);
      if (!lit.ok) return 0;
      std::string arg;
      CHECK(HarnessArg(rest, arg));
      if (lit.is_string) CHECK(arg == lit.text);
      else CHECK(StrToFloat(arg) == lit.number);
      break;
    }
    case 1: {
      if (!is_valid_utf8(rest) || cp932_to_utf8(utf8_to_cp932(rest)) != rest) return 0;
      const std::string literal = js_quote(rest);
      std::string arg;
      CHECK(HarnessArg(literal, arg) && arg == rest);
      const Literal lit = Lex(literal);
      CHECK(lit.ok && lit.is_string && lit.text == rest);
      break;
    }
    default: {
      const bool integer = rest.size() % 2 == 1;
      std::optional<double> typed = TryStrToFloat(rest);
      if (integer) {
        const auto i = TryStrToInt(rest);
        typed = i ? std::optional<double>(*i) : std::nullopt;
      }
      if (!typed) return 0;
      const std::string recorded = recorded_number(rest, integer);
      const Literal lit = Lex(recorded);
      CHECK(lit.ok && !lit.is_string && lit.number == *typed);
      std::string arg;
      CHECK(HarnessArg(recorded, arg) && StrToFloat(arg) == *typed);
      break;
    }
  }
  return 0;
}
