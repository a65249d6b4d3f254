// The engine's singleton objects, seen through what the engine needs of each. The built-in
// objects implement them and hand them to the engine when they are registered.
#pragma once

#include "script/core/value.h"

namespace kestrin::script {

class TJObject;

// The Global object: `this` of the program and owner of the global functions; the run's
// arguments and the stop flag of the event loop that follows the program.
class GlobalSingleton {
public:
  virtual ~GlobalSingleton() = default;
  virtual TJObject& Object() = 0;
  // A run starts: its arguments (an Array), and the stop flag set.
  virtual void BeginRun(const Value& arguments) = 0;
  // Whether the event loop after the program is to stop (eventLoop() clears the flag).
  virtual bool Terminated() const = 0;
  // The run is forgotten: members given by the script, the arguments; the flag set.
  virtual void Reset() = 0;
};

// The WScript object: bound under "WScript" beside the Global object; each run's arguments
// are split into its named and unnamed ones.
class WScriptSingleton {
public:
  virtual ~WScriptSingleton() = default;
  virtual TJObject& Object() = 0;
  // A run starts with these arguments (an Array).
  virtual void BeginRun(const Value& arguments) = 0;
  // The run is forgotten: members given by the script, the arguments.
  virtual void Reset() = 0;
};

// The RegExp object of the engine: it shows the latest match of any RegExp (RegExp.$1,
// RegExp.lastMatch) and tests the regular-expression labels of switch cases.
class RegExpSingleton {
public:
  virtual ~RegExpSingleton() = default;
  virtual TJObject& Object() = 0;
  // Whether the text of `subject` matches a case label: a regular-expression literal is
  // loaded into this object and tested; a RegExp object tests itself. Either way the
  // latest-match state describes the test afterwards.
  virtual bool CaseTest(const Value& label, const Value& subject) = 0;
  // The run is forgotten: pattern, flags, input and last match back to the start.
  virtual void Reset() = 0;
};

}  // namespace kestrin::script
