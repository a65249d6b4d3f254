// Script path names: splitting at the last "/" or "\" that starts a character (the trail
// byte 0x5C of 表 is no separator), extensions, trailing separators and full paths. There
// are no drives: a name's drive part is always empty.
#pragma once

#include <string>
#include <string_view>

namespace kestrin::script {

// "a/b/c.txt" -> "c.txt"
std::string ExtractFileName(std::string_view name);
// "a/b/c.txt" -> "a/b/"
std::string ExtractFilePath(std::string_view name);
// "a/b/c.txt" -> "a/b"; a separator that follows a separator or starts the name stays
// ("/c.txt" -> "/").
std::string ExtractFileDir(std::string_view name);
// "a/b.c/d.tar.gz" -> ".gz"; "" without a dot after the last separator.
std::string ExtractFileExt(std::string_view name);
// The name with its extension replaced by ext (appended when it has none).
std::string ChangeFileExt(std::string_view name, std::string_view ext);
std::string IncludePathDelimiter(std::string_view name);
// Removes one trailing separator.
std::string ExcludePathDelimiter(std::string_view name);
// The absolute, lexically normal path (relative names start at the current folder), as a
// script path with "/" separators; "" for "".
std::string ExpandFileName(std::string_view name);

}  // namespace kestrin::script
