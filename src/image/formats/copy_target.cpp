// Non-overwriting copy of a loaded file to a writer's target, in memory.
#include "image/formats/copy_target.h"

#include <stdexcept>

#include "base/paths.h"
#include "base/file_budget.h"

namespace kestrin {
namespace {

// Larger than any image file the readers accept (10000 x 10000 four-byte pixels plus
// headers), so only a wrong file is refused.
constexpr std::uintmax_t kMaxCopyBytes = std::uintmax_t(1) << 30;

}  // namespace

bool bytes_after_copy(const std::string& source, const std::string& target, std::string& bytes) {
  try {
    bytes = read_file_within(file_exists(target) ? target : source, kMaxCopyBytes);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace kestrin
