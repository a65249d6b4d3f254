// The one list of system objects. A new one gets its own file pair, named after its
// script name, with one Register function, and one line here.
#include "script/objects/system_objects.h"

#include "script/core/engine.h"
#include "script/objects/base64_object.h"
#include "script/objects/clipboard_object.h"
#include "script/objects/crc_object.h"
#include "script/objects/dialog_object.h"
#include "script/objects/directory_object.h"
#include "script/objects/file_object.h"
#include "script/objects/ini_object.h"
#include "script/objects/keyboard_mouse_objects.h"
#include "script/objects/mutex_object.h"
#include "script/objects/reg_ini_object.h"
#include "script/objects/string_buffer_object.h"
#include "script/objects/strings_object.h"
#include "script/objects/win32_object.h"

namespace kestrin::script {
namespace {

constexpr TJLibrary kSystemObjects[] = {
    RegisterFile,  RegisterDirectory, RegisterStrings,  RegisterWin32, RegisterIni,       RegisterCRC,
    RegisterBase64, RegisterDialog,   RegisterMutex,    RegisterKeyboard, RegisterMouse,  RegisterClipboard,
    RegisterRegIni, RegisterStringBuffer,
};

}  // namespace

void RegisterSystemObjects(TJEngine& engine) {
  for (TJLibrary reg : kSystemObjects) reg(engine);
}

}  // namespace kestrin::script
