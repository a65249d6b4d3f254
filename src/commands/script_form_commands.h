// What the script window's buttons do that needs no script engine and no widgets: script
// files, the macro recorder's two buttons, the newest-file flow of the watch folder, and
// turning the engine's output into log lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// The first line of every script the recorder makes, and of a new script window.
inline constexpr std::string_view kNewKestrinLine = "Kestrin = new Kestrin;";

// Dialog filter and default extension of the script files.
extern const char* const kScriptFilter;
extern const char* const kScriptExtension;
// The image files a script can run for (the target files).
extern const char* const kTargetImageFilter;

// A script file's lines: the file is read as UTF-8 when it is valid UTF-8, else as CP932.
// False when it cannot be read (`error` says why).
bool read_script_file(const std::string& path, std::vector<std::string>& lines, std::string* error = nullptr);
// Writes the lines as UTF-8 with CR LF through a file beside the target, renamed over it
// when complete. False (and any old file kept) on failure.
bool write_script_file(const std::string& path, const std::vector<std::string>& lines, std::string* error = nullptr);

// "Record Script": recording on; the list keeps what earlier recordings left.
void start_macro_recording();
// "Stop Record": recording off; the script the recorder made: "Kestrin = new Kestrin;",
// then every recorded line since the program started.
std::vector<std::string> stop_macro_recording();

// The newest ".dat" file (the last four characters of its path, with case) among the
// entries of `folder` listed in name order: the first of those with the latest
// modification time (full resolution; a folder never counts). Empty when there is none.
std::string newest_dat_file(const std::string& folder);
// "Execute Script for Newest File in Watch Folder": nothing for an empty watch folder, else
// loads the newest ".dat" file (the loader reports "No file selected." when there is
// none). It runs no script.
void load_newest_watch_file(const std::string& watch_folder);

// The log lines of one text a script writes: split at its line ends, where a final line end
// adds no empty line; an empty text is one empty line.
std::vector<std::string> output_lines(std::string_view text);

// The line a compile or run error adds to the script log.
std::string script_error_line(int line, std::string_view message);

}  // namespace kestrin
