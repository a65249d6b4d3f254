// The statement half of the interpreter: statement chains, declarations and control
// flow. Break, continue and return travel as completion codes; script errors, abort and
// exit as C++ exceptions.
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
    case stDeclItem: ExecDeclItem(s, flags); return Completion::Normal;
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

Completion TJEngine::ExecExpr(const TJStatement* s) {
  Evaluate(s->Expr);
  return Completion::Normal;
}

// An else-if chain runs in this loop, each if of it stepped as the statement it is, so
// that its length costs no stack.
Completion TJEngine::ExecIf(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  for (;;) {
    bool c = ValueToBool(Evaluate(s->Expr));
    const TJStatement* branch = c ? s->Sub1() : s->Sub2();
    if (!branch) return Completion::Normal;
    if (c || branch->Type != stIf || branch->Next) return Execute(branch, flags, sw);
    s = branch;
    Step(s);
  }
}

Completion TJEngine::ExecDefinition(const TJStatement* s) {
  Value fn = MakeFunctionValue(s, s->Type == stFunction ? ftScript : ftClass);
  if (s->Expr && s->Expr->Name) current_->DefineLocal(*s->Expr->Name, fn);
  return Completion::Normal;
}

Completion TJEngine::ExecThrow(const TJStatement* s) {
  Value v = Evaluate(s->Expr);
  if (v.type() == vtUndefined) v = Value::String("");
  thrown_value_ = std::move(v);
  return Completion::Throw;
}

void TJEngine::RaiseThrown() {
  Value v = std::move(thrown_value_);
  thrown_value_ = Value();
  RaiseError(ScriptError::Thrown, {}, &v);
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
  while (ValueToBool(Evaluate(s->Expr))) {
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
  } while (ValueToBool(Evaluate(s->Expr)));
  return Completion::Normal;
}

Completion TJEngine::ExecFor(const TJStatement* s) {
  const TJExpr* condition = s->Sub2() ? s->Sub2()->Expr : nullptr;
  const TJExpr* step = s->Sub2() && s->Sub2()->Next ? s->Sub2()->Next->Expr : nullptr;
  if (s->Expr) Evaluate(s->Expr);
  for (;;) {
    if (condition && !ValueToBool(Evaluate(condition))) break;
    Tick();
    Completion c = s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
    if (c == Completion::Break) break;
    if (c == Completion::Return || c == Completion::Throw) return c;
    if (step) Evaluate(step);
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

void TJEngine::ExecDeclItem(const TJStatement* s, unsigned flags) {
  const TJExpr* id = s->Expr;
  if (!id || !id->Name) return;
  Value v = id->Left ? Evaluate(id->Left) : Value::Integer(0);
  if (flags & efInVar) current_->DefineLocal(*id->Name, v);
  else if (flags & efInStatic) current_->DefineStatic(*id->Name, v);
  else current_->DefineGlobal(*id->Name, v);
}

Completion TJEngine::ExecReturn(const TJStatement* s) {
  Value v = Evaluate(s->Expr);
  IJFunction* f = v.function();
  if (f && f->func_type == ftScript) {
    // A returned function keeps a copy of the variables of the scope it leaves.
    Value copy = NewFunctionImpl();
    copy.function()->Assign(*f);
    if (!copy.function()->ClosureTable())
      copy.function()->SetClosureTable(std::make_unique<TJLocalSymbolTable>(nullptr));
    copy.function()->ClosureTable()->CopyVariables(*current_);
    v = std::move(copy);
  }
  return_value_ = std::move(v);
  return Completion::Return;
}

// The catch clause's variable is the thrown value for a script throw ("EThrow"), and the
// error name for every other script error.
Completion TJEngine::CatchThrown(const TJStatement* handler, const Value& caught, unsigned flags,
                                 SwitchContext* sw) {
  if (handler->Expr && handler->Expr->Name) current_->DefineLocal(*handler->Expr->Name, caught);
  return Execute(handler->Sub1(), flags, sw);
}

// A script throw arrives as a Throw completion, an error of the engine or a native as an
// EJRuntimeError; both are caught alike. The finally clause runs after either, and an
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
    Value caught = std::move(thrown_value_);
    thrown_value_ = Value();
    try {
      c = CatchThrown(handler, caught, flags, sw);
    } catch (...) {
      pending = std::current_exception();
    }
  }
  if (const TJStatement* fin = s->Sub3()) {
    Value kept_return = return_value_;
    Value kept_throw = thrown_value_;
    Completion f = Execute(fin->Sub1(), flags, sw);
    if (f != Completion::Normal) return f;  // an abrupt finally wins
    return_value_ = std::move(kept_return);
    thrown_value_ = std::move(kept_throw);
  }
  if (pending) std::rethrow_exception(pending);
  return c;
}

Completion TJEngine::ExecWith(const TJStatement* s, unsigned flags, SwitchContext* sw) {
  Value v = Evaluate(s->Expr);
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
    if (!CaseMatches(sw->discriminant, Evaluate(s->Expr))) return Completion::Normal;
    sw->matched = true;
  }
  return s->Sub1() ? Execute(s->Sub1(), efInLoop) : Completion::Normal;
}

}  // namespace kestrin::script
