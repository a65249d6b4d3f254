// The spot search: the contrast scan over row lanes, the duplicate passes and the refinement.
#include "analysis/spot_search.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string>

#include "analysis/spot_list.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "image/image_store.h"
#include "base/report.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kMaximumReach = 6;   // the brightest pixel is sought within +-6 pixels
constexpr int32_t kCentroidReach = 9;  // the centroid takes +-9 pixels around it
constexpr double kCentroidShare = 0.1;
constexpr double kSecondPassDistance = 2.0;
constexpr double kPeakOverBackground = 15.0;

// The pixels whose border square lies inside the image and inside the rectangle.
struct ScanBounds {
  int32_t xa = 0, xb = -1, ya = 0, yb = -1;  // inclusive
  bool empty() const { return xa > xb || ya > yb; }
};

ScanBounds scan_bounds(const ImageData& img, const SpotScan& s) {
  auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, -1, kMaxImageSide + 1)); };
  ScanBounds r;
  r.xa = clamp(std::max<int64_t>(int64_t(s.x0) + s.b, s.b));
  r.xb = clamp(std::min<int64_t>(int64_t(s.x1) - 1 - s.b, int64_t(img.ImageWidth) - 1 - s.b));
  r.ya = clamp(std::max<int64_t>(int64_t(s.y0) + s.b, s.b));
  r.yb = clamp(std::min<int64_t>(int64_t(s.y1) - 1 - s.b, int64_t(img.ImageHeight) - 1 - s.b));
  return r;
}

// The contrast test of one pixel from its four border sides and its peak-box sum. A zero
// background or side, by which a ratio would divide, makes no candidate.
struct Contrast {
  const SpotScan& s;
  double border_pixels, box_pixels;

  bool passes(double top, double bottom, double left, double right, double box) const {
    const double bg = (top + bottom + left + right) / border_pixels;
    const double peak = box / box_pixels;
    if (bg == 0.0 || top == 0.0 || bottom == 0.0 || left == 0.0 || right == 0.0) return false;
    const double t = s.tolerance;
    return peak / bg > s.ratio && peak - bg > kPeakOverBackground && std::fabs(1.0 - top / bottom) < t &&
           std::fabs(1.0 - bottom / left) < t && std::fabs(1.0 - left / right) < t && std::fabs(1.0 - right / top) < t;
  }
};

// One lane of rows with running sums: column sums of the side columns and of the peak box
// slide down a row at a time, row sums come from prefix sums. Exact for integer tables.
class ExactLane {
public:
  ExactLane(const ImageData& img, const std::vector<int64_t>& table, const SpotScan& s, const ScanBounds& r)
      : img_(img), table_(table), s_(s), r_(r), first_(r.xa - s.b), columns_(size_t(r.xb - r.xa + 2 * s.b + 1)) {}

  void run(int32_t ya, int32_t yb, const Contrast& test, std::vector<SpotCandidate>& out) {
    const int32_t b = s_.b, s = s_.s;
    std::vector<int64_t> side(columns_, 0), box(columns_, 0), top(columns_ + 1), bottom(columns_ + 1), peak(columns_ + 1);
    for (size_t c = 0; c < columns_; ++c) {
      for (int32_t y = ya - b + 1; y <= ya + b - 1; ++y) side[c] += at(c, y);
      for (int32_t y = ya - s; y <= ya + s; ++y) box[c] += at(c, y);
    }
    for (int32_t y = ya; y <= yb; ++y) {
      prefix_of_row(y - b, top);
      prefix_of_row(y + b, bottom);
      peak[0] = 0;
      for (size_t c = 0; c < columns_; ++c) peak[c + 1] = peak[c] + box[c];
      for (int32_t x = r_.xa; x <= r_.xb; ++x) {
        const size_t k = size_t(x - first_);  // column x in the lane's arrays
        const int64_t t = top[k + b + 1] - top[k - b], bo = bottom[k + b + 1] - bottom[k - b];
        const int64_t pk = peak[k + s + 1] - peak[k - s];
        if (test.passes(double(t), double(bo), double(side[k - b]), double(side[k + b]), double(pk))) out.push_back({x, y});
      }
      if (y == yb) break;
      for (size_t c = 0; c < columns_; ++c) {
        side[c] += at(c, y + b) - at(c, y - b + 1);
        box[c] += at(c, y + s + 1) - at(c, y - s);
      }
    }
  }

private:
  int64_t at(size_t c, int32_t y) const {
    return table_[img_.image_codes[size_t(first_) + c + size_t(img_.ImageWidth) * size_t(y)]];
  }
  void prefix_of_row(int32_t y, std::vector<int64_t>& p) const {
    p[0] = 0;
    for (size_t c = 0; c < columns_; ++c) p[c + 1] = p[c] + at(c, y);
  }

