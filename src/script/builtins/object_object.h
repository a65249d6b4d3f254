// Object: the plain script object made by `new Object()` and object literals.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers "Object".
void RegisterObject(TJEngine& engine);

}  // namespace kestrin::script
