// The host component: event texts and lines, exit codes, cleared handlers, imports that
// survive Clear, refusals while running, the step event, the poll and the event loop.
#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "script/builtins/array_object.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"

namespace kestrin::script {
namespace {

// Records what a host reports.
struct Recorder {
  explicit Recorder(TJScriptHost& host) {
    host.OnStdout = [this](TJScriptHost&, const std::string& s) { out += s; };
    host.OnStderr = [this](TJScriptHost&, const std::string& s) { err += s; };
    host.OnError = [this](TJScriptHost&, int32_t line, const std::string& msg) { errors.push_back({line, msg}); };
  }
  struct Error {
    int32_t line;
    std::string msg;
  };
  std::string out, err;
  std::vector<Error> errors;
};

int32_t CompileAndRun(TJScriptHost& host, const std::string& source) {
  if (!host.Compile(source)) return -1;
  return host.Run();
}

TEST(ScriptHost, SyntaxErrorReportsLineThroughStderrThenError) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  EXPECT_FALSE(host.Compile("var a = 1;\nvar b = 2;\nvar c = ;\n"));
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].line, 3);
  EXPECT_EQ(rec.errors[0].msg, "SyntaxError: Line(3) => Text( ; )");
  EXPECT_EQ(rec.err, rec.errors[0].msg + "\r\n");
  EXPECT_EQ(host.LastErrorOutput(), rec.err);
}

TEST(ScriptHost, RunErrorsCarryNameLineAndMessage) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  EXPECT_EQ(CompileAndRun(host, "var a;\n\n\n\nprintln(undefinedName);\n"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].line, 5);
  EXPECT_EQ(rec.errors[0].msg, "Exception: ENameError(5) => undefined - undefinedName");
}

TEST(ScriptHost, RunResultIsExitCodeOrReturnValue) {
  struct Case {
    const char* source;
    int32_t result;
  } cases[] = {
      {"exit(2);", 2}, {"return \"7\";", 7}, {"println(1);", 0}, {"return 2.5;", 2}, {"x.y;", 0},
      {"try { exit(4); } finally { println(1); }", 4},
  };
  for (const Case& c : cases) {
    TJHost host(RegisterBuiltins);
    Recorder rec(host);
    EXPECT_EQ(CompileAndRun(host, c.source), c.result) << c.source;
  }
}

// UTF-8 program text is read in place while it compiles and CP932 text is decoded first;
// either way the run needs nothing of the caller's text.
TEST(ScriptHost, RunNeedsNothingOfTheCompiledText) {
  const std::string program = "function f(s) { return s + \"\xE6\x97\xA5\"; }\nprint(f(\"a\"), \"\xE6\x9C\xAC\");";
  const std::string cp932 = "function f(s) { return s + \"\x93\xFA\"; }\nprint(f(\"a\"), \"\x96\x7B\");";
  for (const std::string& source : {program, cp932}) {
    TJHost host(RegisterBuiltins);
    Recorder rec(host);
    std::string text = source;
    ASSERT_TRUE(host.Compile(text));
    text.assign(text.size(), '#');
    EXPECT_EQ(host.Run(), 0);
    EXPECT_EQ(rec.out, "a\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(rec.err, "");
  }
}

TEST(ScriptHost, ClearedHandlerDeliversNothing) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  ASSERT_EQ(CompileAndRun(host, "print(\"a\");"), 0);
  EXPECT_EQ(rec.out, "a");
  host.OnStdout = nullptr;
  host.Clear();
  ASSERT_EQ(CompileAndRun(host, "print(\"b\");"), 0);
  EXPECT_EQ(rec.out, "a");
}

TEST(ScriptHost, ImportedClassSurvivesClearAndRunTwiceOnOneCompile) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  host.ImportObject("Thing", [](BaseEngine* e, TJValueList*) -> TJObject* {
    auto* o = new TJObject(e);
    o->SetObjectName("Thing");
    return o;
  });
  ASSERT_TRUE(host.Compile("var t = new Thing(); print(nameOf(t));"));
  host.Run();
  host.Run();
  EXPECT_TRUE(host.Clear());
  ASSERT_EQ(CompileAndRun(host, "print(nameOf(new Thing()));"), 0);
  EXPECT_EQ(rec.out, "ThingThingThing");
  EXPECT_TRUE(rec.errors.empty());
}

