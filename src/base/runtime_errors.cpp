// The run-time library's texts for failed file operations.
#include "base/runtime_errors.h"

#include <cerrno>

namespace kestrin {

std::string io_error_message(int error_number) {
  switch (error_number) {
    case ENOENT: return "File not found";
    case EACCES:
    case EPERM: return "File access denied";
    case ENOSPC: return "Disk full";
    default: return "I/O error " + std::to_string(error_number);
  }
}

}  // namespace kestrin
