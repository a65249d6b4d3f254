// Function records: native methods bound to their object, closures and copying.
#include "script/core/function.h"

#include "script/core/object.h"
#include "script/core/scope.h"
#include "script/core/stack_guard.h"
#include "script/core/value_list.h"

namespace kestrin::script {

IJFunction::IJFunction() = default;
IJFunction::~IJFunction() = default;

TJFunctionSymbolTable* IJFunction::SymbolTable() const {
  return static_cast<TJFunctionSymbolTable*>(table_.get());
}

void IJFunction::SetSymbolTable(TJFunctionSymbolTable* table) {
  table_ = table ? WeakPtr<TJLocalSymbolTable>(table->WeakHandle()) : WeakPtr<TJLocalSymbolTable>();
}

void IJFunction::SetClosureTable(std::unique_ptr<TJLocalSymbolTable> table) {
  std::unique_ptr<TJLocalSymbolTable> old = std::move(closure_);
  closure_ = std::move(table);
}

void IJFunction::SetBoundObject(TJObject* obj) {
  bound_ = obj ? WeakPtr<TJObject>(obj->WeakHandle()) : WeakPtr<TJObject>();
}

void IJFunction::Assign(const IJFunction& src) {
  if (&src == this) return;
  name = src.name;
  func_type = src.func_type;
  call_mode = src.call_mode;
  definition = src.definition;
  parameters = src.parameters;
  native = src.native;
  extra = src.extra ? src.extra->Clone() : nullptr;
  table_ = src.table_;
  bound_ = src.bound_;
  if (src.closure_) {
    if (!closure_) closure_ = std::make_unique<TJLocalSymbolTable>(nullptr);
    closure_->CopyVariables(*src.closure_);
  }
}

Value NewFunctionImpl() { return Value::Function(new IJFunction); }

Value MakeNativeFunction(StrRef name, NativeMethod fn, TJObject* self) {
  auto* f = new IJFunction;
  Value v = Value::Function(f);
  f->name = std::move(name);
  f->func_type = ftNative;
  f->native = fn;
  f->SetBoundObject(self);
  return v;
}

void CallNativeFunction(IJFunction& fn, TJValueList& params, Value& result) {
  result = Value();
  TJObject* self = fn.BoundObject();
  if (!self || !fn.native) return;
  Value hold = Value::Object(self);  // the method's object lives through the call
  CheckStack();                      // natives may call back into scripts and natives
  fn.native(*self, params, result);
}

}  // namespace kestrin::script
