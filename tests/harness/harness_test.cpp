// The harness's command parsing: plain and recorded-macro forms.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "harness/harness.h"
#include "model/macro_recorder.h"
#include "ports/log.h"

namespace kestrin::harness {
namespace {

struct ParseCase {
  const char* line;
  bool runs;
  const char* name;
  std::vector<std::string> args;
};

// Numbers outside 32 bits wrap as the script's own conversion wraps them.
TEST(HarnessParse, IntegerArgumentsRoundTiesToEvenAndWrapAsScriptsDo) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"12", 12},          {"$1F", 31},          {"2.5", 2},           {"3.5", 4},
      {"12.7", 13},        {"-2.5", -2},         {" 7 ", 7},           {"4294967301", 5},
      {"2147483648", INT32_MIN}, {"1e12", -727379968}, {"abc", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(integer_arg(text), value) << text;
}

TEST(HarnessParse, PlainAndMacroForms) {
  const ParseCase cases[] = {
      {"LoadImageFile /data/a.img", true, "LoadImageFile", {"/data/a.img"}},
      {"SetCenterX 512.5", true, "SetCenterX", {"512.5"}},
      {"AngleIntensity", true, "AngleIntensity", {}},
      {"LoadImageFile '/data/with blank.img'", true, "LoadImageFile", {"/data/with blank.img"}},
      {"Kestrin.LoadImageFile('/data/a.img');", true, "LoadImageFile", {"/data/a.img"}},
      {"Kestrin.SetLo( 250 );", true, "SetLo", {"250"}},
      {"Kestrin.AngleIntensity();", true, "AngleIntensity", {}},
      // The scripts' literal rules: no escapes between apostrophes, escapes between double
      // quotes ("\n" is CR LF), numbers with a sign.
      {"Kestrin.LoadImageFile(\"/d/it's \\\"q\\\".img\");", true, "LoadImageFile", {"/d/it's \"q\".img"}},
      {"Kestrin.SaveNaxFile('C:\\\\x', 3);", true, "SaveNaxFile", {"C:\\\\x", "3"}},
      {"Kestrin.SaveNaxFile(\"a\\\\b\\n\", -3.5e1);", true, "SaveNaxFile", {"a\\b\r\n", "-35"}},
      {"Kestrin.SetBand(0x1F, 2.50, -0);  // note", true, "SetBand", {"31", "2.5", "0"}},
      {"Kestrin = new Kestrin;", false, "", {}},
      {"", false, "", {}},
      {"# comment", false, "", {}},
      // What a script would not read the same is refused.
      {"Kestrin.LoadImageFile('/d/it\\'s.img');", false, "", {}},
      {"Kestrin.SetLo(200.);", false, "", {}},
      {"Kestrin.SetLo(.5);", false, "", {}},
      {"Kestrin.SetLo(1, );", false, "", {}},
      {"Kestrin.SetLo(x);", false, "", {}},
  };
  for (const auto& c : cases) {
    std::string name, error;
    Args args;
    EXPECT_EQ(parse_command(c.line, name, args, error), c.runs) << c.line;
    const bool refused = !c.runs && std::string_view(c.line).starts_with("Kestrin.");
    EXPECT_EQ(!error.empty(), refused) << c.line << ": " << error;
    if (!c.runs) continue;
    EXPECT_EQ(name, c.name) << c.line;
    EXPECT_EQ(args, c.args) << c.line;
  }
}

TEST(HarnessParse, NamesRecordedByTheFileCommandsComeBackUnchanged) {
  for (const std::string file : {"/d/a.img", "/d/it's.img", "/d/back\\slash\\'.img", "/d/'", "/d/\"q\".img",
                                 "/d/\\\"'", "/d/ファイル.img"}) {
    std::string name, error;
    Args args;
    ASSERT_TRUE(parse_command("Kestrin.LoadImageFile(" + js_quote(file) + ");", name, args, error)) << file;
    EXPECT_EQ(args, Args{file});
  }
}

TEST(HarnessRun, PrintsLogLinesAndResultsInOrderAndReportsUnknownCommands) {
  const KestrinMethod methods[] = {
      {"Say", 1, [](const MethodArgs& a) -> MethodResult {
         log_line(" say() : " + a.text(0));
         return {};
       }},
      {"Get", 0, [](const MethodArgs&) -> MethodResult { return 42; }},
      {"Half", 1, [](const MethodArgs& a) -> MethodResult { return a.integer(0) / 2.0; }},
  };
  std::istringstream in("Say hello\nNope\nKestrin.Get();\nSay\nHalf 3\nHalf x\n");
  std::ostringstream out, err;
  run_commands(in, out, err, methods);
  EXPECT_EQ(out.str(), " say() : hello\n= 42\n= 1.5\n");  // too few arguments: nothing runs
  EXPECT_EQ(err.str(), "line 2: unknown command Nope\nline 6: Half: 'x' is not a valid floating point value\n");
}


}  // namespace
}  // namespace kestrin::harness
