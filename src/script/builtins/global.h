// Global: the script's global functions (output, exit, eval, the event loop, sleep and the
// kind tests); the namespace scope sees its members.
#pragma once

#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJGlobalObject : public TJObject {
public:
  explicit TJGlobalObject(TJEngine* engine);
  const ClassInfo& Class() const override;
  TJEngine* Owner() const { return owner_; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool HasKey(const StrRef& name) override;

private:
  TJEngine* owner_;
};

// Registers "Global" (no constructor) and gives the engine its Global object.
void RegisterGlobal(TJEngine& engine);

}  // namespace kestrin::script
