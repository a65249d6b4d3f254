// The oscillation batch: for every image of a series, spots are sought only near the
// reference positions, and the spots found are written as one CSV file per image.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrin {

class Report;

// The spot search of the batch, as the oscillation window's edits set it.
struct OscSettings {
  int32_t s = 0, b = 0;  // the centre and background box sizes
  double ratio = 0, tolerance = 0;
  int32_t d = 0;         // the distance within which two spots are one
  int32_t distance = 0;  // the half size of the square searched around each reference
};

// What the batch does around its search of each image: the command layer's load (true when
// the file was loaded) and what follows a search (the image window redrawn).
struct OscSteps {
  std::function<bool(const std::string&)> load;
  std::function<void()> searched;
};

// For each file: a poll, `load`, a poll, a search in a square of +-distance around each
// reference position (the first a new list, the others added), duplicates within 0.1
// removed, `searched` called, a poll, and the list written to
// out_folder/<base name><suffix>.csv. A file that does not load is said and skipped:
// nothing is written for it. A poll that sees "stop" ends the batch. Returns 0. A CSV file
// that cannot be written raises EInOutError.
int32_t osc_ana_batch(const std::vector<std::string>& files, const std::string& out_folder, const std::string& suffix,
                      const OscSettings& settings, const OscSteps& steps, Report& report);

// The CSV file of one image: out_folder, "/" unless it ends with one, the image's name
// without folder and extension, the suffix and ".csv".
std::string osc_output_name(const std::string& out_folder, const std::string& image, const std::string& suffix);

}  // namespace kestrin
