// The camera-length search: the sample-to-detector distance at which the peaks of the
// current pixel pattern best match the reference 2theta values held in the peak table.
#pragma once

#include <cstdint>

namespace kestrin {

class Report;

// The 2theta (degrees) of a peak p pixels from the centre at camera length L (mm) with
// pixels of size `pixel` (mm).
double camera_angle(double p, double pixel, double L);

enum class CameraLengthSearch : int32_t {
  kSearched = 0,   // the table was matched (Lo changed when a reference matched)
  kRefused = 1,    // a pixel size or camera length it cannot search with, said why
  kNoPattern = 2,  // no pixel pattern of at least 11 points (silent)
};

// Finds the pattern's peaks (up to 500) and tries every camera length in tenths of a
// millimetre over Lo +- 10 mm of integration_params (40 to 400 mm when Lo is below 30 mm):
// each trial scores the sum over the references of the smallest relative 2theta misfit, and
// the smallest sum (the shortest length on ties) wins. References within a misfit of 0.01 at
// the winner are matched (x and intensity from their peak) and each gives a camera length;
// Lo becomes their mean, and the table is sorted and compacted. References of 2theta 0 or
// less take no part. Each step is said.
CameraLengthSearch camera_length_search(Report& report);

}  // namespace kestrin
