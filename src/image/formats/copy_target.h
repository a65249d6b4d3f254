// The writers' "copy the loaded file to the target unless the target exists" step, done in
// memory so that the target is then written completely or not at all.
#pragma once

#include <string>

namespace kestrin {

// The bytes the target holds after a non-overwriting copy of `source` to `target`: the
// target's own bytes when it exists, else the source's. False when neither can be read.
bool bytes_after_copy(const std::string& source, const std::string& target, std::string& bytes);

}  // namespace kestrin