TEST(ScriptHost, RunArgumentsReachTheScript) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  ASSERT_TRUE(host.Compile("print(arguments.length, \":\", arguments[1]); return arguments[0];"));
  EXPECT_EQ(host.Run(TVarRecArray{int32_t{5}, std::string("x")}), 5);
  EXPECT_EQ(rec.out, "2:x");
}

// A native method that re-enters the host while the script runs.
TJScriptHost* g_host = nullptr;
std::vector<int> g_answers;

void Reenter(TJObject&, TJValueList&, Value&) {
  g_answers.push_back(g_host->Compile("println(1);"));
  g_answers.push_back(g_host->Run());
  g_answers.push_back(g_host->Clear());
}

void ThrowForeign(TJObject&, TJValueList&, Value&) { throw std::runtime_error("native failure"); }
void ThrowLibrary(TJObject&, TJValueList&, Value&) { throw EJLibraryError("ELibrary", "library failure"); }

class Reentrant : public TJObject {
public:
  explicit Reentrant(BaseEngine* e) : TJObject(e) { SetObjectName("Reentrant"); }
  const ClassInfo& Class() const override {
    static const ClassInfo info(&TJObject::BaseClass(), {{"reenter", Reenter}, {"fail", ThrowForeign}, {"failInLibrary", ThrowLibrary}});
    return info;
  }
};

TEST(ScriptHost, CompileRunAndClearAreRefusedWhileRunning) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  g_host = &host;
  g_answers.clear();
  host.ImportObject("Reentrant", [](BaseEngine* e, TJValueList*) -> TJObject* { return new Reentrant(e); });
  ASSERT_EQ(CompileAndRun(host, "var r = new Reentrant(); r.reenter(); print(nameOf(r));"), 0);
  EXPECT_EQ(g_answers, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(rec.out, "Reentrant");
}

TEST(ScriptHost, ForeignExceptionsAreReportedNotThrown) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  host.ImportObject("Reentrant", [](BaseEngine* e, TJValueList*) -> TJObject* { return new Reentrant(e); });
  EXPECT_EQ(CompileAndRun(host, "var r = new Reentrant();\nr.fail();"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg, "Exception: ESystemError(2) => native failure");
}

TEST(ScriptHost, LibraryErrorsPassTryAndAreReportedUnderTheirName) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  host.ImportObject("Reentrant", [](BaseEngine* e, TJValueList*) -> TJObject* { return new Reentrant(e); });
  EXPECT_EQ(CompileAndRun(host, "var r = new Reentrant();\ntry {\n  r.failInLibrary();\n} catch (e) {\n  println(e);\n}"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg, "Exception: ELibrary(3) => library failure");
  EXPECT_EQ(rec.out, "");
}

TEST(ScriptHost, RegexCaseLabelsNeedTheRegExpObject) {
  TJHost host(RegisterArray);  // an engine without the RegExp object
  Recorder rec(host);
  EXPECT_EQ(CompileAndRun(host, "var s = \"a\";\nswitch (s) { case /a/: break; }"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg, "Exception: ETypeError(2) => regexp case needs the RegExp object");
}

TEST(ScriptHost, StepEventStopsAnEndlessLoop) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  int steps = 0;
  host.OnStep = [&](TJScriptHost&, bool& abort) { abort = ++steps > 1000; };
  EXPECT_EQ(CompileAndRun(host, "var i = 0;\nwhile (true) {\n  try { i++; } finally { i--; }\n}"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg.rfind("Abort Script(", 0), 0u);
}

TEST(ScriptHost, EventLoopRunsUntilStoppedAndNotAfterAnError) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  int passes = 0;
  host.OnDoEvents = [&](TJScriptHost&, bool& abort) { abort = ++passes >= 3; };
  EXPECT_EQ(CompileAndRun(host, "eventLoop(); println(\"main done\");"), 0);
  EXPECT_EQ(passes, 3);
  passes = 0;
  EXPECT_EQ(CompileAndRun(host, "eventLoop(); missing;"), 0);
  EXPECT_EQ(passes, 0);
}

