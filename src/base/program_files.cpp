// One-line setting files in the configuration folder, and the exchange sort of names.
#include "base/program_files.h"

#include <cerrno>
#include <utility>

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
  if (high >= int(items.size())) high = int(items.size()) - 1;
  for (int k = 0; k <= high; ++k)
    for (int j = high; j > k; --j)
      if (items[size_t(j)] < items[size_t(j - 1)]) std::swap(items[size_t(j)], items[size_t(j - 1)]);
}

}  // namespace kestrin
