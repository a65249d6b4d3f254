// The statement half of the interpreter: statement chains, declarations and control
// flow. Break, continue, return, the script's throw and the interpreter's own errors
// travel as completion codes; errors of natives, abort and exit as C++ exceptions.
#include <exception>

#include "script/core/dispatch.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/operators.h"
#include "script/core/stack_guard.h"

namespace kestrin::script {

struct TJEngine::SwitchContext {
  bool matched = false;
  const TJStatement* default_clause = nullptr;
  Value discriminant;
};

void TJEngine::Step(const TJStatement* s) {
  line_ = s->Line;
  if (OnStep) {
    bool abort = false;
    OnStep(abort);
    if (abort) throw EJAbort("script abort");
  }
}

void TJEngine::Poll() {
  poll_countdown_ = kPollCountdown;
  if (!OnPoll) return;
  if (std::chrono::steady_clock::now() - last_poll_ < kPollInterval) return;
  bool abort = false;
  // No script code runs inside the poll (events are held), so polls never nest.
  polling_ = true;
  try {
    OnPoll(abort);
  } catch (...) {
    polling_ = false;
    throw;
  }
  polling_ = false;
  last_poll_ = std::chrono::steady_clock::now();
  if (abort) throw EJAbort("script abort");
}

Completion TJEngine::ExecReturn(const TJStatement* s) {
  const TJExpr* e = s->Expr;
  Value v = e && e->Code == ecIdentifier ? ReadVariable(e) : Evaluate(e);
  if (failing_) return Completion::Throw;
  IJFunction* f = v.raw_type() == vtFunction ? v.function() : nullptr;
  if (f && f->func_type == ftScript) v = WithClosure(*f);
  return_value_.Swap(v);  // v takes the empty value that return_value_ held
  return Completion::Return;
}

// A returned function keeps a copy of the variables of the scope it leaves.
Value TJEngine::WithClosure(const IJFunction& f) {
  Value copy = NewFunctionImpl();
  copy.function()->Assign(f);
  if (!copy.function()->ClosureTable())
    copy.function()->SetClosureTable(std::make_unique<TJLocalSymbolTable>(nullptr));
  copy.function()->ClosureTable()->CopyVariables(*current_);
  return copy;
}

// An else-if chain runs in this loop, each if of it stepped as the statement it is, so
// that its length costs no stack.
Completion TJEngine::ExecIf(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  for (;;) {
    Value condition = Evaluate(s->Expr);
    if (failing_) return Completion::Throw;
    bool c = condition.raw_type() == vtBool ? condition.boolean() : ValueToBool(condition);
    const TJStatement* branch = c ? s->Sub1() : s->Sub2();
    if (!branch) return Completion::Normal;
    if (c || branch->Type != stIf || branch->Next) return Execute(branch, flags, sw);
    s = branch;
    Step(s);
  }
}

Completion TJEngine::ExecuteOne(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  switch (s->Type) {
    case stModule: return ExecModule(s);
    case stBlock: return Execute(s->Sub1(), flags, sw);
    case stExpr: return ExecExpr(s);
    case stIf: return ExecIf(s, flags, sw);
    case stWhile: return ExecWhile(s);
    case stDo: return ExecDo(s);
    case stFor: return ExecFor(s);
    case stForIn:
    case stForInValues: return ExecForIn(s);
    case stFunction:
    case stClass: return ExecDefinition(s);
    case stDeclItem: return ExecDeclItem(s, flags);
    case stBreak:
      if (!(flags & efInLoop)) RaiseError(ScriptError::Break);
      return Completion::Break;
    case stContinue:
      if (!(flags & efInLoop)) RaiseError(ScriptError::Continue);
      return Completion::Continue;
    case stReturn: return ExecReturn(s);
    case stTry: return ExecTry(s, flags, sw);
    case stThrow: return ExecThrow(s);
    case stWith: return ExecWith(s, flags, sw);
    case stVar: return Execute(s->Sub1(), flags | efInVar, sw);
    case stStatic: return Execute(s->Sub1(), flags | efInStatic, sw);
    case stGlobal: return Execute(s->Sub1(), flags | efInGlobal, sw);
    case stSwitch: return ExecSwitch(s);
    case stCase: return ExecCase(s, sw);
    default: return Completion::Normal;  // empty, parameter, catch and finally clauses
  }
}

Completion TJEngine::Execute(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  GuardStack();
  for (; s; s = s->Next) {
    Step(s);
    Completion c = ExecuteOne(s, flags, sw);
    if (current_->TemporaryCount()) current_->ClearTemporaries();
    if (c != Completion::Normal) return c;
  }
  return Completion::Normal;
}

Completion TJEngine::ExecExpr(const TJStatement* s) {
  Evaluate(s->Expr);
  return failing_ ? Completion::Throw : Completion::Normal;
}

Completion TJEngine::ExecDefinition(const TJStatement* s) {
  Value fn = MakeFunctionValue(s, s->Type == stFunction ? ftScript : ftClass);
  if (s->Expr && s->Expr->Name) current_->DefineLocal(*s->Expr->Name, fn);
  return Completion::Normal;
}

Completion TJEngine::ExecThrow(const TJStatement* s) {
  Value v = Evaluate(s->Expr);
  if (failing_) return Completion::Throw;
  if (v.type() == vtUndefined) v = Value::String("");
  thrown_kind_ = ScriptError::Thrown;
  thrown_message_.clear();
  thrown_value_ = std::move(v);
  failing_ = true;
  return Completion::Throw;
}

// The same record as RaiseError makes, so a caller outside sees what it always saw.
Value TJEngine::Fail(ScriptError kind, ErrorDetails details) {
  thrown_kind_ = kind;
  thrown_message_ = ErrorText(kind, details);
  thrown_value_ = Value::Null();
  failing_ = true;
  return Value();
}

// The engine's error names as values, made once: a caught error costs no allocation.
Value TJEngine::TakeCaught() {
  failing_ = false;
  Value v = std::move(thrown_value_);
  thrown_value_ = Value();
  if (thrown_kind_ == ScriptError::Thrown) return v;
  size_t k = static_cast<size_t>(thrown_kind_);
  if (error_names_.size() <= k) error_names_.resize(k + 1);
  if (error_names_[k].raw_type() != vtString) error_names_[k] = Value::String(StrRef(ErrorName(thrown_kind_)));
  return error_names_[k];
}

void TJEngine::RaiseThrown() {
  failing_ = false;
  Value v = std::move(thrown_value_);
  thrown_value_ = Value();
  throw EJThrow(std::string(ErrorName(thrown_kind_)), std::move(thrown_message_), &v);
}

TJEngine::ThrownState TJEngine::SaveThrown() {
  ThrownState state{failing_, thrown_kind_, std::move(thrown_message_), std::move(thrown_value_)};
  failing_ = false;
  thrown_message_.clear();
  thrown_value_ = Value();
  return state;
}

void TJEngine::RestoreThrown(ThrownState&& state) {
  failing_ = state.failing;
  thrown_kind_ = state.kind;
  thrown_message_ = std::move(state.message);
  thrown_value_ = std::move(state.value);
}

Completion TJEngine::ExecModule(const TJStatement* s) {
  std::string name = s->Expr && s->Expr->Name ? s->Expr->Name->str() : std::string("__MAIN__");
  TJGlobalSymbolTable* ns = root_->AddNamespace(name, ++next_table_id_);
  module_tables_[s] = ns;
  if (!main_table_ && !s->Expr) main_table_ = ns;
  ns->SetThis(global_);
  Value fn = NewFunctionImpl();
  IJFunction* f = fn.function();
  f->name = StrRef(name);
  f->func_type = ftNamespace;
  f->definition = s;
  f->SetSymbolTable(ns);
  RegisterGlobalInstances(ns);
  root_->DefineLocal(StrRef(name), fn);
  ScopeSwitch scope(*this, ns);
  Completion c = Execute(s->Sub1(), 0);
  if (c == Completion::Break || c == Completion::Continue)
    RaiseError(c == Completion::Break ? ScriptError::Break : ScriptError::Continue);
  return c;  // Return and Throw go on to the program's end
}

Completion TJEngine::ExecWhile(const TJStatement* s) {
  for (;;) {
    Value condition = Evaluate(s->Expr);
    if (failing_) return Completion::Throw;
    if (!ValueToBool(condition)) break;
    Tick();
    Completion c = s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
    if (c == Completion::Break) break;
    if (c == Completion::Return || c == Completion::Throw) return c;
  }
  return Completion::Normal;
}

Completion TJEngine::ExecDo(const TJStatement* s) {
  do {
    Tick();
    Completion c = s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
    if (c == Completion::Break) break;
    if (c == Completion::Return || c == Completion::Throw) return c;
    Value condition = Evaluate(s->Expr);
    if (failing_) return Completion::Throw;
    if (!ValueToBool(condition)) break;
  } while (true);
  return Completion::Normal;
}

Completion TJEngine::ExecFor(const TJStatement* s) {
  const TJExpr* condition = s->Sub2() ? s->Sub2()->Expr : nullptr;
  const TJExpr* step = s->Sub2() && s->Sub2()->Next ? s->Sub2()->Next->Expr : nullptr;
  if (s->Expr) Evaluate(s->Expr);
  if (failing_) return Completion::Throw;
  for (;;) {
    if (condition) {
      Value go_on = Evaluate(condition);
      if (failing_) return Completion::Throw;
      if (!ValueToBool(go_on)) break;
    }
    Tick();
    Completion c = s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
    if (c == Completion::Break) break;
    if (c == Completion::Return || c == Completion::Throw) return c;
    if (step) Evaluate(step);
    if (failing_) return Completion::Throw;
  }
  return Completion::Normal;
}

Completion TJEngine::ExecForIn(const TJStatement* s) {
  const TJExpr* var = s->Expr;
  if (var && var->Code == ecVarDecl && var->Left && var->Left->Code == ecIdentifier) {
    current_->DefineLocal(*var->Left->Name, Value());
    var = var->Left;
  }
  if (!var || var->Code != ecIdentifier) RaiseError(ScriptError::ForInVariable);
  // The collection is held by this value for the whole loop.
  Value collection = Evaluate(s->Sub2() ? s->Sub2()->Expr : nullptr);
  if (failing_) return Completion::Throw;
  TJObject* obj = collection.object();
  auto body = [&](const Value& item) {
    Tick();
    current_->AssignVariable(*var->Name, item, 0);
    return s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
  };
  if (!(obj && obj->IsCollection()) && IsActiveXCollection(collection)) {
    // An automation collection: the Enumerator made over it hands out the items.
    TJValueList p{collection};
    Value holder = factory_->Create("Enumerator", &p);
    auto* items = dynamic_cast<ItemEnumerator*>(holder.object());
    if (!items) RaiseError(ScriptError::EnumeratorCreate);
    for (; !items->AtEnd(); items->MoveNext()) {
      Completion c = body(items->GetCurrentItem());
      if (c == Completion::Break) break;
      if (c == Completion::Return || c == Completion::Throw) return c;
    }
    return Completion::Normal;
  }
  if (!obj) RaiseError(ScriptError::ForInObject);
  if (obj->IsCollection()) {
    for (int32_t i = 0; i < obj->GetCount(); ++i) {
      Value item;
      if (s->Type == stForInValues) obj->GetItem(i, item);
      else item = Value::Integer(i);
      Completion c = body(item);
      if (c == Completion::Break) break;
      if (c == Completion::Return || c == Completion::Throw) return c;
    }
    return Completion::Normal;
  }
  std::vector<StrRef> names;
  obj->GetPropertyNames(names);
  for (const StrRef& name : names) {
    Completion c = body(Value::String(name));
    if (c == Completion::Break) break;
    if (c == Completion::Return || c == Completion::Throw) return c;
  }
  return Completion::Normal;
}

Completion TJEngine::ExecDeclItem(const TJStatement* s, unsigned flags) {
  const TJExpr* id = s->Expr;
  if (!id || !id->Name) return Completion::Normal;
  Value v = id->Left ? Evaluate(id->Left) : Value::Integer(0);
  if (failing_) return Completion::Throw;
  if (flags & efInVar) current_->DefineLocal(*id->Name, v);
  else if (flags & efInStatic) current_->DefineStatic(*id->Name, v);
  else current_->DefineGlobal(*id->Name, v);
  return Completion::Normal;
}


// The catch clause's variable is the thrown value for a script throw ("EThrow"), and the
// error name for every other script error.
Completion TJEngine::CatchThrown(const TJStatement* handler, const Value& caught, unsigned flags,
                                 SwitchContext* sw) {
  if (handler->Expr && handler->Expr->Name) current_->DefineLocal(*handler->Expr->Name, caught);
  return Execute(handler->Sub1(), flags, sw);
}

// A script throw and an error of the interpreter arrive as a Throw completion, an error
// of a native as an EJRuntimeError; both are caught alike. The finally clause runs after either, and an
// abrupt finally (break, continue, return, throw) wins over what was pending.
Completion TJEngine::ExecTry(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  Completion c = Completion::Normal;
  std::exception_ptr pending;
  const TJStatement* handler = s->Sub2();
  try {
    c = Execute(s->Sub1(), flags, sw);
  } catch (const EJRuntimeError& e) {
    if (!handler) {
      pending = std::current_exception();
    } else {
      try {
        c = CatchThrown(handler, e.error_name == "EThrow" ? e.value : Value::String(e.error_name), flags, sw);
      } catch (...) {
        pending = std::current_exception();
      }
    }
    handler = nullptr;
  } catch (...) {
    pending = std::current_exception();
  }
  if (c == Completion::Throw && handler) {
    Value caught = TakeCaught();
    try {
      c = CatchThrown(handler, caught, flags, sw);
    } catch (...) {
      pending = std::current_exception();
    }
  }
  if (const TJStatement* fin = s->Sub3()) {
    Value kept_return = return_value_;
    ThrownState kept_throw = SaveThrown();
    Completion f = Execute(fin->Sub1(), flags, sw);
    if (f != Completion::Normal) return f;  // an abrupt finally wins
    return_value_ = std::move(kept_return);
    RestoreThrown(std::move(kept_throw));
  }
  if (pending) std::rethrow_exception(pending);
  return c;
}

Completion TJEngine::ExecWith(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  Value v = Evaluate(s->Expr);
  if (failing_) return Completion::Throw;
  TJObject* obj = v.object();
  if (!obj) RaiseError(ScriptError::WithObject);
  TJLocalSymbolTable* parent = current_;
  TJLocalSymbolTable* scope = parent->NewChild(nullptr, obj);
  struct Pop {
    TJLocalSymbolTable* parent;
    ~Pop() { parent->PopChild(); }
  } pop{parent};
  ScopeSwitch switch_scope(*this, scope);
  return s->Sub1() ? Execute(s->Sub1(), flags, sw) : Completion::Normal;
}

bool TJEngine::CaseMatches(const Value& d, const Value& label) {
  if (label.type() == vtRegExp || ValueIsRegExpObject(label)) {
    if (!regexp_port_) RaiseError(ScriptError::RegExpCase);
    return regexp_port_->CaseTest(label, d);
  }
  return LooseEquals(d, label);
}

Completion TJEngine::ExecSwitch(const TJStatement* s) {
  SwitchContext ctx;
  ctx.discriminant = Evaluate(s->Expr);
  if (failing_) return Completion::Throw;
  Completion c = Execute(s->Sub1(), efInLoop, &ctx);
  if (c == Completion::Normal && !ctx.matched && ctx.default_clause) {
    ctx.matched = true;
    c = Execute(ctx.default_clause, efInLoop, &ctx);
  }
  return c == Completion::Break ? Completion::Normal : c;
}

Completion TJEngine::ExecCase(const TJStatement* s, SwitchContext* sw) {
  if (!sw) RaiseError(ScriptError::CaseOutsideSwitch);
  if (!sw->matched) {
    if (!s->Expr) {
      if (!sw->default_clause) sw->default_clause = s;
      return Completion::Normal;
    }
    Value label = Evaluate(s->Expr);
    if (failing_) return Completion::Throw;
    if (!CaseMatches(sw->discriminant, label)) return Completion::Normal;
    sw->matched = true;
  }
  return s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
}

}  // namespace kestrin::script
