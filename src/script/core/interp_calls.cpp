// Calls and members: argument lists (last argument first), calls by function kind with
// this binding, call/apply and arguments, indexing, members of objects and primitives,
// and object creation with new. Errors found here are recorded with Fail and travel as
// Throw completions; a script error of a callee does too, except through CallFunction,
// the entry of C++ callers, which raises it.
#include <algorithm>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/published.h"
#include "script/core/stack_guard.h"

namespace kestrin::script {
namespace {

// What a script function value carries of its definition.
class ScriptFunctionExtra : public FunctionExtra {
public:
  explicit ScriptFunctionExtra(std::shared_ptr<const FunctionInfo> info) : info(std::move(info)) {}
  std::unique_ptr<FunctionExtra> Clone() const override { return std::make_unique<ScriptFunctionExtra>(info); }
  const FunctionInfo* ScriptInfo() const override { return info.get(); }
  std::shared_ptr<const FunctionInfo> info;
};

// A function whose record makes the call: an automation method or a declared native function.
void CallThroughRecord(BaseEngine& engine, const IJFunction& fn, TJValueList* params, Value& result, bool put) {
  if (!fn.extra || !fn.extra->Call(engine, params, result, put)) RaiseError(ScriptError::UnsupportedFunction);
}

// Counts one script call; too deep (by count or by this thread's stack) is a script error.
class CallDepth {
public:
  explicit CallDepth(int& depth) : depth_(depth) {
    if (depth_ >= kMaxCallDepth || CallStackExhausted()) RaiseError(ScriptError::StackOverflow);
    ++depth_;
  }
  ~CallDepth() { --depth_; }
  CallDepth(const CallDepth&) = delete;
  CallDepth& operator=(const CallDepth&) = delete;

private:
  int& depth_;
};

// Index of an element access given as a whole number.
bool WholeIndex(const Value& v, int32_t& index) {
  if (v.raw_type() == vtInteger) {
    index = v.integer();
    return true;
  }
  if (v.raw_type() == vtDouble && v.dbl() >= 0 && v.dbl() < 2147483647.0 && v.dbl() == static_cast<int32_t>(v.dbl())) {
    index = static_cast<int32_t>(v.dbl());
    return true;
  }
  return false;
}

}  // namespace

void TJEngine::BuildArguments(const TJExpr* list, TJValueList& out) {
  int32_t n = 0;
  for (const TJExpr* l = list; l && l->Code == ecList; l = l->Left) ++n;
  out.SetCount(n);
  int32_t i = n;
  for (const TJExpr* l = list; l && l->Code == ecList; l = l->Left) {
    out.Put(--i, Evaluate(l->Right));
    if (failing_) return;
  }
}

Value TJEngine::MakeFunctionValue(const TJStatement* def, int func_type) {
  Value fn = NewFunctionImpl();
  IJFunction* f = fn.function();
  if (def->Expr && def->Expr->Name) f->name = *def->Expr->Name;
  f->func_type = static_cast<uint8_t>(func_type);
  f->definition = def;
  f->parameters = def->Sub1();
  f->SetSymbolTable(TableFor(def));
  if (func_type == ftScript) f->extra = std::make_unique<ScriptFunctionExtra>(InfoFor(def));
  return fn;
}

void TJEngine::CallFunction(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) {
  CallFunctionIn(fn, params, result, self);
  if (failing_) RaiseThrown();
}

void TJEngine::CallFunctionIn(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) {
  result = Value();
  switch (fn.func_type) {
    case ftScript: CallScript(fn, params, result, self); return;
    case ftNative: {
      TJValueList none;
      CallNativeFunction(fn, params ? *params : none, result);
      return;
    }
    case ftActiveX:
    case ftDynaCall: CallThroughRecord(*this, fn, params, result, false); return;
    default: RaiseError(ScriptError::UnsupportedFunction);
  }
}

void TJEngine::CallScript(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) {
  TJValueList none;
  TJValueList& given = params ? *params : none;
  // call and apply: the first parameter is this; apply's second is the arguments array.
  const TJValueList* args = &given;
  TJValueList rest;
  Value hold_self, apply_array;
  if (fn.call_mode != cmPlain && given.GetCount() > 0) {
    hold_self = WrapPrimitive(given.GetValue(0));
    self = hold_self.object();
    if (fn.call_mode == cmApply) {
      args = &rest;
      if (given.GetCount() > 1) {
        apply_array = given.GetValue(1);
        TJValueList* items = apply_array.object() ? apply_array.object()->ListItems() : nullptr;
        if (!items) RaiseError(ScriptError::ApplyArguments, {fn.name.view()});
        args = items;
      }
    } else {
      for (int32_t i = 1; i < given.GetCount(); ++i) rest.Add(given.GetValue(i));
      args = &rest;
    }
  }
  RunScript(fn, ArgumentSource{args, 0, args->GetCount()}, apply_array, result, self);
}

Value TJEngine::ArgumentSource::Get(const TJEngine& e, int32_t i) const {
  if (i >= count) return Value();
  return list ? list->GetValue(i) : e.arg_stack_[base + static_cast<size_t>(i)];
}

void TJEngine::RunScript(IJFunction& fn, const ArgumentSource& args, const Value& apply_array, Value& result,
                         TJObject* self, bool caller_holds_fn) {
  TJFunctionSymbolTable* table = fn.SymbolTable();
  if (!table || !fn.definition) return;  // the program that made it has been cleared
  CallDepth depth(call_depth_);
  Tick();
  Value hold_fn = caller_holds_fn ? Value() : Value::Function(&fn);
  if (TJObject* bound = fn.BoundObject()) self = bound;
  // The engine holds the Global object, the this of most calls, for its whole life.
  Value hold_self = self == global_ ? Value() : Value::Object(self);
  const FunctionExtra* extra = fn.extra.get();
  const FunctionInfo* info = extra ? extra->ScriptInfo() : nullptr;
  if (!info) info = InfoFor(fn.definition).get();

  TJLocalSymbolTable* activation = table->NewChild(fn.ClosureTable(), self);
  struct Pop {
    TJFunctionSymbolTable* table;
    ~Pop() { table->PopChild(); }
  } pop{table};
  ScopeSwitch scope(*this, activation);
  if (info->uses_arguments) {
    Value arguments = apply_array;
    if (!arguments.object()) {
      TJValueList items;
      for (int32_t i = 0; i < args.count; ++i) items.Add(args.Get(*this, i));
      arguments = NewArray(items);
    }
    arguments.object()->SetValue("callee", Value::Function(&fn));
    activation->DefineLocal("arguments", arguments);
  }
  // A fresh activation (no closure or arguments variables) takes distinct parameters
  // without a search for each.
  PropertyMap& vars = activation->Variables();
  const bool append = info->distinct_params && vars.size() == 0;
  for (size_t i = 0; i < info->params.size(); ++i) {
    Value v = args.Get(*this, static_cast<int32_t>(i));
    if (append) vars.AppendNew(info->params[i], std::move(v));
    else activation->DefineLocal(info->params[i], std::move(v));
  }
  int32_t line = line_;
  Completion c = Execute(fn.definition->Sub2(), 0);
  if (c == Completion::Break || c == Completion::Continue)
    RaiseError(c == Completion::Break ? ScriptError::Break : ScriptError::Continue);
  if (c == Completion::Throw) return;  // line_ stays at the failing statement
  Value returned;  // takes return_value_, leaving it empty
  returned.Swap(return_value_);
  if (c == Completion::Return) result.Swap(returned);
  line_ = line;
}

Value TJEngine::WrapPrimitive(const Value& v) {
  switch (v.type()) {
    case vtObject: return v;
    case vtString:
    case vtRegExp: {
      TJValueList p{v};
      return factory_->Create(v.type() == vtString ? "String" : "RegExp", &p);
    }
    case vtInteger:
    case vtDouble:
    case vtInfinity:
    case vtNaN: {
      TJValueList p{v};
      return factory_->Create("Number", &p);
    }
    case vtBool: {
      TJValueList p{v};
      return factory_->Create("Boolean", &p);
    }
    case vtDispatch: return WrapDispatch(v.dispatch());
    default: return Value();
  }
}

Value TJEngine::CallOrIndex(const Value& callee, const TJExpr* args_expr) {
  if (IJFunction* f = callee.function()) {
    Value result;
    if (f->func_type == ftScript && f->call_mode == cmPlain) {
      // The common script call: arguments go on the engine's argument stack, not a list.
      // The caller's value of the callee keeps the function alive.
      // The list holds the last argument first: they are pushed in that order (the
      // calls made meanwhile leave the stack as they found it) and then reversed.
      size_t base = arg_stack_.size();
      int32_t n = 0;
      struct Unwind {
        std::vector<Value>& stack;
        size_t base;
        ~Unwind() {
          while (stack.size() > base) stack.pop_back();
        }
      } unwind{arg_stack_, base};
      for (const TJExpr* l = args_expr; l && l->Code == ecList; l = l->Left) {
        const TJExpr* arg = l->Right;
        Value v = arg && arg->Code == ecIdentifier ? ReadVariable(arg) : Evaluate(arg);
        if (failing_) return v;
        arg_stack_.push_back(std::move(v));
        ++n;
      }
      if (n > 1) std::reverse(arg_stack_.begin() + static_cast<std::ptrdiff_t>(base), arg_stack_.end());
      RunScript(*f, ArgumentSource{nullptr, base, n}, Value(), result, current_->GetThis(), true);
      return result;
    }
    TJValueList args;
    BuildArguments(args_expr, args);
    if (failing_) return result;
    CallFunctionIn(*f, &args, result, current_->GetThis());
    return result;
  }
  if (callee.object() || callee.type() == vtString) {
    TJValueList args;
    BuildArguments(args_expr, args);
    if (failing_) return Value();
    Value target = callee.object() ? callee : WrapPrimitive(callee);
    return IndexObject(target.object(), args);
  }
  return Fail(ScriptError::NeedFunctionOrObject);
}

bool TJEngine::ReadMember(TJObject* obj, const StrRef& name, bool array_style, Value& out, const Value* param) {
  out = Value();
  if (obj->GetValueImpl(name, out, param)) return true;
  Fail(array_style ? ScriptError::KeyMissing : ScriptError::MemberMissing, {name.view()});
  return false;
}

Value TJEngine::IndexObject(TJObject* obj, const TJValueList& args) {
  if (!obj) return Fail(ScriptError::NeedFunctionOrObject);
  int32_t count = args.GetCount();
  int32_t index;
  if (count == 1 && (obj->ClassFlags() & kArrayObjectClass) && WholeIndex(args.GetValue(0), index)) {
    if (obj->ListItems()) {
      Value out;
      obj->GetItem(index, out);
      return out;
    }
  }
  StrRef key = count > 0 ? ValueToString(args.GetValue(count - 1)) : StrRef();
  Value out;
  if (count == 1 && obj->GetElement(key, out)) return out;
  // An automation object reads every index through its parameterised default member, so
  // it always gets the arguments.
  if (count < 2 && !(obj->ClassFlags() & kActiveXObjectClass)) {
    ReadMember(obj, key, true, out);
  } else {
    Value list = NewArray(args);
    ReadMember(obj, key, true, out, &list);
  }
  return out;
}

TJEngine::Place TJEngine::ResolvePlace(const TJExpr* target) {
  Place place;
  if (target->Code == ecCall) {
    place.holder = Evaluate(target->Left);
    if (failing_) return place;
    place.self = current_->GetThis();
    BuildArguments(target->Right, place.args);
    return place;
  }
  // a.m(list) or a.m[list]: the member is found before its indexes are evaluated.
  Value base = Evaluate(target->Left);
  if (failing_) return place;
  place.wrapped = base.type() == vtFunction ? Value() : WrapPrimitive(base);
  place.self = place.wrapped.object();
  place.holder = GetMember(place.self ? place.wrapped : base, *target->Right->Name, false);
  if (failing_) return place;
  if (!place.holder.function() && !place.holder.object()) {
    Fail(ScriptError::NeedFunctionOrObject);
    return place;
  }
  BuildArguments(target->Third, place.args);
  return place;
}

Value TJEngine::ReadPlace(Place& place) {
  if (IJFunction* f = place.holder.function()) {
    Value result;
    CallFunctionIn(*f, &place.args, result, place.self);
    return result;
  }
  if (place.holder.object()) return IndexObject(place.holder.object(), place.args);
  if (place.holder.type() == vtString) return IndexObject(WrapPrimitive(place.holder).object(), place.args);
  return Fail(ScriptError::NeedFunctionOrObject);
}

void TJEngine::WritePlace(Place& place, const Value& v) {
  if (TJObject* obj = place.holder.object()) {
    const TJValueList& args = place.args;
    int32_t count = args.GetCount();
    int32_t index;
    if (count == 1 && (obj->ClassFlags() & kArrayObjectClass) && WholeIndex(args.GetValue(0), index) &&
        obj->SetItem(index, v))
      return;
    StrRef key = count > 0 ? ValueToString(args.GetValue(count - 1)) : StrRef();
    if (count == 1 && obj->SetElement(key, v)) return;
    if (count < 2) {
      obj->SetValue(key, v);
    } else {
      Value list = NewArray(args);
      obj->SetValue(key, v, &list);
    }
    return;
  }
  if (IJFunction* f = place.holder.function()) {
    // A function as an indexed target is a property put: the indexes, then the value.
    TJValueList args;
    args.Assign(&place.args);
    args.Add(v);
    Value ignored;
    if (f->func_type == ftActiveX) CallThroughRecord(*this, *f, &args, ignored, true);
    else CallFunctionIn(*f, &args, ignored, place.self);
    return;
  }
  Fail(ScriptError::NeedFunctionOrObject);
}

// s.m(...) on a primitive string, where m is a native method of the String class itself:
// the native runs on a wrapper the engine keeps for this, so a method call in a loop makes
// no object and no function value. The wrapper is reused only while nothing else holds it
// and it has no members of its own. False leaves the call to the general path: while a
// hook watches new objects, or for a property or a method every object has.
bool TJEngine::CallStringNative(const Value& text, const StrRef& name, const TJExpr* args_expr, Value& result) {
  if (OnNewObject || TJObject::BaseClass().FindMethod(name.view())) return false;
  Value wrapper = std::move(string_wrapper_);
  TJObject* obj = wrapper.object();
  if (!obj || obj->refs != 1 || obj->Dead() || !obj->Rewrap(text)) {
    wrapper = WrapPrimitive(text);
    obj = wrapper.object();
    if (!obj) return false;
  }
  struct Keep {
    Value& slot;
    Value& wrapper;
    ~Keep() {
      if (slot.object() || wrapper.object()->refs != 1) return;
      wrapper.object()->Rewrap(Value::String(StrRef()));  // keeps no text alive
      slot = std::move(wrapper);
    }
  } keep{string_wrapper_, wrapper};
  const NativeMethod fn = obj->Class().FindMethod(name.view());
  if (!fn || (obj->Published() && obj->Published()->Has(name.view()))) return false;
  TJValueList args;
  BuildArguments(args_expr, args);
  if (failing_) return true;
  CheckStack();
  fn(*obj, args, result);
  return true;
}

Value TJEngine::CallMethod(const TJExpr* e) {
  GuardStack();
  Value base = Evaluate(e->Left);
  if (failing_) return base;
  if (base.type() == vtString) {
    Value result;
    if (CallStringNative(base, *e->Right->Name, e->Third, result)) return result;
  }
  // A primitive is wrapped once: its method is bound to the very object that is this.
  Value self = base.type() == vtFunction ? Value() : WrapPrimitive(base);
  Value member = GetMember(self.object() ? self : base, *e->Right->Name, false);
  if (failing_) return member;
  if (IJFunction* f = member.function()) {
    TJValueList args;
    BuildArguments(e->Third, args);
    Value result;
    if (failing_) return result;
    CallFunctionIn(*f, &args, result, self.object());
    return result;
  }
  if (member.object()) return CallOrIndex(member, e->Third);
  return Fail(ScriptError::NeedFunctionOrObject);
}

Value TJEngine::GetMember(const Value& v, const StrRef& name, bool deleting) {
  switch (v.type()) {
    case vtObject: {
      TJObject* obj = v.object();
      if (deleting) return Value::Bool(obj->RemoveKey(name));
      if (name.view() == "prototype") return Value::Object(factory_->GetPrototype(obj->ClassName()));
      Value out;
      ReadMember(obj, name, false, out);
      return out;
    }
    case vtString:
      if (!OnNewObject && name.view() == "length") return Value::Integer(static_cast<int32_t>(v.str().CharCount()));
      [[fallthrough]];
    case vtRegExp:
    case vtInteger:
    case vtDouble:
    case vtInfinity:
    case vtNaN:
    case vtBool:
    case vtDispatch: {
      Value wrapper = WrapPrimitive(v);
      TJObject* obj = wrapper.object();
      if (!obj) break;
      Value out;
      ReadMember(obj, name, false, out);
      return out;
    }
    case vtFunction: {
      IJFunction* f = v.function();
      if (f->func_type == ftNamespace) {
        Value out;
        TJFunctionSymbolTable* ns = f->SymbolTable();
        if (ns && ns->GetVariable(name, out)) return out;
        break;
      }
      if (name.view() == "prototype") return Value::Object(factory_->GetPrototype(f->name));
      if (name.view() == "call" || name.view() == "apply") {
        Value copy = NewFunctionImpl();
        copy.function()->Assign(*f);
        copy.function()->call_mode = name.view() == "call" ? cmCall : cmApply;
        return copy;
      }
      break;
    }
    default: break;
  }
  return Fail(ScriptError::MemberError, {name.view()});
}

void TJEngine::SetMember(const Value& v, const StrRef& name, const Value& nv) {
  const StrRef* class_name = nullptr;
  if (TJObject* obj = v.object()) {
    if (name.view() != "prototype") {
      obj->SetValue(name, nv);
      return;
    }
    class_name = &obj->ClassName();
  } else if (IJFunction* f = v.function()) {
    if (f->func_type == ftNamespace) {
      if (TJFunctionSymbolTable* ns = f->SymbolTable()) {
        ns->AssignVariable(name, nv, 1);
        return;
      }
    } else if (name.view() == "prototype") {
      class_name = &f->name;
    }
  }
  if (!class_name) {
    Fail(ScriptError::MemberAssign, {name.view()});
  } else if (!factory_->SetPrototype(*class_name, nv.object())) {
    Fail(ScriptError::PrototypeAssign, {name.view()});
  }
}

Value TJEngine::MakeObject(const StrRef& name, TJValueList* params) {
  Value fv;
  if (current_->GetVariable(name, fv) && fv.function()) {
    IJFunction* f = fv.function();
    if (f->func_type == ftScript) {
      auto* obj = new TJObject(this);
      Value result = Value::Object(obj);
      obj->SetObjectName(name);
      factory_->Register(obj);
      current_->AddTemporary(result);
      obj->SetValue("constructor", fv);
      Value ignored;
      CallFunctionIn(*f, params, ignored, obj);
      return result;
    }
    if (f->func_type == ftClass) return ApplyClass(*f, params, 0);
    return Fail(ScriptError::ConstructorError, {name.view()});
  }
  if (!factory_->FindClass(name.view()) || !factory_->FindClass(name.view())->create)
    return Fail(ScriptError::CreateObject, {name.view()});
  Value result = factory_->Create(name.view(), params);
  current_->AddTemporary(result);
  return result;
}

Value TJEngine::ApplyClass(IJFunction& cls, TJValueList* params, int depth) {
  if (depth > 64) throw EJThrow("ECallError", "class nesting too deep");
  const TJStatement* def = cls.definition;
  Value hold_cls = Value::Function(&cls);
  Value result;
  const TJExpr* base = def && def->Expr ? def->Expr->Left : nullptr;
  if (base && base->Name) {
    Value bv;
    if (current_->GetVariable(*base->Name, bv) && bv.function() && bv.function()->func_type == ftClass)
      result = ApplyClass(*bv.function(), params, depth + 1);
    else
      result = MakeObject(*base->Name, params);
    if (failing_) return result;
  } else {
    auto* plain = new TJObject(this);
    result = Value::Object(plain);
    factory_->Register(plain);
  }
  TJObject* obj = result.object();
  if (!obj) return Fail(ScriptError::CreateObject, {cls.name.view()});
  obj->SetObjectName(cls.name);
  current_->AddTemporary(result);
  for (const TJStatement* m = def ? def->Sub1() : nullptr; m; m = m->Next) {
    if (m->Type == stFunction && m->Expr && m->Expr->Name) {
      Value fn = MakeFunctionValue(m, ftScript);
      fn.function()->SetBoundObject(obj);
      obj->SetValue(*m->Expr->Name, fn);
    } else if (m->Type == stVar) {
      for (const TJStatement* item = m->Sub1(); item; item = item->Next) {
        if (!item->Expr || !item->Expr->Name) continue;
        Value v = item->Expr->Left ? Evaluate(item->Expr->Left) : Value::Null();
        if (failing_) return v;
        obj->SetValue(*item->Expr->Name, v);
      }
    }
  }
  Value ctor;
  if (obj->GetValueImpl(cls.name, ctor, nullptr) && ctor.function()) {
    Value ignored;
    CallFunctionIn(*ctor.function(), params, ignored, obj);
  }
  return result;
}

}  // namespace kestrin::script
