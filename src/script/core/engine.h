// TJEngine: the tree-walking interpreter: compile, run with its event loop, eval, calls
// from the host, and the statement and expression evaluation behind them.
#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/wake_signal.h"
#include "script/core/ast.h"
#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/function.h"
#include "script/core/object.h"
#include "script/core/parser.h"
#include "script/core/scope.h"
#include "script/core/script_ui.h"
#include "script/core/singletons.h"
#include "script/core/stack_guard.h"
#include "script/core/value_list.h"

namespace kestrin::script {

class TJEngine;

// A library of script classes: registers them with the engine's class factory. The
// built-in objects are one library; each family of host objects is another.
using TJLibrary = void (*)(TJEngine& engine);

// Deepest script call nesting; deeper calls raise "ECallError" "stack overflow".
inline constexpr int kMaxCallDepth = 10000;

// How long a doEvents() of the script waits for a message when none is pending.
inline constexpr std::chrono::milliseconds kDoEventsWait{10};
// How long the event loop after the program waits for a message before it asks the
// host's OnDoEvents again: messages end the wait at once, so this only bounds how late
// an abort decided outside the message queue is seen.
inline constexpr std::chrono::milliseconds kEventLoopWait{50};

// How often a running program lets the host poll its windows (OnPoll): the clock is read
// once every kPollCountdown loop passes and calls, and the host is asked once
// kPollInterval has passed since it was last asked.
inline constexpr int32_t kPollCountdown = 1000;
inline constexpr std::chrono::milliseconds kPollInterval{50};

// Execution flags of statements.
enum ExecFlag : unsigned {
  efInVar = 1u << 0,     // declarations go to the local scope
  efInLoop = 1u << 1,    // break and continue are allowed
  efInStatic = 1u << 2,  // declarations go to the function's static scope
  efInGlobal = 1u << 3,  // declarations go to the global scope
};

// Evaluation flags of expressions.
enum EvalFlag : unsigned {
  evDeclaring = 1u << 0,  // an assignment to a plain name defines a local variable
  evDeleting = 1u << 1,   // a member access removes the member
};

// What a script function value knows of its definition, shared by its copies.
struct FunctionInfo {
  std::vector<StrRef> params;
  bool uses_arguments = false;  // the body itself (not nested functions) names `arguments`
  bool distinct_params = true;  // no parameter name repeats: each is added without a search
};

class TJEngine : public BaseEngine {
public:
  // `builtins` registers the built-in classes (Array among them) and the Global object.
  explicit TJEngine(TJLibrary builtins, void* host = nullptr);
  ~TJEngine() override;

  // BaseEngine.
  TJObjectFactory& Factory() override { return *factory_; }
  bool Running() const override { return running_; }
  bool HoldsEvents() const override { return polling_; }
  Value NewArray(const TJValueList& items) override;
  void CallFunction(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) override;
  bool FindFunction(const StrRef& name, Value& fn) override;
  // A new ActiveXObject over the interface when the class is registered, else the value.
  Value WrapDispatch(Dispatch* d) override;
  // A Date object (made through the class factory) for a local day count.
  Value NewDate(double days) override;

  // False while running, or when the source holds errors (reported first) or nothing.
  bool Compile(std::u32string source);
  // The same for valid UTF-8 text (IsStrictUtf8), read in place without a copy.
  bool CompileUtf8(std::string_view text);

private:
  // Parses what the parser was given: the shared body of Compile and CompileUtf8.
  bool CompileParserSource();

public:
  // Runs the compiled program (or `root`) with `args` as its arguments; the exit code,
  // the top-level return value as an integer, else 0. Nothing escapes: errors are
  // reported through OnStderr and OnError.
  int32_t Run(const TJStatement* root = nullptr, const TJValueList* args = nullptr);
  // Asks the host whether to go on, then processes the application's messages, first
  // waiting up to `wait` for one to arrive; false when the run is stopping.
  bool DoEvents(std::chrono::milliseconds wait = kDoEventsWait);
  // Ends a wait of DoEvents early; callable from any thread.
  void Wake() { wake_.Wake(); }
  // Forgets the objects, variables and state of the last run.
  void ResetRun();
  // The text + CR LF to OnStderr, then OnError with the current line.
  void ReportError(const std::string& msg);
  // Asks OnStdin for text; false when nobody answered.
  bool ReadStdin(std::string& text, int32_t count, bool line);
  void WriteStdout(std::string_view text) { if (OnStdout) OnStdout(text); }
  void WriteStderr(std::string_view text);
  void SetLexerTrace(std::function<void(const std::string&)> trace) { parser_.Lexer.OnTrace = std::move(trace); }

