// The ring removal.
#include "analysis/ring_removal.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/peak_edit.h"
#include "analysis/ring_geometry.h"
#include "analysis/single_peak_fit.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "base/report.h"
#include "image/display/display.h"
#include "image/formats/code_encoder.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr double kSideStep = 0.005;

// A ring whose base line was fitted: its 2theta bounds and the line (pattern units).
struct FittedRing {
  double begin, end, base, slope;
};

// The pattern bin of a 2theta, when it lies in the pattern.
std::optional<int32_t> ring_bin_of(double two_theta) {
  const IntegrationParams& p = state().integration_params;
  const double k = std::nearbyint((two_theta - p.two_theta_begin) / p.two_theta_step);
  if (!(k >= 0 && k < double(state().nax_pattern.N) && k < kPatternSize)) return std::nullopt;
  return int32_t(k);
}

// A peak at the ring's middle, or beside it towards the higher neighbour bin.
std::optional<EditedPeak> add_ring_peak(double mid, Report& report) {
  if (auto added = add_peak_at_angle(mid, report)) return added;
  const auto k = ring_bin_of(mid);
  if (!k || *k < 1) return std::nullopt;
  const auto& v = state().nax_pattern.values;
  return add_peak_at_angle(v[size_t(*k)] < v[size_t(*k - 1)] ? mid - kSideStep : mid + kSideStep, report);
}

// The index of the table's peak at `two_theta` (the table is sorted after every add).
int32_t peak_index(double two_theta) {
  const PeakTable& t = state().peak_table;
  for (int32_t j = 0; j < t.count && j < kMaxPeaks; ++j)
    if (t.two_theta[size_t(j)] == two_theta) return j;
  return -1;
}

void say_ring_left(double begin, double end, const std::string& why, Report& report) {
  report.say(Format(" remove_rings() : ring %8.4f - %8.4f left unchanged: ", {begin, end}) + why);
}

// The ring's base line fitted under its peak, or nothing (logged) when no peak could be
// added, the fit did not converge or the line is not positive over the whole ring: a line
// at or below zero would blacken the band, and an unconverged fit's line is no background.
std::optional<FittedRing> fit_ring(double begin, double end, RingRemoval& done, Report& report) {
  const auto added = add_ring_peak((begin + end) / 2, report);
  if (!added) {
    say_ring_left(begin, end, "no peak could be added.", report);
    return std::nullopt;
  }
  done.peaks_added += 1;
  const int32_t j = peak_index(added->position);
  const IntegrationParams& p = state().integration_params;
  const double first = std::nearbyint((begin - p.two_theta_begin) / p.two_theta_step);
  const double last = std::nearbyint((end - p.two_theta_begin) / p.two_theta_step);
  const bool fittable = std::fabs(first) < 1e9 && std::fabs(last) < 1e9;
  if (fittable) done.fits += 1;
  if (!fittable || !single_peak_fit(j, int32_t(first), int32_t(last))) {
    say_ring_left(begin, end, "the fit did not converge.", report);
    return std::nullopt;
  }
  const FitRecord& r = state().fit_tables.fitted[size_t(j)];
  const FittedRing ring{begin, end, r.base, r.base_tilt};
  // The line is straight, so it is positive over the ring when it is at both ends.
  for (double t : {begin, end}) {
    const double line = ring.base + ring.slope * t;
    if (!(line > 0)) {
      say_ring_left(begin, end, Format("the fitted base line is %.1f at %8.4f.", {line, t}), report);
      return std::nullopt;
    }
  }
  return ring;
}

// Writes the base lines into the pixels, rows in lanes over the worker threads.
void write_base_lines(const std::vector<FittedRing>& rings) {
  ImageStore& img = current_image();
  const CodeEncoder encoder(img, img.image_type);
  const int32_t W = img.ImageWidth, H = img.ImageHeight;
  const DetectorGeometry g = pixel_geometry(state().integration_params);
  const int32_t lanes = lane_count(H);
  run_lanes(lanes, [&](int32_t lane) {
    for (int64_t y = lane_begin(0, H, lanes, lane); y < lane_begin(0, H, lanes, lane + 1); ++y) {
      const DetectorGeometry::Row row = g.row(double(y));
      for (int32_t x = 0; x < W; ++x) {
        const double t = g.two_theta(row, x);  // as calc_pixel_2theta (1, x, y)
        for (auto ring = rings.rbegin(); ring != rings.rend(); ++ring) {
          if (!(t >= ring->begin && t <= ring->end)) continue;
          const double c = std::cos(t * kDegToRad);
          const double v = (ring->base + ring->slope * t) * c * c * c / 10;
          img.image_codes[size_t(x) + size_t(W) * size_t(y)] = v > 0 ? encoder.encode(v) : uint16_t(0);
          break;
        }
      }
    }
  });
}

void rebuild_display_levels() {
  const ImageStore& img = current_image();
  SharedState& st = state();
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, st.display_scale, st.display_levels.level);
}

}  // namespace

RingRemoval remove_rings(Report& report) {
  RingRemoval done;
  if (current_image().NoImageFlag == 1 || !state().nax_pattern.has_kind(kAngleHistogram)) return done;
  const RingList& list = state().rings;
  const size_t n = std::min({list.ring_begin.size(), list.ring_end.size(), list.ring_correct.size()});
  std::vector<FittedRing> fitted;
  for (size_t i = 0; i < n; ++i)
    if (auto ring = fit_ring(list.ring_begin[i], list.ring_end[i], done, report)) fitted.push_back(*ring);
  if (fitted.empty()) return done;
  write_base_lines(fitted);
  rebuild_display_levels();
  done.written = true;
  return done;
}

}  // namespace kestrin
