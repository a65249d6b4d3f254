// The image readers the loader dispatches to. Each reads one file into an image store and
// returns 0 on success or non-zero on failure, having logged its own reason.
#pragma once

#include <string>

namespace kestrin {

struct ImageStore;

// R-AXIS ".img", ".stl", ".osc": header geometry (unless locked), codes, tables, statistics.
int read_rigaku_file(ImageStore& store, const std::string& path);

}  // namespace kestrin
