// The single-peak profiles shared by both fitting engines, the graph and the fit tables:
// a Gaussian and a Lorentzian, each with an optional constant base and base slope.
#pragma once

#include <cstdint>
#include <span>

namespace kestrin {

// Parameter slots of a profile: a[kHalfWidth] is the half width at half maximum.
enum PeakParam : int32_t { kAmplitude = 0, kPosition = 1, kHalfWidth = 2, kBase = 3, kBaseTilt = 4 };
// The profiles read the first three slots always, the base from 4 slots on and the slope from
// 5 on; further slots have no effect (derivative 0).
constexpr int32_t kPeakCoreParams = 3;

// A profile: its value at x for the parameters a, with dy/da[j] written to dyda[j]
// (dyda has a's size, at least kPeakCoreParams).
using PeakModel = double (*)(double x, std::span<const double> a, std::span<double> dyda);

// Exponent e = -ln 2 ((x - a[kPosition]) / a[kHalfWidth])^2 of the Gaussian.
double gauss_exponent(double x, std::span<const double> a);
// Beyond this magnitude of e (about 29.4 half widths out) the Gaussian counts as 0.
constexpr double kGaussExponentLimit = 600.0;

// a1 exp(e) + base; outside the exponent's range only the base line, whose derivatives
// keep their values there, so the curve and its gradient stay continuous. A NaN exponent
// gives a NaN value.
double gauss_model(double x, std::span<const double> a, std::span<double> dyda);
// a1 / (1 + u^2) + base with u = (x - a2) / a3; u and 2 a1 / a3 count as 0 when a3 = 0.
double lorentz_model(double x, std::span<const double> a, std::span<double> dyda);

}  // namespace kestrin
