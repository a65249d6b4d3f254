// Synthetic spot frames.
#include "support/spot_image.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kestrin::test {

std::vector<uint16_t> make_spot_image(const SpotImageSpec& spec, std::vector<SpotTruth>* truth) {
  std::mt19937 rng(spec.seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<SpotTruth> spots;
  for (int32_t k = 0; k < spec.spots; ++k) {
    SpotTruth s;
    for (int tries = 0; tries < 1000; ++tries) {
      s.x = 12 + unit(rng) * (spec.width - 24);
      s.y = 12 + unit(rng) * (spec.height - 24);
      const bool apart = std::all_of(spots.begin(), spots.end(), [&](const SpotTruth& o) {
        return std::hypot(o.x - s.x, o.y - s.y) >= spec.min_separation;
      });
      if (apart) break;
    }
    s.amplitude = spec.min_amplitude + unit(rng) * (spec.max_amplitude - spec.min_amplitude);
    s.sigma = spec.min_sigma + unit(rng) * (spec.max_sigma - spec.min_sigma);
    spots.push_back(s);
  }
  std::vector<double> v(size_t(spec.width) * size_t(spec.height));
  for (size_t i = 0; i < v.size(); ++i) v[i] = spec.background + spec.noise * (2 * unit(rng) - 1);
  for (const SpotTruth& s : spots) {
    const int32_t reach = int32_t(std::ceil(5 * s.sigma));
    for (int32_t y = std::max(0, int32_t(s.y) - reach); y <= std::min(spec.height - 1, int32_t(s.y) + reach); ++y)
      for (int32_t x = std::max(0, int32_t(s.x) - reach); x <= std::min(spec.width - 1, int32_t(s.x) + reach); ++x) {
        const double dx = x - s.x, dy = y - s.y;
        v[size_t(x) + size_t(spec.width) * size_t(y)] += s.amplitude * std::exp(-(dx * dx + dy * dy) / (2 * s.sigma * s.sigma));
      }
  }
  std::vector<uint16_t> codes(v.size());
  for (size_t i = 0; i < v.size(); ++i) codes[i] = uint16_t(std::clamp(std::round(v[i]), 0.0, 65535.0));
  if (truth) *truth = spots;
  return codes;
}

}  // namespace kestrin::test
