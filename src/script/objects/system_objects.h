// The system objects: files and folders, string lists, INI files and the registry, CRC,
// Base64, dialogs, mutexes, keyboard, mouse and clipboard, as one host library.
#pragma once

namespace kestrin::script {

class TJEngine;

// Registers File, Directory, Strings, Win32, Ini, CRC, Base64, Dialog, Mutex, Keyboard,
// Mouse, Clipboard, RegIni and StringBuffer, in this order; all but Ini and RegIni with a
// global instance.
void RegisterSystemObjects(TJEngine& engine);

}  // namespace kestrin::script
