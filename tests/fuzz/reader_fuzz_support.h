// Shared set-up of the reader fuzz targets: a log that keeps nothing, fresh state per input,
// and row reversal chosen by the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrin::fuzz {

// Prepares one run; the first byte (when present) chooses VerticalReverse.
void begin_run(std::span<const uint8_t> data);

}  // namespace kestrin::fuzz
