// Synthetic one-dimensional peaks for the fitting tests and benchmarks: an independent
// forward model of Gaussian and Lorentzian profiles on a sloped base, with seeded noise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct PeakShape {
  bool lorentzian = false;
  double amplitude = 0, position = 0, hwhm = 1;
};

struct Profile {
  std::vector<PeakShape> peaks;
  double base = 0, slope = 0;
  double at(double x) const;
};

// begin, begin + step, ... (n points).
std::vector<double> axis(double begin, double step, int32_t n);
std::vector<double> exact_values(const Profile& p, const std::vector<double>& x);
// Poisson counts of mean p(x) from a fixed seed.
std::vector<double> poisson_counts(const Profile& p, const std::vector<double>& x, uint32_t seed);
// p(x) plus normal noise of deviation sqrt(p(x)) from a fixed seed (pattern-like values).
std::vector<double> noisy_values(const Profile& p, const std::vector<double>& x, uint32_t seed);

// The text a peer fitting script reads: "kind n ma", the start parameters, then "x y" lines,
// each number in the shortest form that reads back exactly.
std::string fit_job_text(const std::string& kind, const std::vector<double>& x, const std::vector<double>& y,
                         const std::vector<double>& start);

}  // namespace kestrin::test
