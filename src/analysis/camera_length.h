// The camera-length search: the sample-to-detector distance at which the peaks of the
// current pixel pattern best match the reference 2theta values held in the peak table.
#pragma once

#include <cstdint>

namespace kestrin {

// The 2theta (degrees) of a peak p pixels from the centre at camera length L (mm) with
// pixels of size `pixel` (mm).
double camera_angle(double p, double pixel, double L);

// Reads the parameters, finds the pattern's peaks (up to 500) and tries every camera length
// in tenths of a millimetre over Lo +- 10 mm (40 to 400 mm when Lo is below 30 mm): each
// trial scores the sum over the references of the smallest relative 2theta misfit, and the
// smallest sum (the shortest length on ties) wins. References within a misfit of 0.01 at the
// winner are matched (x and intensity from their peak) and each gives a camera length; Lo
// becomes their mean, shown in edtCameraLength, the table is sorted and compacted and the
// peak list and graph redrawn. References of 2theta 0 or less take no part. Returns 1
// without a pixel pattern of at least 11 points (silent), else 0.
int32_t camera_length_search();

}  // namespace kestrin
