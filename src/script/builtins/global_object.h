// Global: the script's global functions (output and input, dialogs, formatting, percent
// coding, eval, the event loop, version queries and kind tests); the program's scopes see
// its members. The engine reaches it as its GlobalSingleton.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/singletons.h"

namespace kestrin::script {

class TJEngine;
class ScriptUi;

class TJGlobalObject : public TJObject, public GlobalSingleton {
public:
  explicit TJGlobalObject(TJEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  bool HasKey(const StrRef& name) override;

  // GlobalSingleton.
  TJObject& Object() override { return *this; }
  void BeginRun(const Value& arguments) override;
  bool Terminated() const override { return terminated_; }
  void Reset() override;

  TJEngine* Owner() const { return owner_; }
  // The host's dialogs (the window-less default without an engine).
  ScriptUi& Ui() const;
  void SetTerminated(bool terminated) { terminated_ = terminated; }
  // The arguments and finalizer arrays (made empty on first use).
  Value Arguments();
  Value Finalizer();

private:
  Value EmptyArray();

  TJEngine* owner_;
  Value arguments_;
  Value finalizer_;
  bool terminated_ = true;
  PropTable props_;
};

// Registers "Global" (no constructor) and gives the engine its Global object.
void RegisterGlobal(TJEngine& engine);

}  // namespace kestrin::script
