// The Gaussian and Lorentzian profiles with their parameter derivatives.
#include "analysis/peak_models.h"

#include <cmath>

namespace kestrin {
namespace {

constexpr double kLn2 = 0.69314718055994530942;

// Base a4 + a5 x (each term only when its slot exists); sets the derivatives of slots 4 and up.
double base_line(double x, std::span<const double> a, std::span<double> dyda) {
  double y = 0;
  for (size_t j = kBase; j < a.size(); ++j) dyda[j] = 0;
  if (a.size() > size_t(kBase)) {
    y += a[kBase];
    dyda[kBase] = 1;
  }
  if (a.size() > size_t(kBaseTilt)) {
    y += a[kBaseTilt] * x;
    dyda[kBaseTilt] = x;
  }
  return y;
}

}  // namespace

double gauss_exponent(double x, std::span<const double> a) {
  const double u = (x - a[kPosition]) / a[kHalfWidth];
  return -kLn2 * u * u;
}

double gauss_model(double x, std::span<const double> a, std::span<double> dyda) {
  const double base = base_line(x, a, dyda);
  const double e = gauss_exponent(x, a);
  if (std::fabs(e) >= kGaussExponentLimit) {
    dyda[kAmplitude] = dyda[kPosition] = dyda[kHalfWidth] = 0;
    return base;
  }
  const double ex = std::exp(e);
  const double w = a[kHalfWidth];
  dyda[kAmplitude] = ex;
  dyda[kPosition] = 2 * a[kAmplitude] * kLn2 * (x - a[kPosition]) * ex / (w * w);
  dyda[kHalfWidth] = (x - a[kPosition]) / w * dyda[kPosition];
  return a[kAmplitude] * ex + base;
}

double lorentz_model(double x, std::span<const double> a, std::span<double> dyda) {
  const double base = base_line(x, a, dyda);
  const double w = a[kHalfWidth];
  const double u = w == 0 ? 0 : (x - a[kPosition]) / w;
  const double g = w == 0 ? 0 : 2 * a[kAmplitude] / w;
  const double d = 1 + u * u;
  dyda[kAmplitude] = 1 / d;
  dyda[kPosition] = g * u / (d * d);
  dyda[kHalfWidth] = u * dyda[kPosition];
  return a[kAmplitude] / d + base;
}

}  // namespace kestrin
