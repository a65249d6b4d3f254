// Math: the mathematical functions and constants, and a random generator per object
// seeded from the time of day.
#pragma once

#include <cstdint>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

class TJMathObject : public TJObject {
public:
  explicit TJMathObject(BaseEngine* engine);
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  // The next draw of the generator: an integer in 0 .. range - 1 (0 for a range below 1),
  // or a double in [0, 1).
  int32_t RandomBelow(int32_t range);
  double RandomUnit();

private:
  uint32_t NextSeed();
  uint32_t seed_;
  PropTable props_;
};

// Registers "Math".
void RegisterMath(TJEngine& engine);

}  // namespace kestrin::script
