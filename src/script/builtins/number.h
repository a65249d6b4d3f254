// Number: the object of a number value.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers "Number".
void RegisterNumber(TJEngine& engine);

}  // namespace kestrin::script
