// Registration of the GUI wrappers: the script constructors ("VCLForm", "VCLButton", ...)
// and the engine's message pump over Qt's event loop.
#pragma once

#include <chrono>
#include <span>

namespace kestrin::script {

class BaseEngine;
class TJEngine;
class TJObject;
class TJValueList;

// The constructors of the GUI wrappers, in the order of their names (kVCLClassNames).
std::span<TJObject* (*const)(BaseEngine*, TJValueList*)> VCLConstructors();

// What the GUI wrappers need once per process before the first is made: the form-file
// classes and the end of modal loops on a handler's error.
void PrepareVCLObjects();

// The engine's message pump with the GUI library: runs the application's events, first
// waiting up to `wait` for one (only waits without an application), then raises an error a
// handler left. False once the application is ending.
bool PumpVCLMessages(std::chrono::milliseconds wait);

// Registers the script constructors of the GUI wrappers and makes doEvents and eventLoop
// run the application's events. The last of the host libraries.
void RegisterVCLObjects(TJEngine& engine);

// Every host library: those of ImportHostLibraries, then the GUI wrappers.
void ImportHostLibrariesWithGui(TJEngine& engine);

// Frees the native objects whose freeing waited for a handler to return; for the end of a
// run, before the application goes.
void FlushVCLDeferredFrees();

}  // namespace kestrin::script
