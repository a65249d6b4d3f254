// File and folder helpers of the script objects, over script paths (CP932, "\" or "/"):
// folder tests and creation, file sizes, listings with the platform's wildcards, and
// deletion, optionally into the freedesktop trash. Listed names are script paths too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::script {

class ScriptUi;

bool DirExists(std::string_view dir);
// Creates the folder and the missing folders above it; true when it exists afterwards
// (also when it existed), false when a creation fails. An empty name raises the script
// error "EDirectoryError" "Cannot Create Dir".
bool ForceDirectories(std::string_view dir);
// The size of a file in bytes (64-bit); 0 when there is no such file.
int64_t GetFileSizeByName(std::string_view file);

// What a listing finds: files only; files and folders; a volume label (nothing here);
// anything. Names beginning with "." count as hidden: only kinds 1 and 4 list them.
enum ListKind : int { kListFiles = 1, kListFolders = 2, kListVolume = 3, kListAll = 4 };

// When dir exists: both lists are cleared and filled with dir + name for each entry that
// the mask matches ("?" one character, "*" any run; "*.*" also matches names without a
// dot; without case; an empty mask is "*.*"), folders to `dirs` when given, the rest to
// `files`, each in name order. "." and ".." are never listed. The caller gives dir with
// its trailing separator.
void ListDirectory(std::string_view dir, std::string_view mask, int kind, std::vector<std::string>* dirs,
                   std::vector<std::string>& files);
// The full paths of the subfolders of dir.
void GetSubDirectories(std::string_view dir, std::vector<std::string>& list);
// Whether a name matches a wildcard mask as the listings match it.
bool MatchesMask(std::string_view name, std::string_view mask);

// When dir exists: deletes the folder itself (with_dir) or everything in it. allow_undo
// moves the items into the freedesktop trash instead; without silent the user is asked
// first through `ui`. True when everything went.
bool DeleteDirectory(ScriptUi& ui, std::string_view dir, bool allow_undo, bool silent, bool with_dir);

}  // namespace kestrin::script
