// Dialog: the open, open-many, save and folder dialogs through the host's UI services,
// with the filter lines the object keeps.
#pragma once

#include <string>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJDialogObject : public TJObject {
public:
  explicit TJDialogObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  void OnKill() override { filters_ = Value(); }

  // The StringList of filter lines ("Text|*.txt;*.log", one a line).
  TJObject* Filters() const { return filters_.object(); }
  // The lines trimmed of blanks and control characters, joined with "|".
  std::string FilterText() const;

private:
  Value filters_;
  PropTable props_;
};

// Registers "Dialog".
void RegisterDialog(TJEngine& engine);

}  // namespace kestrin::script
