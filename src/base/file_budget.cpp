// Whole-file reads with a size budget.
#include "base/file_budget.h"

#include <filesystem>
#include <stdexcept>

#include "base/convert.h"
#include "base/text_file.h"

namespace kestrin {

std::string read_file_within(const std::string& path, std::uintmax_t max_bytes) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > max_bytes)
    throw std::runtime_error("I/O error reading " + path + ": file larger than " +
                             Format("%d", {static_cast<long long>(max_bytes)}) + " bytes");
  std::string bytes, error;
  if (!read_file_bytes(path, bytes, &error)) throw std::runtime_error("I/O error reading " + path + ": " + error);
  return bytes;
}

}  // namespace kestrin
