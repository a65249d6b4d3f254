// WScript through the host component: Echo's message box, the error output and the host's
// last error text, input without a handler, arguments that belong to one run, and object
// creation and event connection through the ActiveXObject class.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/builtins/automation_events.h"
#include "script/builtins/builtins.h"
#include "script/builtins/wscript_object.h"
#include "script/core/host.h"
#include "script/core/script_ui.h"

namespace kestrin::script {
namespace {

// Records every message box and answers OK.
class RecordingUi : public ScriptUi {
public:
  struct Box {
    std::string text, caption;
    uint32_t flags;
  };
  int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    boxes.push_back({text, caption, flags});
    return kIdOk;
  }
  std::string ApplicationTitle() override { return "Title"; }
  std::vector<Box> boxes;
};

// Runs `source`; the output, then the error texts.
std::string RunScript(TJScriptHost& host, const std::string& source, const TJValueList& args = {}) {
  std::string out;
  host.OnStdout = [&](TJScriptHost&, const std::string& s) { out += s; };
  host.OnStderr = [&](TJScriptHost&, const std::string& s) { out += "!" + s; };
  if (host.Compile(source)) host.Run(args);
  return out;
}

TEST(WScript, EchoShowsOneMessageBoxWithTheApplicationTitle) {
  TJHost host(RegisterBuiltins);
  RecordingUi ui;
  host.SetUi(&ui);
  RunScript(host, "WScript.Echo(1, 2); WScript.Echo('a', '  ', String.fromCharCode(9, 13)); WScript.Echo();");
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[0].text, "1 2");
  EXPECT_EQ(ui.boxes[0].caption, "Title");
  EXPECT_EQ(ui.boxes[0].flags, kMbOk);  // the OK button, no icon
  EXPECT_EQ(ui.boxes[1].text, "a");     // trailing blanks and control characters go
  EXPECT_EQ(ui.boxes[2].text, "");
}

TEST(WScript, StdErrGoesToTheErrorOutputAndTheLastErrorText) {
  TJHost host(RegisterBuiltins);
  EXPECT_EQ(RunScript(host, "WScript.StdOut.Write('out'); WScript.StdErr.WriteLine('err');"), "out!err\r\n");
  EXPECT_EQ(host.LastErrorOutput(), "err\r\n");
}

TEST(WScript, ReadingWithoutAnInputHandlerIsAFileError) {
  TJHost host(RegisterBuiltins);
  for (const char* read : {"ReadLine()", "ReadAll()", "Read(2)", "Read()"}) {
    EXPECT_EQ(RunScript(host, std::string("try { WScript.StdIn.") + read + "; } catch (e) { println(e); }\n"
                        "WScript.StdIn." + read + ";"),
              "EFileError\r\n!Exception: EFileError(2) => read error: STDIN\r\n");
  }
  // A handler that answers gives the text; Read(n) keeps n characters of it.
  host.OnStdin = [](TJScriptHost&, std::string& s, bool& ok, int32_t, bool) {
    s = "\xE6\xBC\xA2\xE5\xAD\x97xyz";  // 漢字xyz
    ok = true;
  };
  EXPECT_EQ(RunScript(host, "println(WScript.StdIn.Read(3));"), "\xE6\xBC\xA2\xE5\xAD\x97x\r\n");
}

TEST(WScript, EachRunSeesOnlyItsOwnArguments) {
  TJHost host(RegisterBuiltins);
  const std::string script =
      "var a = WScript.Arguments; println(a.Count + ' ' + a.Named.Count + ' ' + a.Unnamed.Count);"
      "WScript.Interactive = true; WScript.extra = 1;";
  EXPECT_EQ(RunScript(host, script, {Value::String("/k:v"), Value::String("u"), Value::Integer(5)}), "3 1 2\r\n");
  EXPECT_EQ(RunScript(host, script + std::string("println(a.Unnamed.Item(1));"), {Value::String("/n:1")}),
            "1 1 0\r\nundefined\r\n");
  EXPECT_EQ(RunScript(host, "println(WScript.Interactive + ' ' + WScript.hasKey('extra'));", {Value::String("x")}),
            "false false\r\n");
  // Arguments that are not strings are never named.
  EXPECT_EQ(RunScript(host, "println(WScript.Arguments.Unnamed.Item(0) + 1);", {Value::Integer(41)}), "42\r\n");
}

TEST(WScript, ScriptNamesComeFromTheHost) {
  TJHost host(RegisterBuiltins);
  EXPECT_EQ(RunScript(host, "println('[' + WScript.ScriptName + '][' + WScript.ScriptFullName + ']');"), "[][]\r\n");
  host.SetScriptFileName("/data/scripts/../x/run.js");
  EXPECT_EQ(RunScript(host, "println(WScript.ScriptName + ' ' + WScript.ScriptFullName);"), "run.js /data/x/run.js\r\n");
}

// A stand-in for the automation issue's ActiveXObject: records its arguments and events.
class FakeActiveX : public TJObject, public AutomationEvents {
public:
  FakeActiveX(BaseEngine* engine, TJValueList* params) : TJObject(engine) {
    SetObjectName("ActiveXObject");
    for (int32_t i = 0; params && i < params->GetCount(); ++i) StoreMember(std::to_string(i), params->GetValue(i));
  }
  uint32_t ClassFlags() const override { return kActiveXObjectClass; }
  void ConnectEvents(const StrRef& prefix) override { log += "connect " + prefix.str() + ";"; }
  void DisconnectEvents() override { log += "disconnect;"; }
  static inline std::string log;
};

TEST(WScript, CreateObjectMakesAnActiveXObjectAndConnectsOnlyThose) {
  TJHost host(RegisterBuiltins);
  EXPECT_EQ(RunScript(host, "WScript.CreateObject('Excel.Application');"),
            "!Exception: ENameError(1) => create object error ActiveXObject\r\n");
  host.ImportObject("ActiveXObject",
                    [](BaseEngine* e, TJValueList* p) -> TJObject* { return new FakeActiveX(e, p); });
  FakeActiveX::log.clear();
  EXPECT_EQ(RunScript(host, "var o = WScript.CreateObject('Excel.Application', 2);\n"
                      "println(nameOf(o) + ' ' + o['0'] + ' ' + o['1']);\n"
                      "WScript.ConnectObject(o, 'xl_'); WScript.ConnectObject(o);\n"
                      "WScript.ConnectObject(new Object(), 'p_'); WScript.DisconnectObject(o);\n"
                      "WScript.DisconnectObject(1);"),
            "ActiveXObject Excel.Application 2\r\n");
  EXPECT_EQ(FakeActiveX::log, "connect xl_;disconnect;");
}

}  // namespace
}  // namespace kestrin::script
