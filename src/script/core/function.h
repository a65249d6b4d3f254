// IJFunction: the counted record behind every function value.
#pragma once

#include <cstdint>
#include <memory>

#include "script/core/refcount.h"
#include "script/core/script_string.h"
#include "script/core/value.h"
#include "script/core/weak.h"

namespace kestrin::script {

struct TJStatement;  // the parser's statement node
class BaseEngine;
class TJLocalSymbolTable;
class TJFunctionSymbolTable;

// `FuncType` of a function record.
enum TJFuncType : uint8_t {
  ftScript = 0, ftNative = 1, ftActiveX = 2, ftClass = 3, ftNamespace = 4, ftDynaCall = 5
};

// Call mode set by the interpreter for the script methods call and apply.
enum TJCallMode : uint8_t { cmPlain = 0, cmCall = 1, cmApply = 2 };

// A native method: (Self, Params, var Result). Result arrives undefined.
using NativeMethod = void (*)(TJObject& self, TJValueList& params, Value& result);

// Data of automation methods and DLL declarations, owned by the function record.
class FunctionExtra {
public:
  virtual ~FunctionExtra() = default;
  virtual std::unique_ptr<FunctionExtra> Clone() const = 0;
  // What the interpreter knows of a script function's definition, when this holds it.
  virtual const struct FunctionInfo* ScriptInfo() const { return nullptr; }
  // The call of a function whose record makes it (an automation method, a declared native
  // function); false when this record makes no call. `put` makes it a property put whose
  // last argument is the value.
  virtual bool Call(BaseEngine& /*engine*/, TJValueList* /*params*/, Value& /*result*/, bool /*put*/) const {
    return false;
  }
};

class IJFunction : public RcHeader {
public:
  IJFunction();
  ~IJFunction();
  IJFunction(const IJFunction&) = delete;
  IJFunction& operator=(const IJFunction&) = delete;

  StrRef name;
  uint8_t func_type = ftScript;
  uint8_t call_mode = cmPlain;
  const TJStatement* definition = nullptr;  // script function or class: its statement
  const TJStatement* parameters = nullptr;  // parameter chain
  NativeMethod native = nullptr;
  std::unique_ptr<FunctionExtra> extra;

  // The function's own table (a namespace's global table); owned by the root table.
  TJFunctionSymbolTable* SymbolTable() const;
  void SetSymbolTable(TJFunctionSymbolTable* table);
  // Closure scope: owned; setting frees the previous one.
  TJLocalSymbolTable* ClosureTable() const { return closure_.get(); }
  void SetClosureTable(std::unique_ptr<TJLocalSymbolTable> table);
  // Bound object: not counted; reads nil once the object is gone.
  TJObject* BoundObject() const { return bound_.get(); }
  void SetBoundObject(TJObject* obj);
  // Copies the record and the bound object; copies the closure variables of `src`
  // into this record's closure (created when missing).
  void Assign(const IJFunction& src);

private:
  std::unique_ptr<TJLocalSymbolTable> closure_;
  WeakPtr<TJObject> bound_;
  WeakPtr<TJLocalSymbolTable> table_;
};

// A new, empty function record held in a value.
Value NewFunctionImpl();
// A native method bound to `self`, as DefineMethod makes it.
Value MakeNativeFunction(StrRef name, NativeMethod fn, TJObject* self);
// Calls a native function value; does nothing when its object is gone.
void CallNativeFunction(IJFunction& fn, TJValueList& params, Value& result);

}  // namespace kestrin::script
