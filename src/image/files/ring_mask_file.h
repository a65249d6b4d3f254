// The ring-mask file: one ring a line, "begin,end,correct" (2theta bounds in degrees and a
// flag), read into the ring list.
#pragma once

#include <string>
#include <string_view>

#include "model/state.h"

namespace kestrin {

// Replaces `rings` by the rings of the file's text. Lines are read up to the end or to the
// first line that is empty after trimming; each is split at commas and its cells 0 to 2 are
// taken as StrToFloat, StrToFloat and StrToInt. A cell that is not a number (a missing cell
// reads as empty) raises ConversionError, the rings before it kept.
void read_ring_mask_text(std::string_view text, RingList& rings);

// The same for the shared ring list over a file. A file that cannot be read raises
// EInOutError.
void read_ring_mask_file(const std::string& name);

}  // namespace kestrin