  // The eval of the Global object: `text` compiled as "return text;" and called in the
  // current scope. Parsed texts are cached, so repeated evals do not grow the tree.
  void Eval(std::string_view text, TJValueList* params, Value& result);
  // For host callbacks: a function is called, a string is run as eval text.
  void CallValue(const Value& v, TJValueList* params, Value& result, TJObject* self);
  bool GetGlobalVariable(const StrRef& name, Value& out);

  virtual void RegisterObjectClass(std::string_view name, ObjectConstructor create, bool has_global_instance = false);
  // The file of the running script (CP932, as the host set it); none for text compiled
  // from memory.
  virtual void GetScriptFileName(std::string& name) { name = script_file_name_; }
  void SetScriptFileName(std::string name) { script_file_name_ = std::move(name); }
  // The library file that `import` would open for `name`.
  virtual bool FindImportFile(const std::string& name, std::string& path) { return parser_.FindLibrary(name, path); }

  TJParser& Parser() { return parser_; }
  TJRootSymbolTable& RootTable() { return *root_; }
  TJLocalSymbolTable* CurrentTable() const { return current_; }
  // The Global object: `this` of the program and the owner of the global functions.
  TJObject* GlobalObject() const { return global_; }
  // Takes the Global object (the engine holds one count on it).
  void SetGlobal(GlobalSingleton* global);
  // The RegExp object of the engine, or nil when none was given; the engine holds one
  // count on it and binds it under "RegExp" in every run.
  RegExpSingleton* RegExp() const { return regexp_port_; }
  void SetRegExp(RegExpSingleton* regexp);
  // Takes the WScript object (one count held); bound under "WScript" in every run.
  void SetWScript(WScriptSingleton* wscript);
  // The user-interface services of the host (the default ones until it installs its own).
  ScriptUi& Ui() const { return *ui_; }
  void SetUi(ScriptUi* ui) { ui_ = ui ? ui : &DefaultScriptUi(); }
  void* Host() const { return host_; }
  int32_t Line() const { return line_; }
  bool Finished() const { return finished_; }
  bool Alive() const { return alive_; }

  // Events (each optional).
  std::function<void(std::string_view)> OnStdout;
  std::function<void(std::string_view)> OnStderr;
  std::function<void(TJObject&)> OnNewObject;
  std::function<void()> OnRun;
  std::function<void()> OnDone;
  std::function<void(bool& abort)> OnStep;
  std::function<void(std::string& text, bool& success, int32_t count, bool line)> OnStdin;
  std::function<void(int32_t line, std::string_view msg)> OnError;
  std::function<void(bool& abort)> OnDoEvents;
  // Asked about every kPollInterval of running time, between loop passes and at script
  // calls, so that a window stays responsive while a program computes without end: the
  // host lets its windows take their input and sets abort to stop the run, which then
  // ends as an abort from OnStep does. Without a handler nothing is asked.
  std::function<void(bool& abort)> OnPoll;
  // Processes the application's pending messages; when there are none it first waits up
  // to the given time for one (a firing timer is a message). False when the application
  // is terminating. Installed by the GUI; without it DoEvents waits for Wake or the time.
  std::function<bool(std::chrono::milliseconds wait)> MessagePump;

private:
  friend class ScopeSwitch;
  // Ends the run for an error that left the program or its event loop: exit gives its
  // code, anything else its report.
  void EndRun(std::exception_ptr error, int32_t& result);
  struct SwitchContext;