// The loop after the program and the script's doEvents() wait in the message pump for
// messages, each with its own bound; a pump that reports the application ending stops it.
TEST(ScriptHost, EventLoopWaitsInTheMessagePump) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  std::vector<std::chrono::milliseconds> waits;
  host.SetMessagePump([&](std::chrono::milliseconds wait) {
    waits.push_back(wait);
    return waits.size() < 4;
  });
  EXPECT_EQ(CompileAndRun(host, "doEvents(); eventLoop();"), 0);
  EXPECT_EQ(waits, (std::vector<std::chrono::milliseconds>{kDoEventsWait, kEventLoopWait, kEventLoopWait,
                                                           kEventLoopWait}));
  EXPECT_EQ(rec.err, "");
}

// Without a pump the loop waits until its time is up or Wake is called from elsewhere: it
// asks the host once per bound at most, never in a spin.
TEST(ScriptHost, EventLoopWithoutPumpWaitsForWake) {
  TJHost host(RegisterBuiltins);
  std::atomic<bool> stop{false};
  int passes = 0;
  host.OnDoEvents = [&](TJScriptHost&, bool& abort) {
    ++passes;
    abort = stop;
  };
  std::thread waker;
  host.OnRun = [&](TJScriptHost& h) {
    waker = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      stop = true;
      h.Engine().Wake();
    });
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CompileAndRun(host, "eventLoop();"), 0);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  waker.join();
  EXPECT_TRUE(stop);
  // Each pass waits its full period unless woken, so a loaded machine only stretches the run;
  // a loop that spun would make thousands of passes.
  EXPECT_LE(passes, elapsed.count() / kEventLoopWait.count() + 2);
}

TEST(ScriptHost, UnboundedRecursionIsAScriptError) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  EXPECT_EQ(CompileAndRun(host, "function f(n) { return f(n + 1) + 1; }\nf(0);"), 0);
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg, "Exception: ECallError(1) => stack overflow");
}

// Runs `body` on a new thread whose stack is `bytes` large.
void RunOnStack(size_t bytes, const std::function<void()>& body) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, bytes);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// On a 1 MiB thread, recursion through calls, eval, nested printing and joining ends in
// the script error, and the host compiles and runs again afterwards.
TEST(ScriptHost, DeepRecursionOnASmallThreadStackIsAScriptError) {
  struct Case {
    const char* script;
    const char* error;
  };
  const Case cases[] = {
      {"function d(n) { if (n == 0) return 0; return d(n - 1) + 1; }\nprintln(d(100000));",
       "Exception: ECallError(1) => stack overflow"},
      {"function e(n) { return eval(\"e(n + 1)\"); }\ne(0);", "Exception: ECallError(1) => stack overflow"},
      {"var a = []; var b = a;\nfor (var i = 0; i < 1000; i++) { var c = [0]; b.push(c); b = c; }\nprintln(a);",
       "Exception: ECallError(3) => stack overflow"},
      {"var o = \"(\"; for (var i = 0; i < 17; i++) o = o + o;\nprintln(eval(o + \"1\"));",
       "SyntaxError: Line(2) => too deeply nested: Text( ( )"},
  };
  RunOnStack(size_t{1} << 20, [&] {
    TJHost host(RegisterBuiltins);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.script);
      Recorder rec(host);
      EXPECT_EQ(CompileAndRun(host, c.script), 0);
      ASSERT_EQ(rec.errors.size(), 1u);
      EXPECT_EQ(rec.errors[0].msg, c.error);
    }
    Recorder rec(host);
    EXPECT_EQ(CompileAndRun(host, "println(1 + 1);"), 0);
    EXPECT_EQ(rec.out, "2\r\n");
  });
}

