// The script window's commands without widgets.
#include "commands/script_form_commands.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/cp932.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "image/image_loader.h"
#include "model/state.h"

namespace kestrin {

namespace fs = std::filesystem;

const char* const kScriptFilter = "Kestrin Script File (*.scr)|*.scr";
const char* const kScriptExtension = "scr";
const char* const kTargetImageFilter =
    "Rigaku R-AXIS5 or FUJI or HiPiC (*.img)|*.IMG|Rigaku R-AXIS4 (*.stl)|*.stl|Rigaku R-AXIS (*.osc)|*.osc|"
    "Bruker CCD Image (*.ccd)|*.ccd|TIFF Image (*.tif)|*.tif";

namespace {

// Script files are small texts; a larger file is no script.
constexpr size_t kMaxScriptFile = size_t(64) << 20;

}  // namespace

bool read_script_file(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  std::string bytes;
  if (!read_file_bytes(path, bytes, error, kMaxScriptFile + 1)) return false;
  if (bytes.size() > kMaxScriptFile) {
    if (error) *error = "the file is too large for a script";
    return false;
  }
  lines = split_lines(is_valid_utf8(bytes) ? bytes : cp932_to_utf8(bytes));
  return true;
}

bool write_script_file(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  return write_text_file(path, lines, error);
}

void start_macro_recording() { state().macro.MacroRecording = true; }

std::vector<std::string> stop_macro_recording() {
  MacroRecorder& m = state().macro;
  m.MacroRecording = false;
  std::vector<std::string> script{std::string(kNewKestrinLine)};
  script.insert(script.end(), m.MacroList.begin(), m.MacroList.end());
  return script;
}

std::string newest_dat_file(const std::string& folder) {
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().native() < b.filename().native();
  });
  std::string newest;
  std::optional<fs::file_time_type> best;
  for (const fs::path& p : entries) {
    const std::string name = p.native();
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".dat") != 0) continue;
    if (!fs::is_regular_file(p, ec)) continue;
    const auto time = fs::last_write_time(p, ec);
    if (ec) continue;
    if (!best || time > *best) {
      best = time;
      newest = name;
    }
  }
  return newest;
}

void load_newest_watch_file(const std::string& watch_folder) {
  if (watch_folder.empty()) return;
  std::string folder = watch_folder;
  if (folder.back() != '/') folder += '/';
  load_img_proc(newest_dat_file(folder));
}

std::vector<std::string> output_lines(std::string_view text) {
  if (text.empty()) return {std::string()};
  return split_lines(text);
}

std::string script_error_line(int line, std::string_view message) {
  return "Script Error Line " + std::to_string(line) + " " + std::string(message);
}

}  // namespace kestrin