  // Statements (interp_statements.cpp).
  Completion Execute(const TJStatement* first, unsigned flags, SwitchContext* sw = nullptr);
  [[gnu::always_inline]] inline Completion ExecuteOne(const TJStatement* s, unsigned flags, SwitchContext* sw);
  void Step(const TJStatement* s);
  // A loop pass or a script call: counts down to the next look at the clock (Poll).
  void Tick() {
    if (--poll_countdown_ <= 0) Poll();
  }
  void Poll();
  Completion ExecModule(const TJStatement* s);
  Completion ExecExpr(const TJStatement* s);
  [[gnu::always_inline]] inline Completion ExecIf(const TJStatement* s, unsigned flags, SwitchContext* sw);
  Completion ExecDefinition(const TJStatement* s);
  Completion ExecThrow(const TJStatement* s);
  Completion CatchThrown(const TJStatement* handler, const Value& caught, unsigned flags, SwitchContext* sw);
  // A Throw completion leaving a function or the program: the script error it stands for.
  [[noreturn]] void RaiseThrown();
  // The pending Throw completion, saved while a finally clause runs.
  struct ThrownState {
    bool failing = false;
    ScriptError kind = ScriptError::Thrown;
    std::string message;
    Value value;
  };
  ThrownState SaveThrown();
  void RestoreThrown(ThrownState&& state);
  Completion ExecWhile(const TJStatement* s);
  Completion ExecDo(const TJStatement* s);
  Completion ExecFor(const TJStatement* s);
  Completion ExecForIn(const TJStatement* s);
  Completion ExecTry(const TJStatement* s, unsigned flags, SwitchContext* sw);
  Completion ExecWith(const TJStatement* s, unsigned flags, SwitchContext* sw);
  Completion ExecSwitch(const TJStatement* s);
  Completion ExecCase(const TJStatement* s, SwitchContext* sw);
  [[gnu::always_inline]] inline Completion ExecReturn(const TJStatement* s);
  [[gnu::noinline]] Value WithClosure(const IJFunction& f);
  Completion ExecDeclItem(const TJStatement* s, unsigned flags);
  bool CaseMatches(const Value& discriminant, const Value& label);

  // Raises "ECallError" "stack overflow" when this thread's stack is nearly used up.
  static void GuardStack() {
    if (StackExhausted()) RaiseError(ScriptError::StackOverflow);
  }

  // Expressions (interp_expressions.cpp).
  Value Evaluate(const TJExpr* e, unsigned flags = 0);
  Value ReadVariable(const TJExpr* id);
  [[gnu::noinline]] Value ReadVariableSlow(const TJExpr* id);
  void AssignName(const TJExpr* id, const Value& v, unsigned flags);
  Value EvalAssign(const TJExpr* e, unsigned flags);
  Value EvalCompound(const TJExpr* e);
  bool AppendInPlace(const TJExpr* target, const TJExpr* operand, Value& result);
  Value EvalIncDec(const TJExpr* e);
  Value EvalBinary(int code, const Value& l, const Value& r);
  Value EvalBinaryNode(const TJExpr* e);
  [[gnu::always_inline]] inline Value ApplyBinary(int code, const Value& l, const Value& r);
  Value EvalChain(const TJExpr* e);
  Value EvalCompare(int code, const Value& l, const Value& r);
  Value EvalCallNode(const TJExpr* e);
  Value EvalOther(const TJExpr* e, unsigned flags);
  Value EvalCompareNode(const TJExpr* e);
  Value EvalTypeof(const TJExpr* e);
  Value EvalObjectLiteral(const TJExpr* e);
  Value EvalArrayLiteral(const TJExpr* e);
  void StoreTo(const TJExpr* target, const Value& v, unsigned flags);
  Value MakeFunctionValue(const TJStatement* def, int func_type);

  // Errors as completions. An error of the interpreter is recorded by Fail and travels
  // out as a Throw completion: every evaluation that sees failing_ set returns at once
  // (its value is never read), statements return Completion::Throw, and a try statement
  // takes it as it takes the script's own throw. C++ exceptions remain for errors of
  // natives and operators, abort and exit; a Throw completion becomes one (RaiseThrown)
  // only where it leaves the interpreter for C++ code that called it.
  Value Fail(ScriptError kind, ErrorDetails details = {});
  // The value a catch clause sees: the thrown value, or the error name of an engine error.
  Value TakeCaught();

