// Keyboard and Mouse: key, button and cursor state, read through the host's UI services.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJKeyboard : public TJObject {
public:
  explicit TJKeyboard(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }

private:
  PropTable props_;
};

class TJMouse : public TJObject {
public:
  explicit TJMouse(BaseEngine* engine);
  PublishedProperties* Published() override { return &props_; }

private:
  PropTable props_;
};

// The virtual-key code isDown tests for a script value: a number as it is, a string by
// its first character (letters as capitals); 0 when there is none.
int32_t VirtualKeyOf(const Value& key);

// Register "Keyboard" and "Mouse".
void RegisterKeyboard(TJEngine& engine);
void RegisterMouse(TJEngine& engine);

}  // namespace kestrin::script
