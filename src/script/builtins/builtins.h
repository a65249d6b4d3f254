// The built-in objects of the language, registered with an engine through one list.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers every built-in class with the engine's class factory, in the list's order,
// and gives the engine its Global object. Hand it to the engine (or host) constructor.
void RegisterBuiltins(TJEngine& engine);

}  // namespace kestrin::script
