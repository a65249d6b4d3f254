// The macro recorder: lines only while recording, and file names quoted so that they
// replay unchanged.
#include <gtest/gtest.h>

#include "model/macro_recorder.h"

namespace kestrin {
namespace {

TEST(JsQuote, EscapesQuotesBackslashesAndLineEnds) {
  EXPECT_EQ(js_quote(""), "''");
  EXPECT_EQ(js_quote("/data/a.img"), "'/data/a.img'");
  EXPECT_EQ(js_quote("it's"), "'it\\'s'");
  EXPECT_EQ(js_quote("a\\b"), "'a\\\\b'");
  EXPECT_EQ(js_quote("x\ny\r"), "'x\\ny\\r'");
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
