// One-line setting files in the configuration folder, and the exchange sort of names.
#include "base/program_files.h"

#include <cerrno>

#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"

namespace kestrin {

void write_program_file_line(const std::string& file_name, const std::string& text) {
  errno = 0;
  if (!ensure_config_folder() || !write_text_file(config_folder() + file_name, {text}))
    throw EInOutError(io_error_message(errno ? errno : EIO));
}

std::string read_program_file_line(const std::string& file_name) {
  return read_first_line(config_folder() + file_name);
}

void sort_strings(std::vector<std::string>& items, int high) {
  exchange_sort(items, high, [](const std::string& a, const std::string& b) { return a < b; });
}

}  // namespace kestrin
