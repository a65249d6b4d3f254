// TJBaseEngine: what objects need of the engine that created them.
#pragma once

#include "script/core/value.h"

namespace kestrin::script {

class TJObjectFactory;
class IJFunction;

class BaseEngine {
public:
  virtual ~BaseEngine() = default;
  virtual TJObjectFactory& Factory() = 0;
  // True while a script runs (event sources fire only then).
  virtual bool Running() const = 0;
  // A new Array object (made through the class factory) holding `items` in order.
  virtual Value NewArray(const TJValueList& items) = 0;
  // Calls a function value with `self` as this (used by events and host callbacks).
  virtual void CallFunction(IJFunction& fn, TJValueList* params, Value& result, TJObject* self) = 0;
  // A script function named `name` visible in the current scope.
  virtual bool FindFunction(const StrRef& name, Value& fn) = 0;
};

using TJBaseEngine = BaseEngine;

}  // namespace kestrin::script
