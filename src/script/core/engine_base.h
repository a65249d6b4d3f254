// TJBaseEngine: what objects need of the engine that created them.
#pragma once

#include "script/core/value.h"
#include "script/core/weak.h"

namespace kestrin::script {

class TJObjectFactory;
class IJFunction;

// Objects hold their engine weakly: an object that outlives its engine sees none.
class BaseEngine {
public:
  BaseEngine() = default;
  BaseEngine(const BaseEngine&) = delete;
  BaseEngine& operator=(const BaseEngine&) = delete;
  virtual ~BaseEngine() = default;
  WeakCell* WeakHandle() { return anchor_.Cell(this); }
  virtual TJObjectFactory& Factory() = 0;
  // True while a script runs (event sources fire only then).
  virtual bool Running() const = 0;
  // True while the host polls its windows from inside a running statement: events then
  // reach no script handler, so no script code runs in the middle of another's.
  virtual bool HoldsEvents() const { return false; }
  // A new Array object (made through the class factory) holding `items` in order.
  virtual Value NewArray(const TJValueList& items) = 0;
  // Calls a function value with `self` as this (used by events and host callbacks).
  virtual void CallFunction(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) = 0;
  // A script function named `name` visible in the current scope.
  virtual bool FindFunction(const StrRef& name, Value& fn) = 0;
  // A new Date object for a local date-time (days since 1899-12-30).
  virtual Value NewDate(double /*days*/) { return Value(); }
  // A new ActiveXObject wrapping an automation interface.
  virtual Value WrapDispatch(Dispatch* d) { return Value::Disp(d); }

private:
  WeakAnchor anchor_;
};

using TJBaseEngine = BaseEngine;

}  // namespace kestrin::script
