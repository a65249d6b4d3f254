// Path helpers: '/' separators, names keep their case, extensions compare without case,
// and side files (".inf", ".kes") are found by exact name first, then by a unique match
// that ignores case in the same folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// "/data/a.img" -> "/data/" (folder with its trailing '/'); "" when there is none.
std::string folder_of(std::string_view path);
// "/data/a.b.img" -> "a.b.img"
std::string file_name_of(std::string_view path);
// "/data/a.b.img" -> "a.b"
std::string base_name_of(std::string_view path);
// "/data/a.IMG" -> ".IMG" (with the dot, as written); "" when none.
std::string extension_of(std::string_view path);
// True when the extension equals `ext` (".img") without regard to ASCII case.
bool has_extension(std::string_view path, std::string_view ext);
// "/data/a.img" + ".kes" -> "/data/a.kes"
std::string change_extension(std::string_view path, std::string_view ext);
bool iequals(std::string_view a, std::string_view b);
std::string to_lower_ascii(std::string_view s);
bool file_exists(const std::string& path);
// Finds `path`: itself when it exists, else the unique file in its folder whose name
// equals its name without regard to case; nullopt when none or ambiguous.
std::optional<std::string> find_side_file(const std::string& path);
// The folder for the settings and remembered-folder files: $XDG_CONFIG_HOME/kestrin/ or
// ~/.config/kestrin/ (with its trailing '/'); created on demand by `ensure_config_folder`.
std::string config_folder();
bool ensure_config_folder();

}  // namespace kestrin