  // Calls and members (interp_calls.cpp).
  void BuildArguments(const TJExpr* list, TJValueList& out);
  Value CallOrIndex(const Value& callee, const TJExpr* args);
  Value IndexObject(TJObject* obj, const TJValueList& args);
  Value CallMethod(const TJExpr* e);
  Value GetMember(const Value& v, const StrRef& name, bool deleting);
  void SetMember(const Value& v, const StrRef& name, const Value& nv);
  // An indexed or method-call target (a[i], a.m[i]) with its object, this and indexes
  // evaluated once, so that a compound assignment or ++ reads and stores the same place.
  struct Place {
    Value holder;         // the object indexed, or the function called as a property
    Value wrapped;        // holds the object of a primitive that `self` points at
    TJObject* self = nullptr;
    TJValueList args;
  };
  Place ResolvePlace(const TJExpr* target);
  Value ReadPlace(Place& place);
  void WritePlace(Place& place, const Value& v);
  Value WrapPrimitive(const Value& v);
  bool CallStringNative(const Value& text, const StrRef& name, const TJExpr* args_expr, Value& result);
  void CallScript(IJFunction& fn, TJValueList* params, Value& result, TJObject* self);
  // CallFunction inside the interpreter: a script error of the callee stays a Throw
  // completion (failing_ set) instead of a C++ exception.
  void CallFunctionIn(IJFunction& fn, TJValueList* params, Value& result, TJObject* self);
  // A member read that records a missing name (MemberMissing or KeyMissing) with Fail.
  bool ReadMember(TJObject* obj, const StrRef& name, bool array_style, Value& out, const Value* param = nullptr);
  // Where a call's arguments are: a list, or a range of the argument stack.
  struct ArgumentSource {
    const TJValueList* list;
    size_t base;
    int32_t count;
    Value Get(const TJEngine& e, int32_t i) const;
  };
  // caller_holds_fn: the caller keeps a value of the function for the whole call, so the
  // call takes no count of its own.
  void RunScript(IJFunction& fn, const ArgumentSource& args, const Value& apply_array, Value& result,
                 TJObject* self, bool caller_holds_fn = false);
  // new Name(params): script functions, script classes, then factory classes.
  Value MakeObject(const StrRef& name, TJValueList* params);
  Value ApplyClass(IJFunction& cls, TJValueList* params, int depth);
  std::shared_ptr<const FunctionInfo> InfoFor(const TJStatement* def);
  TJFunctionSymbolTable* TableFor(const TJStatement* def);
  void RegisterGlobalInstances(TJGlobalSymbolTable* ns);

  void* host_;
  TJParser parser_;
  std::unique_ptr<TJObjectFactory> factory_;
  std::unique_ptr<TJRootSymbolTable> root_;
  TJLocalSymbolTable* current_ = nullptr;
  TJObject* global_ = nullptr;  // one count held
  GlobalSingleton* global_port_ = nullptr;
  Value global_hold_;
  RegExpSingleton* regexp_port_ = nullptr;
  Value regexp_hold_;
  WScriptSingleton* wscript_port_ = nullptr;
  Value wscript_hold_;
  std::string script_file_name_;
  ScriptUi* ui_ = &DefaultScriptUi();
  ObjectConstructor new_array_ = nullptr;  // the registered Array class
  kestrin::WakeSignal wake_;
  std::vector<Value> global_instances_;
  int32_t line_ = -1;
  bool finished_ = false;
  bool running_ = false;
  bool alive_ = false;
  bool compiled_ = false;
  Value return_value_;  // the value of a Return completion
  // The pending Throw completion: its error kind (Thrown for the script's throw), the
  // message of an engine error and the thrown value (null for engine errors).
  bool failing_ = false;
  ScriptError thrown_kind_ = ScriptError::Thrown;
  std::string thrown_message_;
  Value thrown_value_;
  std::vector<Value> error_names_;  // the caught values of engine errors, by kind, made once
  std::vector<Value> arg_stack_;  // arguments of script calls being made
  Value string_wrapper_;          // the String object that method calls on primitive strings reuse
  int call_depth_ = 0;
  int32_t poll_countdown_ = kPollCountdown;
  bool polling_ = false;
  std::chrono::steady_clock::time_point last_poll_{};
  int next_table_id_ = 0;
  std::unordered_map<const TJStatement*, TJFunctionSymbolTable*> tables_;
  std::unordered_map<const TJStatement*, std::shared_ptr<const FunctionInfo>> infos_;
  std::unordered_map<const TJStatement*, TJGlobalSymbolTable*> module_tables_;
  std::unordered_map<std::string, const TJStatement*> eval_cache_;
  TJGlobalSymbolTable* main_table_ = nullptr;
};

// Sets the engine's current scope and restores the previous one on every exit.
class ScopeSwitch {
public:
  ScopeSwitch(TJEngine& e, TJLocalSymbolTable* t) : e_(e), saved_(e.current_) { e.current_ = t; }
  ~ScopeSwitch() { e_.current_ = saved_; }
  ScopeSwitch(const ScopeSwitch&) = delete;
  ScopeSwitch& operator=(const ScopeSwitch&) = delete;

private:
  TJEngine& e_;
  TJLocalSymbolTable* saved_;
};

}  // namespace kestrin::script
