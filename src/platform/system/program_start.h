// Starting other programs: command lines split into arguments, and a detached start that
// reports whether the program could be run at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::platform {

// The arguments of a command line: blanks and tabs separate them; double quotes group
// (and are dropped); a quote inside a word joins the quoted part to it.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The file a program name starts: a name with "/" as it is, else the first executable
// file of that name in the folders of $PATH; "" when there is none.
std::string FindProgram(const std::string& name);
// Whether the name is an executable file (not a folder).
bool IsExecutableFile(const std::string& path);

// Starts argv[0] (found by FindProgram) with the arguments, in `folder` when one is given,
// in a session of its own that this process does not wait for. True once the program is
// running; false when it cannot be found, the folder cannot be entered or exec fails.
bool StartDetached(const std::vector<std::string>& argv, const std::string& folder = std::string());

}  // namespace kestrin::platform
