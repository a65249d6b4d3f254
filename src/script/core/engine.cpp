// TJEngine: construction, compile, run with error reporting and the event loop, message
// pumping, eval with its cache of parsed texts, and the host's entry points.
#include "script/core/engine.h"
#include "script/core/error_table.h"

#include "base/time_zone.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <typeinfo>


namespace kestrin::script {
namespace {

std::string ExecutableDir() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

std::string CurrentDir() {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  return ec ? std::string() : cwd.string();
}

// Removes the folders that Compile added to the library path, whatever happens.
class LibraryDirs {
public:
  explicit LibraryDirs(std::vector<std::string>& path) : path_(path), size_(path.size()) {
    path_.push_back(ExecutableDir());
    path_.push_back(CurrentDir());
  }
  ~LibraryDirs() { path_.resize(size_); }
  LibraryDirs(const LibraryDirs&) = delete;
  LibraryDirs& operator=(const LibraryDirs&) = delete;

private:
  std::vector<std::string>& path_;
  size_t size_;
};

// The Global object of an engine built without the built-in list: no functions, only the
// arguments and the stop flag.
class PlainGlobal : public TJObject, public GlobalSingleton {
public:
  explicit PlainGlobal(BaseEngine* engine) : TJObject(engine) { SetObjectName("Global"); }
  TJObject& Object() override { return *this; }
  void BeginRun(const Value& arguments) override {
    arguments_ = arguments;
    terminated_ = true;
  }
  bool Terminated() const override { return terminated_; }
  void Reset() override {
    Clear();
    arguments_ = Value();
    terminated_ = true;
  }

private:
  Value arguments_;
  bool terminated_ = true;
};

// Marks the engine as running for the lifetime of one Run.
class RunningFlag {
public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

private:
  bool& flag_;
};

}  // namespace

TJEngine::TJEngine(TJLibrary builtins, void* host)
    : host_(host), factory_(std::make_unique<TJObjectFactory>(this)), root_(std::make_unique<TJRootSymbolTable>()) {
  current_ = root_.get();
  factory_->OnNewObject = [this](TJObjectFactory&, TJObject& obj) {
    if (OnNewObject) OnNewObject(obj);
  };
  builtins(*this);
  if (const ClassCell* array = factory_->FindClass("Array")) new_array_ = array->create;
  if (!global_) SetGlobal(new PlainGlobal(this));
}

void TJEngine::SetGlobal(GlobalSingleton* global) {
  global_port_ = global;
  global_ = &global->Object();
  global_hold_ = Value::Object(global_);
}

void TJEngine::SetRegExp(RegExpSingleton* regexp) {
  regexp_port_ = regexp;
  regexp_hold_ = Value::Object(regexp ? &regexp->Object() : nullptr);
}

void TJEngine::SetWScript(WScriptSingleton* wscript) {
  wscript_port_ = wscript;
  wscript_hold_ = Value::Object(&wscript->Object());
}

TJEngine::~TJEngine() {
  ResetRun();
  regexp_port_ = nullptr;
  regexp_hold_ = Value();
  global_port_ = nullptr;
  global_hold_ = Value();
  wscript_port_ = nullptr;
  wscript_hold_ = Value();
  global_ = nullptr;
  root_.reset();
  factory_.reset();
}

void TJEngine::RegisterObjectClass(std::string_view name, ObjectConstructor create, bool has_global_instance) {
  factory_->AddClass(name, create, has_global_instance);
}

Value TJEngine::NewArray(const TJValueList& items) {
  TJObject* a = new_array_ ? new_array_(this, nullptr) : nullptr;
  if (!a || !a->ListItems()) {
    delete a;
    RaiseError(ScriptError::NoArrayClass);
  }
  Value v = Value::Object(a);
  a->ListItems()->Assign(&items);
  factory_->Register(a);
  return v;
}

Value TJEngine::NewDate(double days) {
  // The Date class takes milliseconds since 1970 UTC; the day count is a local reading.
  const std::optional<int64_t> local = kestrin::DayCountToMs(days);
  const double ms = local ? static_cast<double>(kestrin::LocalToUtcMs(*local - kestrin::kUnixEpochMs))
                          : (days - static_cast<double>(kestrin::kUnixEpochDays)) * static_cast<double>(kestrin::kMsPerDay);
  TJValueList params{Value::Double(ms)};
  return factory_->Create("Date", &params);
}

bool TJEngine::FindFunction(const StrRef& name, Value& fn) {
  Value v;
  if (!current_ || !current_->GetVariable(name, v) || !v.function()) return false;
  fn = std::move(v);
  return true;
}

Value TJEngine::WrapDispatch(Dispatch* d) {
  Value disp = Value::Disp(d);
  if (!d || !factory_->HasClass("ActiveXObject")) return disp;
  TJValueList p{disp};
  Value wrapped = factory_->Create("ActiveXObject", &p);
  return wrapped.object() ? wrapped : disp;
}

bool TJEngine::GetGlobalVariable(const StrRef& name, Value& out) {
  return current_ && current_->GetVariable(name, out);
}

void TJEngine::WriteStderr(std::string_view text) {
  if (OnStderr) OnStderr(text);
}

void TJEngine::ReportError(const std::string& msg) {
  WriteStderr(msg + "\r\n");
  if (OnError) OnError(line_, msg);
}

bool TJEngine::ReadStdin(std::string& text, int32_t count, bool line) {
  bool success = false;
  if (OnStdin) OnStdin(text, success, count, line);
  return success;
}

void TJEngine::ResetRun() {
  alive_ = false;
  finished_ = false;
  if (global_port_) global_port_->Reset();  // members a script gave it go with its run
  if (regexp_port_) regexp_port_->Reset();
  if (wscript_port_) wscript_port_->Reset();
  global_instances_.clear();
  string_wrapper_ = Value();
  return_value_ = Value();
  thrown_value_ = Value();
  thrown_message_.clear();
  failing_ = false;
  current_ = root_.get();
  tables_.clear();
  module_tables_.clear();
  main_table_ = nullptr;
  root_->Clear();
  factory_->Clear();
  // The Global object lives through every clear; the factory does not keep it.
  line_ = -1;
}

bool TJEngine::Compile(std::u32string source) {
  if (running_) return false;
  parser_.Source = std::move(source);
  return CompileParserSource();
}

bool TJEngine::CompileUtf8(std::string_view text) {
  if (running_) return false;
  parser_.Utf8Source = text;
  return CompileParserSource();
}

bool TJEngine::CompileParserSource() {
  // The new parse frees the old tree: the last run's functions, which point into it,
  // go first.
  ResetRun();
  finished_ = false;
  compiled_ = false;
  eval_cache_.clear();
  infos_.clear();
  tables_.clear();
  LibraryDirs dirs(parser_.LibraryPath);
  try {
    compiled_ = parser_.Parse(nullptr);
  } catch (const EJSyntaxError& e) {
    line_ = e.line_no;
    ReportError("SyntaxError: Line(" + std::to_string(e.line_no) + ") => " + e.Message());
  } catch (const EJRuntimeError& e) {
    ReportError("Exception: " + e.error_name + " => " + e.Message());
  } catch (const std::exception& e) {
    ReportError(std::string("Exception: ESystemError => ") + e.what());
  }
  return compiled_;
}

int32_t TJEngine::Run(const TJStatement* root, const TJValueList* args) {
  if (running_) return 0;
  if (!root) root = compiled_ ? parser_.Root : nullptr;
  if (!root) return 0;
  RunningFlag running(running_);
  int32_t result = 0;
  try {
    ResetRun();
    alive_ = true;
    TJValueList copy;
    if (args) copy.Assign(args);
    const Value arguments = NewArray(copy);
    global_port_->BeginRun(arguments);
    if (wscript_port_) wscript_port_->BeginRun(arguments);
    if (OnRun) OnRun();
    call_depth_ = 0;
    current_ = root_.get();
    Completion c = Execute(root, 0);
    finished_ = true;
    if (main_table_) current_ = main_table_;
    if (c == Completion::Return) result = ValueToInteger(return_value_);
    else if (c == Completion::Throw) RaiseThrown();
    else if (c != Completion::Normal) RaiseError(c == Completion::Break ? ScriptError::Break : ScriptError::Continue);
    return_value_ = Value();
  } catch (...) {
    EndRun(std::current_exception(), result);
  }
  if (main_table_) current_ = main_table_;
  try {
    // The program asked for its events (eventLoop()): each pass waits for messages.
    while (alive_ && !global_port_->Terminated() && DoEvents(kEventLoopWait)) {
    }
  } catch (...) {
    // An error of an event handler that the message pump raised, exit in a handler, or an
    // abort: the same ends as in the program.
    EndRun(std::current_exception(), result);
  }
  try {
    if (OnDone) OnDone();
  } catch (...) {
  }
  return result;
}

void TJEngine::EndRun(std::exception_ptr error, int32_t& result) {
  try {
    std::rethrow_exception(error);
  } catch (const EJExit& e) {
    finished_ = true;
    result = e.exit_code;
  } catch (const EJSyntaxError& e) {
    alive_ = false;
    ReportError("SyntaxError: Line(" + std::to_string(line_) + ") => " + e.Message());
  } catch (const EJRuntimeError& e) {
    alive_ = false;
    ReportError("Exception: " + e.error_name + "(" + std::to_string(line_) + ") => " + e.Message());
  } catch (const EJLibraryError& e) {
    alive_ = false;
    ReportError("Exception: " + e.error_name + "(" + std::to_string(line_) + ") => " + e.Message());
  } catch (const EJAbort&) {
    alive_ = false;
    ReportError("Abort Script(" + std::to_string(line_) + ")");
  } catch (const std::exception& e) {
    alive_ = false;
    ReportError("Exception: ESystemError(" + std::to_string(line_) + ") => " + e.what());
  } catch (...) {
    alive_ = false;
    ReportError("Exception: ESystemError(" + std::to_string(line_) + ") => unknown error");
  }
}

bool TJEngine::DoEvents(std::chrono::milliseconds wait) {
  if (!running_ || !alive_) return false;
  if (OnDoEvents) {
    bool abort = false;
    OnDoEvents(abort);
    if (abort) return false;
  }
  if (MessagePump) return MessagePump(wait);
  wake_.WaitFor(wait);
  return true;
}

void TJEngine::Eval(std::string_view text, TJValueList* params, Value& result) {
  result = Value();
  std::string key(text);
  const TJStatement* def = nullptr;
  auto it = eval_cache_.find(key);
  if (it != eval_cache_.end()) {
    def = it->second;
  } else {
    TJExpr* literal = parser_.ParseEval(text);
    def = literal && literal->Code == ecFunction ? literal->Statement : nullptr;
    eval_cache_.emplace(std::move(key), def);
  }
  if (!def) return;
  // The text sees the caller's variables: its table hangs below the current scope for
  // the call, and goes back where it was afterwards (an eval inside an eval).
  TJFunctionSymbolTable* table = TableFor(def);
  TJLocalSymbolTable* previous = table->Parent();
  WeakPtr<TJLocalSymbolTable> saved(previous ? previous->WeakHandle() : nullptr);
  table->SetParent(current_);
  Value fn = MakeFunctionValue(def, ftScript);
  int32_t line = line_;
  try {
    CallFunction(*fn.function(), params, result, nullptr);
  } catch (...) {
    table->SetParent(saved.get());
    line_ = line;
    throw;
  }
  table->SetParent(saved.get());
  line_ = line;
}

void TJEngine::CallValue(const Value& v, TJValueList* params, Value& result, TJObject* self) {
  result = Value();
  if (IJFunction* f = v.function()) {
    Value hold = v;
    CallFunction(*f, params, result, self);
  } else if (v.type() == vtString) {
    Eval(v.text(), params, result);
  }
}

void TJEngine::RegisterGlobalInstances(TJGlobalSymbolTable* ns) {
  for (const std::string& name : factory_->GetClassNames()) {
    const ClassCell* cell = factory_->FindClass(name);
    if (!cell || !cell->has_global_instance || !cell->create) continue;
    Value obj = factory_->Create(name, nullptr);
    global_instances_.push_back(obj);
    ns->DefineLocal(StrRef(name), obj);
  }
  ns->DefineLocal("Global", global_hold_);
  if (regexp_port_) ns->DefineLocal("RegExp", regexp_hold_);
  if (wscript_port_) ns->DefineLocal("WScript", wscript_hold_);
}

std::shared_ptr<const FunctionInfo> TJEngine::InfoFor(const TJStatement* def) {
  auto it = infos_.find(def);
  if (it != infos_.end()) return it->second;
  auto info = std::make_shared<FunctionInfo>();
  for (const TJStatement* p = def->Sub1(); p; p = p->Next)
    if (p->Expr && p->Expr->Name) {
      if (std::find(info->params.begin(), info->params.end(), *p->Expr->Name) != info->params.end())
        info->distinct_params = false;
      info->params.push_back(*p->Expr->Name);
    }
  // Does the body name `arguments` outside nested functions?
  std::vector<const TJExpr*> exprs;
  std::vector<const TJStatement*> stmts{def->Sub2()};
  while (!stmts.empty() && !info->uses_arguments) {
    const TJStatement* s = stmts.back();
    stmts.pop_back();
    for (; s; s = s->Next) {
      if (s->Type == stFunction || s->Type == stClass) continue;
      exprs.push_back(s->Expr);
      for (const TJStatement* sub : {s->Sub1(), s->Sub2(), s->Sub3()})
        if (sub) stmts.push_back(sub);
    }
    while (!exprs.empty()) {
      const TJExpr* e = exprs.back();
      exprs.pop_back();
      if (!e || e->Code == ecFunction) continue;
      if (e->Code == ecIdentifier && e->Name->view() == "arguments") info->uses_arguments = true;
      exprs.push_back(e->Left);
      exprs.push_back(e->Right);
      if (e->Code == ecConditional || e->Code == ecMethodCall) exprs.push_back(e->Third);
    }
  }
  infos_.emplace(def, info);
  return info;
}

TJFunctionSymbolTable* TJEngine::TableFor(const TJStatement* def) {
  auto it = tables_.find(def);
  if (it != tables_.end()) return it->second;
  TJLocalSymbolTable* parent = current_;
  if (const TJStatement* outer = def->Sub3()) {
    if (outer->Type == stModule) {
      auto m = module_tables_.find(outer);
      if (m != module_tables_.end()) parent = m->second;
      else if (TJGlobalSymbolTable* g = current_->FindGlobalTable()) parent = g;
    } else {
      parent = TableFor(outer);
    }
  }
  TJFunctionSymbolTable* table = root_->GetFunctionTable(-1, ++next_table_id_);
  table->SetParent(parent);
  tables_.emplace(def, table);
  return table;
}

}  // namespace kestrin::script
