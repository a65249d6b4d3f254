// Boolean: the object of a truth value.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers "Boolean".
void RegisterBoolean(TJEngine& engine);

}  // namespace kestrin::script