  const ImageData& img_;
  const std::vector<int64_t>& table_;
  const SpotScan& s_;
  const ScanBounds& r_;
  int32_t first_;
  size_t columns_;
};

// One lane of rows with the sums taken pixel by pixel, left to right and top to bottom, as
// written: the path for tables with fractional intensities.
void direct_lane(const ImageData& img, const SpotScan& s, const ScanBounds& r, int32_t ya, int32_t yb,
                 const Contrast& test, std::vector<SpotCandidate>& out) {
  const int32_t b = s.b;
  auto I = [&img](int32_t x, int32_t y) { return img.intensity(x, y); };
  for (int32_t y = ya; y <= yb; ++y)
    for (int32_t x = r.xa; x <= r.xb; ++x) {
      double top = 0, bottom = 0, left = 0, right = 0, box = 0;
      for (int32_t i = -b; i <= b; ++i) top += I(x + i, y - b);
      for (int32_t i = -b; i <= b; ++i) bottom += I(x + i, y + b);
      for (int32_t j = -b + 1; j <= b - 1; ++j) left += I(x - b, y + j);
      for (int32_t j = -b + 1; j <= b - 1; ++j) right += I(x + b, y + j);
      for (int32_t j = -s.s; j <= s.s; ++j)
        for (int32_t i = -s.s; i <= s.s; ++i) box += I(x + i, y + j);
      if (test.passes(top, bottom, left, right, box)) out.push_back({x, y});
    }
}

// The refinement over plain data: `mask` is null while the mask is off.
double refine_in(const ImageData& img, const uint8_t* mask, double& x, double& y) {
  if (!(std::fabs(x) < 1e9 && std::fabs(y) < 1e9)) return 0.0;
  const int64_t W = img.ImageWidth, H = img.ImageHeight;
  auto usable = [&](int64_t px, int64_t py) {
    return px >= 0 && py >= 0 && px < W && py < H && !(mask && mask[size_t(px) + size_t(W) * size_t(py)]);
  };
  double maximum = 0.0;
  int64_t mx = 0, my = 0;
  bool found = false;
  for (int32_t j = -kMaximumReach; j <= kMaximumReach; ++j)
    for (int32_t i = -kMaximumReach; i <= kMaximumReach; ++i) {
      const int64_t px = int64_t(std::trunc(x + i)), py = int64_t(std::trunc(y + j));
      if (!usable(px, py)) continue;
      const double v = img.intensity(int32_t(px), int32_t(py));
      if (v > maximum) maximum = v, mx = px, my = py, found = true;
    }
  if (!found) return 0.0;
  double sx = 0, sy = 0, sw = 0;
  const double floor_value = kCentroidShare * maximum;
  for (int32_t j = -kCentroidReach; j <= kCentroidReach; ++j)
    for (int32_t i = -kCentroidReach; i <= kCentroidReach; ++i) {
      if (!usable(mx + i, my + j)) continue;
      const double v = img.intensity(int32_t(mx + i), int32_t(my + j));
      if (!(v >= floor_value)) continue;
      sx += i * v;
      sy += j * v;
      sw += v;
    }
  if (sw != 0.0) {
    x = sx / sw + double(mx);
    y = sy / sw + double(my);
  }
  return maximum;
}

const uint8_t* mask_in_use(const ImageData& img) {
  const SharedState& st = state();
  const bool fits = st.image_mask.bytes.size() == size_t(img.ImageWidth) * size_t(img.ImageHeight);
  return st.OmitGreen && fits ? st.image_mask.bytes.data() : nullptr;
}

struct FoundSpots {
  std::vector<double> x, y, intensity;
};

// The checks shared by both searches; false (said) when the search cannot run.
bool search_accepted(const char* routine, int32_t width, const SpotScan& s, Report& report) {
  const ImageStore& img = current_image();
  const std::string prefix = std::string(" ") + routine + "() : ";
  if (img.NoImageFlag == 1) {
    report.say(prefix + "Image data does not exist.");
    return false;
  }
  if (width != img.ImageWidth) {
    report.say(prefix + Format("Width %d is not the image width %d.", {width, img.ImageWidth}));
    return false;
  }
  if (s.b < 1 || s.s < 0 || s.s > s.b) {
    report.say(prefix + Format("Size1 %d and Size2 %d are refused: 0 <= Size1 <= Size2 and 1 <= Size2 are needed.",
                             {s.s, s.b}));
    return false;
  }
  return true;
}

