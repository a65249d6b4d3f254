// Registration of the GUI wrappers: the script constructors ("VCLForm", "VCLButton", ...)
// and the engine's message pump over Qt's event loop.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers the script constructors of the GUI wrappers and makes doEvents and eventLoop
// run the application's events. The last of the host libraries.
void RegisterVCLObjects(TJEngine& engine);

// Every host library: those of ImportHostLibraries, then the GUI wrappers.
void ImportHostLibrariesWithGui(TJEngine& engine);

// Frees the native objects whose freeing waited for a handler to return; for the end of a
// run, before the application goes.
void FlushVCLDeferredFrees();

}  // namespace kestrin::script
