// TKestrinObject in a host of its own: its Date is made with it and lives as long as it,
// text arguments reach the program as UTF-8, a cell that holds no number is a script
// error, and a failure that is no script error ends the run and is kept for the window.
#include <gtest/gtest.h>

#include <chrono>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "commands/wiring.h"
#include "model/state.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "scripting/kestrin_object.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using scripting::TKestrinObject;

class KestrinObjectTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    wire_program({});
    scripting::ImportKestrin(host_);
    host_.OnStdout = [this](script::TJScriptHost&, const std::string& s) { out_ += s; };
    host_.OnError = [this](script::TJScriptHost&, int32_t line, const std::string& m) {
      out_ += "error " + std::to_string(line) + ": " + m + "\n";
    };
    TKestrinObject::TakeFailure();
  }
  void TearDown() override { reset_headless_ports(); }

  std::string run(const std::string& source) {
    out_.clear();
    EXPECT_TRUE(host_.Compile(source)) << out_;
    host_.Run();
    host_.Clear();
    return out_;
  }

  script::TJHost host_{script::RegisterBuiltins};
  std::string out_;
};

int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The date is made with the object, before the first statement, and it is one object.
TEST_F(KestrinObjectTest, DateIsTheMomentTheObjectWasMade) {
  const int64_t before = now_ms() / 1000 * 1000;
  const std::string out = run("println(Kestrin.date.getTime());\nprintln(new Date().getTime());\n");
  const int64_t after = now_ms();
  const std::vector<std::string> lines = split_lines(out);
  ASSERT_EQ(lines.size(), 2u) << out;
  const double made = StrToFloat(lines[0]), first = StrToFloat(lines[1]);
  EXPECT_GE(made, double(before));
  EXPECT_LE(made, first);
  EXPECT_LE(first, double(after));
}

// The class factory does not keep the Date: the object holds the one count, and gives it
// back when it goes.
TEST_F(KestrinObjectTest, DateIsHeldByTheObjectAloneAndReleasedWithIt) {
  script::TJEngine& engine = host_.Engine();
  const size_t kept = engine.Factory().ObjectCount();
  script::Ref<TKestrinObject> k(new TKestrinObject(&engine));
  EXPECT_EQ(engine.Factory().ObjectCount(), kept);
  script::Ref<script::TJDateObject> date(k->date());
  EXPECT_EQ(date->RefCount(), 2u);
  k = script::Ref<TKestrinObject>();
  EXPECT_EQ(date->RefCount(), 1u);
}

// Script strings are CP932; the program's names are UTF-8.
TEST_F(KestrinObjectTest, TextArgumentsReachTheProgramAsUtf8) {
  TempDir dir;
  const std::string name = dir.file("パラメータ.kes");
  run("Kestrin.SaveParamFile('" + name + "');\n");
  EXPECT_TRUE(file_exists(name)) << out_;
}

TEST_F(KestrinObjectTest, ACellWithoutANumberIsAConversionError) {
  EXPECT_EQ(run("Kestrin.GetValue1();\n"),
            "error 1: Exception: EConvertError(1) => 'edtValue1' is not a valid floating point value\n");
  EXPECT_FALSE(TKestrinObject::TakeFailure());
}

// A file that cannot be written is no script error: scripts cannot catch it, the run
// ends, and the failure waits for the run flow.
TEST_F(KestrinObjectTest, AFailureThatIsNoScriptErrorEndsTheRunAndIsKept) {
  state().nax_pattern.set_kind(kPixelHistogram);
  state().nax_pattern.N = 3;
  const std::string out =
      run("try { Kestrin.SaveNaxFile('/nonexistent/folder/a.t'); } catch (e) { println('caught'); }\nprintln('after');\n");
  EXPECT_EQ(out.find("caught"), std::string::npos) << out;
  EXPECT_EQ(out.find("after"), std::string::npos) << out;
  EXPECT_NE(out.find("ESystemError(1)"), std::string::npos) << out;
  const auto failure = TKestrinObject::TakeFailure();
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("/nonexistent/folder/a.t"), std::string::npos) << *failure;
  EXPECT_FALSE(TKestrinObject::TakeFailure());
}

}  // namespace
}  // namespace kestrin::test
