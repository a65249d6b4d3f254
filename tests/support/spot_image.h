// Synthetic single-crystal frames: a flat background with seeded noise and Gaussian spots
// at seeded sub-pixel positions, for the spot search's tests and benchmarks.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrin::test {

struct SpotImageSpec {
  int32_t width = 160, height = 120;
  int32_t spots = 20;
  double background = 100;
  double noise = 4;                 // uniform noise of +-noise counts
  double min_amplitude = 150, max_amplitude = 3000;
  double min_sigma = 0.8, max_sigma = 2.0;
  double min_separation = 0;        // spots at least this far apart (positions redrawn until so)
  uint32_t seed = 7;
};

struct SpotTruth {
  double x, y, amplitude, sigma;
};

// Codes (row-major) of the frame, rounded and clamped to 0..65535; the spots' true
// positions go to `truth` when given.
std::vector<uint16_t> make_spot_image(const SpotImageSpec& spec, std::vector<SpotTruth>* truth = nullptr);

}  // namespace kestrin::test
