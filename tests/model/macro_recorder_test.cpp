// The macro recorder: lines only while recording, and file names quoted so that they
// replay unchanged.
#include <gtest/gtest.h>

#include <tuple>

#include "model/macro_recorder.h"

namespace kestrin {
namespace {

// A name goes between apostrophes as it is unless it holds one; then between double quotes
// with only '\' and '"' escaped.
TEST(JsQuote, ApostrophesUnlessTheNameHoldsOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "''"},
      {"/data/a.img", "'/data/a.img'"},
      {"C:\\x\\y.kes", "'C:\\x\\y.kes'"},
      {"q\"uote.kes", "'q\"uote.kes'"},
      {"it's.kes", "\"it's.kes\""},
      {"it's \"a\\b\".kes", "\"it's \\\"a\\\\b\\\".kes\""},
  };
  for (auto [name, literal] : cases) EXPECT_EQ(js_quote(name), literal) << name;
}

// What the user typed stays when the lexer reads it as the same number; other forms the
// edits accept become the shortest text of their value.
TEST(RecordedNumber, KeepsLexerNumbersAndRewritesTheRest) {
  const std::tuple<const char*, bool, const char*> cases[] = {
      {" 250 ", false, " 250 "},  {"1e2", false, "1e2"},     {"-12.5", false, "-12.5"},
      {"1.5E-3", false, "1.5E-3"}, {"007", false, "007"},    {"200.", false, "200"},
      {".5", false, "0.5"},       {"-.5", false, "-0.5"},    {"+3", false, "3"},
      {"1.e2", false, "100"},     {"0.1", false, "0.1"},     {" 12 ", true, " 12 "},
      {"$1F", true, "31"},        {"0x1F", true, "0x1F"},    {"-$10", true, "-16"},
      {"+7", true, "7"},
  };
  for (auto [typed, integer, recorded] : cases) EXPECT_EQ(recorded_number(typed, integer), recorded) << typed;
}

TEST(MacroRecorder, AppendsOnlyWhileRecordingAndNeverEmpties) {
  MacroRecorder m;
  m.record("a");
  m.MacroRecording = true;
  m.record("b");
  m.MacroRecording = false;
  m.record("c");
  m.MacroRecording = true;
  m.record("d");
  EXPECT_EQ(m.MacroList, (std::vector<std::string>{"b", "d"}));
}

}  // namespace
}  // namespace kestrin
