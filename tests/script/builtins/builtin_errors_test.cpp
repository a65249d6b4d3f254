// The built-in objects through the host: every error text as the host reports it, the
// global instances, an argument list that format leaves whole, and the UI services a host
// installs.
#include <gtest/gtest.h>

#include <string>

#include "script/builtins/builtins.h"
#include "script/builtins/global_object.h"
#include "script/core/host.h"

namespace kestrin::script {
namespace {

// Runs a script; the text the host reports through OnStderr (without its line break).
std::string ErrorOf(const std::string& source) {
  TJHost host(RegisterBuiltins);
  std::string error;
  host.OnStderr = [&](TJScriptHost&, const std::string& s) { error += s; };
  if (host.Compile(source)) host.Run();
  if (error.size() >= 2 && error.substr(error.size() - 2) == "\r\n") error.resize(error.size() - 2);
  return error;
}

TEST(BuiltinErrors, EveryErrorText) {
  const struct {
    const char* source;
    const char* error;
  } cases[] = {
      {"sprintf('%d', 'x');", "Exception: EConvertError(1) => Format '%d' invalid or incompatible with argument"},
      {"format('%d %d', 1);", "Exception: EConvertError(1) => No argument for format '%d %d'"},
      {"printf('%q', 1);", "Exception: EConvertError(1) => Format '%q' invalid or incompatible with argument"},
      {"formatFloat('0'.multiply(5000), 1);",
       "Exception: EConvertError(1) => Format '00000000000000000000000000000000...' invalid or incompatible with argument"},
      {"readln();", "Exception: EFileError(1) => read error: STDIN"},
      {"read(3);", "Exception: EFileError(1) => read error: STDIN"},
      {"new String('abc')[3];", "Exception: EIndexError(1) => 3"},
      {"var s = new String('abc'); s[-4] = 'x';", "Exception: EIndexError(1) => -4"},
      {"[][-1];", "Exception: EIndexError(1) => -1"},
      {"var a = []; a['-2'] = 1;", "Exception: EIndexError(1) => -2"},
      {"[1].delete(5);", "Exception: EIndexError(1) => "},
      {"[1, 2].splice(1, 5);", "Exception: EIndexError(1) => "},
      {"[1].splice(5, 0, 'x');", "Exception: EIndexError(1) => "},
      {"[].length = -1;", "Exception: EIndexError(1) => list count out of bounds (-1)"},
      {"new Array(-1);", "Exception: EIndexError(1) => list count out of bounds (-1)"},
      {"[][2147483647];", "Exception: EIndexError(1) => list count out of bounds (2147483648)"},
      {"[2, 1].sort(println);", "Exception: ETypeError(1) => sort compare function error"},
      {"[2, 1].sort(1);", "Exception: ETypeError(1) => sort compare function error"},
      {"[].assign(1);", "Exception: ETypeError(1) => array assign error"},
      {"[].assign();", "Exception: ETypeError(1) => array assign error"},
      {"'ab'.multiply(1e9);", "Exception: ETypeError(1) => string too long"},
      {"var a = [1]; a.push(a); a.join();", "Exception: ECallError(1) => stack overflow"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.source), c.error) << c.source;
}

TEST(BuiltinErrors, BadArgumentsNeverEscapeAsNativeExceptions) {
  const char* sources[] = {
      "'abc'.substring(2147483647, -2147483648); 'abc'.slice(-2147483648, 2147483647);",
      "'abc'.substr(2147483647, 2147483647); 'abc'.charAt(2147483647); 'abc'.indexOf('a', -2147483648);",
      "'abc'.lastIndexOf('c', 2147483647); String.fromCharCode(-1, 1e20, 0/0);",
      "(1.5).toFixed(1000); (1.5).toExponential(-1000); (1e308).toFixed(18); (0/0).toFixed(2); (1/0).toString(2);",
      "Math.floor(1/0); Math.round(0/0); Math.abs(0/0); Math.pow(1/0, 0/0); Math.random(-5); Math.max(1/0, 0/0);",
      "[].slice(2147483647, -2147483648); var a = [1, 2]; a.sort(function (p, q) { a.clear(); return 1; });",
      "var a = [3, 2, 1]; a.sort(function (p, q) { return 'x'; }); a.sort(function (p, q) { return 1e300; });",
      "formatFloat('#'.multiply(4000), 1e300); formatFloat('0.0E+0000', 1e-300); sprintf('%.999f', 1.5);",
      "escape('%'.multiply(1000)); unescape('%%%'); unescape('%4'); decodeURI('%');",
  };
  for (const char* source : sources) EXPECT_EQ(ErrorOf(source), "") << source;
}

TEST(BuiltinGlobal, ClassesHaveOneGlobalInstanceAndFormatLeavesItsArguments) {
  TJHost host(RegisterBuiltins);
  std::string out;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { out += s; };
  ASSERT_TRUE(host.Compile("print(Math.PI > 3, Number.MAX_VALUE > 1, String.fromCharCode(65), Array.length, nameOf(Object));"));
  host.Run();
  EXPECT_EQ(out, "truetrueA0Object");
  // The native receives the caller's own list: it must read past the format, not delete it.
  auto* global = dynamic_cast<TJGlobalObject*>(host.Engine().GlobalObject());
  ASSERT_NE(global, nullptr);
  TJValueList params{Value::String("%d-%s"), Value::Integer(1), Value::String("x")};
  Value fn = global->GetValue("format"), result;
  CallNativeFunction(*fn.function(), params, result);
  EXPECT_EQ(ValueToStdString(result), "1-x");
  EXPECT_EQ(params.GetCount(), 3);
  host.Clear();
}

// A host's UI services reach the dialogs, and a cleared host keeps them.
class CountingUi : public ScriptUi {
public:
  int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    seen += text + "|" + caption + "|" + std::to_string(flags) + ";";
    return kIdCancel;
  }
  bool Prompt(const PromptRequest& r, std::string& text) override {
    seen += r.text + "|" + r.value + "|" + std::to_string(r.password_char) + "|" + r.caption + "|" +
            std::to_string(r.width) + ";";
    text = "typed";
    return true;
  }
  bool TextArea(const TextAreaRequest& r, std::string&) override {
    seen += r.caption + "|" + std::to_string(r.width) + "x" + std::to_string(r.height) + ";";
    return false;
  }
  std::string ApplicationTitle() override { return "Title"; }
  std::string seen;
};

TEST(BuiltinGlobal, DialogsGoThroughTheHostsUiServices) {
  TJHost host(RegisterBuiltins);
  CountingUi ui;
  host.SetUi(&ui);
  std::string out;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { out += s; };
  ASSERT_TRUE(host.Compile(
      "print(confirm('q'), prompt('p', 'v', '*', 'C', 10), msgBox('m', 0x124, 'M'), isNull(textArea('t', '', 'T', -5, 201)));"
      "alert('a');"));
  host.Run();
  EXPECT_EQ(out, "falsetyped2true");
  // Arguments are evaluated from the last to the first.
  EXPECT_EQ(ui.seen, "T|0x201;m|M|292;p|v|42|C|200;q|Title|33;a|Title|48;");
  host.Clear();
  host.SetUi(nullptr);
  EXPECT_FALSE(host.Ui().Prompt(PromptRequest{}, out));
  EXPECT_EQ(host.Ui().ApplicationTitle(), "Kestrin");
}

}  // namespace
}  // namespace kestrin::script