// An abort from OnStep passes every catch but runs the finally clauses on its way out; an
// abort from OnDoEvents ends the event loop; the host compiles and runs again after both.
TEST(ScriptHost, AbortsEndTheRunAndTheHostGoesOn) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  int steps = 0;
  host.OnStep = [&](TJScriptHost&, bool& abort) { abort = ++steps == 1000; };
  EXPECT_EQ(CompileAndRun(host, "try {\n  while (true) {}\n} catch (e) { println(\"caught\"); }\n"
                                "finally { println(\"finally\"); }\nprintln(\"after\");"),
            0);
  EXPECT_EQ(rec.out, "finally\r\n");
  ASSERT_EQ(rec.errors.size(), 1u);
  EXPECT_EQ(rec.errors[0].msg, "Abort Script(4)");  // the line of the last statement run: the finally clause
  host.OnStep = nullptr;
  int passes = 0;
  host.OnDoEvents = [&](TJScriptHost&, bool& abort) { abort = ++passes == 2; };
  rec.out.clear();
  EXPECT_EQ(CompileAndRun(host, "eventLoop(); println(\"loop\");"), 0);
  EXPECT_EQ(passes, 2);
  host.OnDoEvents = nullptr;
  EXPECT_EQ(CompileAndRun(host, "println(6 * 7);"), 0);
  EXPECT_EQ(rec.out, "loop\r\n42\r\n");
  EXPECT_EQ(rec.errors.size(), 1u);
}

// A program that never ends reaches the host's poll from every kind of loop and through
// calls; the poll's abort ends it. Inside the poll, events reach no script handler.
TEST(ScriptHost, PollsReachEveryLoopAndAbortIt) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  int polls = 0;
  bool held = true;
  host.SetPoll([&](bool& abort) {
    held = held && host.Engine().HoldsEvents();
    TJValueList text{Value::String("from an event")};
    Value ignored;
    host.Engine().GlobalObject()->CallEvent(StrRef(), "print", ignored, &text);
    abort = ++polls == 3;
  });
  const char* const runaways[] = {
      "while (true) {}",
      "for (;;) ;",
      "do {} while (true);",
      "var a = [1, 2];\nwhile (true) for (var x in a) ;",
      "function f(n) { return n; }\nwhile (f(true)) ;",
      "function g(n) { return n > 0 ? g(n - 1) : 0; }\nfor (var i = 0; i < 1000000000; i++) g(1);",
  };
  for (const char* source : runaways) {
    polls = 0;
    rec.errors.clear();
    EXPECT_EQ(CompileAndRun(host, source), 0) << source;
    EXPECT_EQ(polls, 3) << source;
    ASSERT_EQ(rec.errors.size(), 1u) << source;
    EXPECT_EQ(rec.errors[0].msg.rfind("Abort Script(", 0), 0u) << rec.errors[0].msg;
  }
  EXPECT_TRUE(held);
  EXPECT_FALSE(host.Engine().HoldsEvents());
  EXPECT_EQ(rec.out, "");
  host.SetPoll(nullptr);
  rec.errors.clear();
  EXPECT_EQ(CompileAndRun(host, "for (var i = 0; i < 100000; i++) ;\nprintln(i);"), 0);
  EXPECT_EQ(rec.out, "100000\r\n");
  EXPECT_TRUE(rec.errors.empty());
}

TEST(ScriptHost, RepeatedEvalOfOneTextInALoop) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  ASSERT_EQ(CompileAndRun(host, "var s = 0; for (var i = 0; i < 200; i++) s = s + eval(\"i * 2\"); print(s);"), 0);
  EXPECT_EQ(rec.out, "39800");
}

TEST(ScriptHost, ReturnedObjectsAreFreedAtTheirLastRelease) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  ASSERT_TRUE(host.Compile("function make() { return {a: 1}; }\nfor (var i = 0; i < 1000; i++) make();"));
  host.Run();
  // Only the arguments array of the run and the prototypes stay registered.
  EXPECT_LT(host.Engine().Factory().ObjectCount(), 10u);
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

TEST(ScriptHost, FunctionsOfAnEarlierCompileAreNotCalledAfterRecompiling) {
  TJHost host(RegisterBuiltins);
  Recorder rec(host);
  ASSERT_EQ(CompileAndRun(host, "function f() { print(\"old\"); }"), 0);
  Value fn;
  ASSERT_TRUE(host.Engine().GetGlobalVariable("f", fn));
  ASSERT_TRUE(host.Compile("var a = 1;"));
  Value result;
  host.Engine().CallValue(fn, nullptr, result, nullptr);
  EXPECT_EQ(rec.out, "");
  EXPECT_EQ(result.type(), vtUndefined);
}

}  // namespace
}  // namespace kestrin::script
