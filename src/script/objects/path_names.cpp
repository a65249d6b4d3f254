// Script path names over CP932 text: separators and dots are found at character starts.
#include "script/objects/path_names.h"

#include <filesystem>
#include <system_error>

#include "script/builtins/script_path.h"
#include "script/core/script_string.h"

namespace kestrin::script {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Offset of the last character of `name` that is one of `chars` (a separator or a dot);
// npos when none.
size_t LastDelimiter(std::string_view name, bool dot) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsSeparator(name[i]) || (dot && name[i] == '.')) last = i;
    if (IsLeadByte(static_cast<unsigned char>(name[i]))) ++i;
  }
  return last;
}

// Whether the last character of `name` is a separator.
bool EndsWithSeparator(std::string_view name) {
  const size_t last = LastDelimiter(name, false);
  return last != std::string_view::npos && last + 1 == name.size();
}

}  // namespace

std::string ExtractFileName(std::string_view name) {
  const size_t at = LastDelimiter(name, false);
  return std::string(at == std::string_view::npos ? name : name.substr(at + 1));
}

std::string ExtractFilePath(std::string_view name) {
  const size_t at = LastDelimiter(name, false);
  return std::string(at == std::string_view::npos ? std::string_view() : name.substr(0, at + 1));
}

std::string ExtractFileDir(std::string_view name) {
  size_t at = LastDelimiter(name, false);
  if (at == std::string_view::npos) return "";
  if (at > 0 && !EndsWithSeparator(name.substr(0, at))) --at;
  return std::string(name.substr(0, at + 1));
}

std::string ExtractFileExt(std::string_view name) {
  const size_t at = LastDelimiter(name, true);
  return at != std::string_view::npos && name[at] == '.' ? std::string(name.substr(at)) : std::string();
}

std::string ChangeFileExt(std::string_view name, std::string_view ext) {
  const size_t at = LastDelimiter(name, true);
  const size_t keep = at != std::string_view::npos && name[at] == '.' ? at : name.size();
  return std::string(name.substr(0, keep)) + std::string(ext);
}

std::string IncludePathDelimiter(std::string_view name) {
  return EndsWithSeparator(name) ? std::string(name) : std::string(name) + "/";
}

std::string ExcludePathDelimiter(std::string_view name) {
  return std::string(EndsWithSeparator(name) ? name.substr(0, name.size() - 1) : name);
}

std::string ExpandFileName(std::string_view name) {
  if (name.empty()) return "";
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(ScriptPathToOs(name), ec);
  if (ec) path = ScriptPathToOs(name);
  return OsPathToScript(path.lexically_normal().string());
}

}  // namespace kestrin::script
