// The oscillation batch: for every image of a series, spots are sought only near the
// reference positions, and the spots found are written as one CSV file per image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin {

// Reads the search settings from the oscillation window's edits ("Spot Search setting read
// errro!" and 1 when one is not a number), then for each file: a poll, the load, a poll,
// a search in a square of +-edtSearchDistance around each reference position (the first a
// new list, the others added), duplicates within 0.1 removed, the image redrawn, a poll,
// and the list written to out_folder/<base name><suffix>.csv. A file that does not load is
// logged and skipped: nothing is written for it. A poll that sees "stop" ends the batch.
// 0 otherwise. A CSV file that cannot be written raises EInOutError.
int32_t osc_ana_batch(const std::vector<std::string>& files, const std::string& out_folder, const std::string& suffix);

// The CSV file of one image: out_folder, "/" unless it ends with one, the image's name
// without folder and extension, the suffix and ".csv".
std::string osc_output_name(const std::string& out_folder, const std::string& image, const std::string& suffix);

}  // namespace kestrin
