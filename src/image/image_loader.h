// The image loader: checks a file name, picks the reader by extension and header, runs it,
// reports the statistics, reads the image's ".kes" and hands over to the views.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// Loads `name` (a path with a folder) as the current image. Always returns -1; the load
// succeeded when current_image().NoImageFlag is 0 afterwards.
int load_img_proc(const std::string& name);

// Image type of an ".img", ".stl" or ".osc" file from its first 10 bytes: 3, 6, 9, 11 or
// 12 (12 also for a file that cannot be read: no signature was found).
int sniff_raxis_type(const std::string& name);
// The same test over given bytes (at most the first 10 are looked at).
int sniff_raxis_signature(std::string_view first_bytes);

// 14 when the TIFF file's first image has 32-bit IEEE floating-point samples, else 8.
int sniff_tiff_type(const std::string& name);

}  // namespace kestrin
