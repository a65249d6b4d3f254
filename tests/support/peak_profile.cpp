// Synthetic peak profiles with seeded noise, written straight from the profile formulas.
#include "support/peak_profile.h"

#include <charconv>
#include <cmath>
#include <random>

namespace kestrin::test {

double Profile::at(double x) const {
  double y = base + slope * x;
  for (const PeakShape& s : peaks) {
    const double p = (x - s.position) / s.hwhm;
    y += s.lorentzian ? s.amplitude / (1 + p * p) : s.amplitude * std::pow(2.0, -p * p);
  }
  return y;
}

std::vector<double> axis(double begin, double step, int32_t n) {
  std::vector<double> x(size_t(n > 0 ? n : 0));
  for (size_t i = 0; i < x.size(); ++i) x[i] = begin + double(i) * step;
  return x;
}

std::vector<double> exact_values(const Profile& p, const std::vector<double>& x) {
  std::vector<double> y;
  for (double v : x) y.push_back(p.at(v));
  return y;
}

std::vector<double> poisson_counts(const Profile& p, const std::vector<double>& x, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<double> y;
  for (double v : x) y.push_back(double(std::poisson_distribution<int64_t>(p.at(v))(rng)));
  return y;
}

std::vector<double> noisy_values(const Profile& p, const std::vector<double>& x, uint32_t seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> unit(0.0, 1.0);
  std::vector<double> y;
  for (double v : x) y.push_back(p.at(v) + std::sqrt(std::fabs(p.at(v))) * unit(rng));
  return y;
}

namespace {

// The shortest text that reads back as v (locale-independent).
std::string exact(double v) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

}  // namespace

std::string fit_job_text(const std::string& kind, const std::vector<double>& x, const std::vector<double>& y,
                         const std::vector<double>& start) {
  std::string text = kind + " " + std::to_string(x.size()) + " " + std::to_string(start.size()) + "\n";
  for (double a : start) text += exact(a) + " ";
  text += "\n";
  for (size_t i = 0; i < x.size(); ++i) text += exact(x[i]) + " " + exact(y[i]) + "\n";
  return text;
}

}  // namespace kestrin::test
