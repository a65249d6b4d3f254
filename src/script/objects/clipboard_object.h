// Clipboard: the clipboard's text through the host's UI services.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJClipboard : public TJObject {
public:
  explicit TJClipboard(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  // The clipboard's text.
  StrRef ToString(const Value*) override;

private:
  PropTable props_;
};

// Registers "Clipboard".
void RegisterClipboard(TJEngine& engine);

}  // namespace kestrin::script
