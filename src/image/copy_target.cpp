// Non-overwriting copy of a loaded file to a writer's target, in memory.
#include "image/copy_target.h"

#include "base/paths.h"
#include "base/text_file.h"

namespace kestrin {

bool bytes_after_copy(const std::string& source, const std::string& target, std::string& bytes) {
  if (file_exists(target)) return read_file_bytes(target, bytes);
  return read_file_bytes(source, bytes);
}

}  // namespace kestrin
