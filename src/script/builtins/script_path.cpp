// Script path <-> system name: separators at character starts, then the code page.
#include "script/builtins/script_path.h"

#include "base/cp932.h"
#include "script/core/script_string.h"

namespace kestrin::script {

std::string ScriptPathToOs(std::string_view path) {
  std::string slashed(path);
  for (size_t i = 0; i < slashed.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(slashed[i]))) ++i;
    else if (slashed[i] == '\\') slashed[i] = '/';
  }
  return kestrin::cp932_to_utf8(slashed);
}

std::string OsPathToScript(std::string_view name) { return kestrin::utf8_to_cp932(name); }

}  // namespace kestrin::script
