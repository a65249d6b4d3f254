// A script's setters write the main window's edits with '.' when the user's locale writes
// numbers with ','.
#include <clocale>
#include <cstdlib>

#include "app/app_fixture.h"
#include "model/state.h"
#include "scripting/script_window.h"

namespace kestrin::test {
namespace {

// The whole test program runs as if started with LC_ALL=de_DE.UTF-8 (set before main).
const bool g_german = ::setenv("LC_ALL", "de_DE.UTF-8", 1) == 0;

class ScriptLocaleTest : public AppTest {
protected:
  ScriptLocaleTest() { script_window_ = &scripting::make_script_window; }
};

TEST_F(ScriptLocaleTest, SettersShowThePoint) {
  if (!g_german || !std::setlocale(LC_ALL, "") || std::localeconv()->decimal_point[0] != ',') {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "locale de_DE.UTF-8 missing";
    GTEST_SKIP() << "locale de_DE.UTF-8 not installed";
  }
  auto& w = *static_cast<scripting::TfrmScript*>(forms_.at(10));
  w.memScriptSource->setText("Kestrin.Set2ThetaBegin(5);\nKestrin.SetWaveLength(0.41328);\nprintln(0.5);");
  w.pbtnScriptExecute->click();
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(main().edt2ThetaBegin->text(), "  5.0000");
  EXPECT_EQ(main().edtLambda->text(), "0.41328");
  EXPECT_EQ(w.memScriptLog->lines()->toVector(), std::vector<std::string>{"0.5"});
}

}  // namespace
}  // namespace kestrin::test
