// ActiveXObject and Enumerator against the automation test objects: creation, the DISPID
// cache, property gets and puts, parameterised and default members, method argument
// order, enumeration, events and their disconnection, and script members first.
#include <gtest/gtest.h>

#include <string>

#include "script/objects/activex_object.h"
#include "script/objects/automation.h"
#include "script_runner.h"

namespace kestrin::script::testing {
namespace {

TEST(ActiveX, UnknownProgIdsAndMissingMembersRaiseActiveXErrors) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("new ActiveXObject(\"Excel.Application\");"),
            "error: Exception: EActiveXError(1) => create error Excel.Application\n");
  EXPECT_EQ(runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");\ns.Missing = 1;"),
            "error: Exception: EActiveXError(2) => 0x80020006: Unknown name.\n");
  // Failures reach try like any script error.
  EXPECT_EQ(runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");\n"
                       "try { s.Concat(1); } catch (e) { println(e); }\ntry { s.Nope; } catch (e) { println(e); }\n"),
            "EActiveXError\nEActiveXError\n");
  EXPECT_EQ(runner.Run("new Enumerator(5);"), "error: Exception: EEnumeratorError(1) => Enumerator.Create Error\n");
  EXPECT_EQ(runner.Run("new Enumerator(new ActiveXObject(\"KestrinTest.Sheet\"));"),
            "error: Exception: EEnumeratorError(1) => Enumerator.Create Error\n");
}

TEST(ActiveX, KnownNamesAreLookedUpOnce) {
  ScriptRunner runner;
  runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");");
  int64_t before = kestrin::test::AutomationNameLookups();
  EXPECT_EQ(runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");\n"
                       "println(s.Name); println(s.Name); s.Name = \"B\"; println(s.Name);"),
            "Sheet1\nSheet1\nB\n");
  EXPECT_EQ(kestrin::test::AutomationNameLookups() - before, 1);
  // A failed look-up is not cached: each read asks again.
  runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");\ntry { s.Nope; } catch (e) {}\ntry { s.Nope; } catch (e) {}");
  EXPECT_EQ(kestrin::test::AutomationNameLookups() - before, 3);
}

TEST(ActiveX, PropertiesMethodsAndIndexes) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");\n"
                       "s.Value = 2.5; println(s.Value);\n"
                       "s.Cells = [1, 2, 7];\nprintln(s.Cells(1, 2) + \" \" + s.Cells(2, 1));\n"
                       "println(s(\"k\") + \" \" + s[\"k\"] + \" \" + s.Item(\"i\"));\n"
                       "println(s.Concat(\"a\", 2, 3.5));\n"
                       "println((typeof s.Concat) + \" \" + (typeof s.Cells));\n"),
            "2.5\n7 0\nitem:k item:k item:i\na,2,3.5\nfunction object\n");
}

TEST(ActiveX, CollectionsEnumerate) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var c = new ActiveXObject(\"KestrinTest.Collection\");\n"
                       "var t = \"\"; for (var x in c) t += x; println(t + \" \" + c.Count + \" \" + c(1));\n"
                       "var e = new Enumerator(c);\nvar u = \"\";\n"
                       "for (; !e.atEnd(); e.moveNext()) u += e.item();\n"
                       "println(u + \" \" + e.atEnd() + \" \" + typeof e.item());\n"
                       "var first = e.moveFirst().item();\nprintln(first + e.moveNext().item());\n"
                       "var d = new Enumerator(c.disp);\nprintln(d.item());\n"),
            "abc 3 b\nabc true undefined\nab\na\n");
  // for-in breaks and continues like any loop.
  EXPECT_EQ(runner.Run("var c = new ActiveXObject(\"KestrinTest.Collection\");\n"
                       "for (var x in c) { if (x == \"a\") continue; println(x); break; }\n"),
            "b\n");
}

TEST(ActiveX, EventsReachPrefixedFunctionsUntilDisconnected) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("function ev_Changed(text, length) { println(\"changed \" + text + \" \" + length); }\n"
                       "function other_Changed(text) { println(\"other \" + text); }\n"
                       "var s = new ActiveXObject(\"KestrinTest.Sheet\", \"ev_\");\n"
                       "var quiet = WScript.CreateObject(\"KestrinTest.Sheet\");\n"
                       "s.Fire(\"abc\"); quiet.Fire(\"x\"); s.Fire(\"\");\n"
                       "WScript.DisconnectObject(s); s.Fire(\"gone\");\n"
                       "WScript.ConnectObject(quiet, \"other_\"); quiet.Fire(\"now\");\n"
                       "WScript.ConnectObject(quiet, \"ev_\"); quiet.Fire(\"new prefix\");\n"
                       "WScript.ConnectObject(s, \"ev_\");\n"),
            "changed abc 3\nchanged  0\nother now\nchanged new prefix 10\n");
  // The run's objects and functions stay until the next run: events fired from outside
  // reach the script while connected, and nothing once the object is disconnected.
  auto* automation = dynamic_cast<TJActiveXObject*>(runner.Global("s").object());
  ASSERT_NE(automation, nullptr);
  Dispatch* d = automation->Disp();
  int32_t fire = -1;
  ASSERT_TRUE(d->GetIDsOfNames("Fire", fire).ok());
  auto fire_text = [&](const char* text) { EXPECT_TRUE(d->Invoke(fire, kDispatchMethod, {std::string(text)}, false).ok()); };
  fire_text("outside");
  automation->DisconnectEvents();
  fire_text("after disconnect");
  automation->ConnectEvents("ev_");
  fire_text("again");
  automation->ConnectEvents("");
  fire_text("no prefix");
  EXPECT_EQ(runner.Output(), "changed abc 3\nchanged  0\nother now\nchanged new prefix 10\nchanged outside 7\n"
                             "changed again 5\n");
}

TEST(ActiveX, ScriptMembersWinOverDispatchNames) {
  ScriptRunner runner;
  runner.Run("var s = new ActiveXObject(\"KestrinTest.Sheet\");");
  TJObject* s = runner.Global("s").object();
  ASSERT_NE(s, nullptr);
  s->StoreMember("Name", Value::String("mine"));
  EXPECT_EQ(ValueToStdString(s->GetValue("Name")), "mine");
  s->SetValue("Name", Value::String("written"));
  EXPECT_EQ(ValueToStdString(s->GetValue("Name")), "written");
  // The automation object kept its own name; class methods stay the object's own too.
  Dispatch* d = DispatchOf(runner.Global("s"));
  AutomationResult name = d->Invoke(1, kDispatchPropertyGet, {}, false);
  EXPECT_EQ(std::get<std::string>(name.value), "Sheet1");
  EXPECT_EQ(ValueToStdString(s->GetValue("toString").type() == vtFunction ? Value::String("method") : Value()), "method");
  EXPECT_EQ(runner.Global("s").object()->GetValue("disp").dispatch(), d);
}

}  // namespace
}  // namespace kestrin::script::testing
