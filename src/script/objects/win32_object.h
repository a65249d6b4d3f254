// Win32: sleeping, the tick count and starting programs or documents.
#pragma once

#include <cstdint>

#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

// Milliseconds since the system started, modulo 2^32 (the platform's tick count).
uint32_t TickCount();

class TJWin32Object : public TJObject {
public:
  explicit TJWin32Object(BaseEngine* engine);
  const ClassInfo& Class() const override;
};

// Registers "Win32".
void RegisterWin32(TJEngine& engine);

}  // namespace kestrin::script