// Candidates, the first duplicate pass, refinement and the second pass.
FoundSpots search(const SpotScan& scan) {
  const ImageStore& img = current_image();
  const std::vector<SpotCandidate> candidates = find_spot_candidates(img, scan);
  std::vector<double> cx, cy;
  cx.reserve(candidates.size());
  cy.reserve(candidates.size());
  for (const SpotCandidate& c : candidates) cx.push_back(c.x), cy.push_back(c.y);
  const std::vector<uint8_t> first_pass = duplicate_pass(cx, cy, double(scan.d));
  FoundSpots f;
  for (size_t i = 0; i < candidates.size(); ++i)
    if (!first_pass[i]) f.x.push_back(cx[i]), f.y.push_back(cy[i]);
  f.intensity.assign(f.x.size(), 0.0);
  const uint8_t* mask = mask_in_use(img);
  const int32_t lanes = lane_count(int64_t(f.x.size()));
  run_lanes(lanes, [&](int32_t lane) {
    const auto from = size_t(lane_begin(0, int64_t(f.x.size()), lanes, lane));
    const auto to = size_t(lane_begin(0, int64_t(f.x.size()), lanes, lane + 1));
    for (size_t i = from; i < to; ++i) f.intensity[i] = refine_in(img, mask, f.x[i], f.y[i]);
  });
  const std::vector<uint8_t> second_pass = duplicate_pass(f.x, f.y, kSecondPassDistance);
  FoundSpots kept;
  for (size_t i = 0; i < f.x.size(); ++i)
    if (!second_pass[i]) kept.x.push_back(f.x[i]), kept.y.push_back(f.y[i]), kept.intensity.push_back(f.intensity[i]);
  return kept;
}

void put_spots(SpotList& list, size_t from, const FoundSpots& f) {
  set_spot_count(list, int32_t(from + f.x.size()));
  std::copy(f.x.begin(), f.x.end(), list.SpotX.begin() + ptrdiff_t(from));
  std::copy(f.y.begin(), f.y.end(), list.SpotY.begin() + ptrdiff_t(from));
  std::copy(f.intensity.begin(), f.intensity.end(), list.SpotIntensity.begin() + ptrdiff_t(from));
}

SpotScan scan_of(int32_t s, int32_t b, double ratio, double tolerance, int32_t d, int32_t x0, int32_t y0, int32_t x1,
                 int32_t y1) {
  return SpotScan{s, b, ratio, tolerance, d, x0, y0, x1, y1};
}

}  // namespace

std::vector<SpotCandidate> find_spot_candidates(const ImageData& img, const SpotScan& scan) {
  const ScanBounds r = scan_bounds(img, scan);
  if (scan.b < 1 || scan.s < 0 || scan.s > scan.b || r.empty() ||
      img.image_codes.size() != size_t(img.ImageWidth) * size_t(img.ImageHeight))
    return {};
  const Contrast test{scan, 8.0 * scan.b, double(2 * scan.s + 1) * double(2 * scan.s + 1)};
  const std::optional<std::vector<int64_t>> exact = integer_intensities(img.intensity_table);
  const int64_t rows = int64_t(r.yb) - r.ya + 1;
  const int32_t lanes = lane_count(rows);
  std::vector<std::vector<SpotCandidate>> found(static_cast<size_t>(lanes));
  run_lanes(lanes, [&](int32_t lane) {
    const auto ya = int32_t(lane_begin(r.ya, rows, lanes, lane)), yb = int32_t(lane_begin(r.ya, rows, lanes, lane + 1)) - 1;
    if (ya > yb) return;
    if (exact) ExactLane(img, *exact, scan, r).run(ya, yb, test, found[size_t(lane)]);
    else direct_lane(img, scan, r, ya, yb, test, found[size_t(lane)]);
  });
  std::vector<SpotCandidate> all;
  for (const auto& lane : found) all.insert(all.end(), lane.begin(), lane.end());
  return all;
}

void spot_search(int32_t width, int32_t s, int32_t b, double ratio, double tolerance, int32_t d, int32_t x0, int32_t y0,
                 int32_t x1, int32_t y1, Report& report) {
  const SpotScan scan = scan_of(s, b, ratio, tolerance, d, x0, y0, x1, y1);
  if (!search_accepted("spot_search", width, scan, report)) return;
  put_spots(state().spot_list, 0, search(scan));
}

void spot_search_add(int32_t width, int32_t s, int32_t b, double ratio, double tolerance, int32_t d, int32_t x0,
                     int32_t y0, int32_t x1, int32_t y1, Report& report) {
  const SpotScan scan = scan_of(s, b, ratio, tolerance, d, x0, y0, x1, y1);
  if (!search_accepted("spot_search_add", width, scan, report)) return;
  SpotList& list = state().spot_list;
  const int32_t old_count = list.SpotCount;
  put_spots(list, size_t(old_count), search(scan));
  list.SpotBatchStart = old_count;
}

double refine_spot(double& x, double& y) {
  const ImageStore& img = current_image();
  if (img.image_codes.size() != size_t(img.ImageWidth) * size_t(img.ImageHeight)) return 0.0;
  return refine_in(img, mask_in_use(img), x, y);
}

}  // namespace kestrin
