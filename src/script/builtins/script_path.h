// Script paths and the names the system opens: a script path is CP932 text with "\" or "/"
// between names; the system's names are UTF-8 with "/". A "\" counts only at a character
// start, since 0x5C is also the trail byte of 表, ソ, 能 and others.
#pragma once

#include <string>
#include <string_view>

namespace kestrin::script {

// The system's name of a script path.
std::string ScriptPathToOs(std::string_view path);
// The script path of a system name; characters without a CP932 form become "?" (such a
// name cannot be opened again through the script path).
std::string OsPathToScript(std::string_view name);

}  // namespace kestrin::script
