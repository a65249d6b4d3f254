// Base64: Base64 of byte strings and MIME encoded words of mail headers.
#pragma once

#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJBase64Object : public TJObject {
public:
  explicit TJBase64Object(BaseEngine* engine);
  const ClassInfo& Class() const override;
};

// Registers "Base64".
void RegisterBase64(TJEngine& engine);

}  // namespace kestrin::script
