// Reading a whole input file with a size budget, so that a wrong file (a disk image, a
// video) never takes absurd memory.
#pragma once

#include <cstdint>
#include <string>

namespace kestrin {

// The bytes of the file. Throws std::runtime_error ("I/O error reading <path>: ...") when
// it cannot be read or is larger than `max_bytes`.
std::string read_file_within(const std::string& path, std::uintmax_t max_bytes);

}  // namespace kestrin
