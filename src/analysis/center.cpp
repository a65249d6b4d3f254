// Finding the beam centre: maximum search and centroid around the current centre.
#include "analysis/center.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/report.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

// The pixel of (x + offset) truncated, when it lies inside 0..size-1; -1 otherwise. Works on
// doubles first, so a far-away position cannot overflow.
int32_t inside_index(double position, int32_t offset, int32_t size) {
  const double t = std::trunc(position + offset);
  return t >= 0.0 && t < double(size) ? int32_t(t) : -1;
}

bool mask_fits(const ImageMask& mask, const ImageStore& img) {
  return mask.width == img.ImageWidth && mask.height == img.ImageHeight &&
         mask.bytes.size() == size_t(img.ImageWidth) * size_t(img.ImageHeight);
}

// Excluded by the mask: a mask byte of 1 while OmitGreen is on. A mask that does not fit
// the image excludes nothing.
bool excluded(const ImageMask& mask, const ImageStore& img, int32_t x, int32_t y) {
  if (!state().OmitGreen || !mask_fits(mask, img)) return false;
  return mask.bytes[size_t(x) + size_t(mask.width) * size_t(y)] == 1;
}

// An intensity as a whole number for the logged rows, clamped to the 64-bit range.
long long whole(double v) {
  if (!(v > -9.0e18)) return std::isnan(v) ? 0 : -9000000000000000000LL;
  if (v > 9.0e18) return 9000000000000000000LL;
  return static_cast<long long>(v);
}

}  // namespace

double shown_y(double y) {
  return state().options.VerticalReverse ? current_image().ImageHeight - y - 1.0 : y;
}

namespace {

struct Brightest {
  double intensity = 0.0;
  int32_t x = 0, y = 0;
  double background = 0.0;  // the median of the window's pixels, 0 without any
};

// The median (the upper one of an even count) of the intensities.
double median_of(std::vector<double>& values) {
  if (values.empty()) return 0.0;
  const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The first brightest pixel of the window in row-major order; each row's pixels are logged.
Brightest search_maximum(double X, double Y, int32_t hx, int32_t hy, Report& report) {
  const ImageStore& img = current_image();
  const ImageMask& mask = state().image_mask;
  Brightest best;
  std::vector<double> seen;
  for (int32_t i = -hy; i <= hy; ++i) {
    std::string line;
    const int32_t row = inside_index(Y, i, img.ImageHeight);
    for (int32_t j = -hx; j <= hx && row >= 0; ++j) {
      const int32_t col = inside_index(X, j, img.ImageWidth);
      if (col < 0 || excluded(mask, img, col, row)) continue;
      const double I = img.intensity(col, row);
      line += Format("%5d", {whole(I)});
      seen.push_back(I);
      if (I > best.intensity) best.intensity = I, best.x = col, best.y = row;
    }
    report.say(line);
  }
  best.background = median_of(seen);
  return best;
}

// The intensity centroid of the 19 x 19 pixels around the brightest one that reach a tenth
// of its intensity; false when they sum to 0.
bool centroid(const Brightest& best, double& X, double& Y) {
  const ImageStore& img = current_image();
  const ImageMask& mask = state().image_mask;
  double sum = 0.0, sum_x = 0.0, sum_y = 0.0;
  for (int32_t i = -9; i <= 9; ++i) {
    const int32_t row = best.y + i;
    if (row < 0 || row >= img.ImageHeight) continue;
    for (int32_t j = -9; j <= 9; ++j) {
      const int32_t col = best.x + j;
      if (col < 0 || col >= img.ImageWidth || excluded(mask, img, col, row)) continue;
      const double I = img.intensity(col, row);
      if (!(I >= 0.1 * best.intensity)) continue;
      sum += I;
      sum_x += I * j;
      sum_y += I * i;
    }
  }
  if (sum == 0.0) return false;
  X = best.x + sum_x / sum;
  Y = best.y + sum_y / sum;
  return true;
}

// The half width of the search along one coordinate: 6, or 11 when the coordinate is
// exactly 0, which then becomes the image's middle.
int32_t search_half_width(double& v, int32_t size) {
  if (v != 0.0) return 6;
  v = std::trunc(size / 2.0);
  return 11;
}

// The search window's rows and its maximum, logged.
Brightest search_and_log(double X, double Y, int32_t hx, int32_t hy, Report& report) {
  const Brightest best = search_maximum(X, Y, hx, hy, report);
  report.say("Maximum (" + Format("%4d", {best.x}) + "," + Format("%4d", {int32_t(shown_y(best.y))}) +
           ") Intensity = " + Format("%7.2f", {best.intensity}));
  return best;
}

void refine_to_centroid(const Brightest& best, double& X, double& Y, Report& report) {
  centroid(best, X, Y);
  report.say(" Fitted " + Format("%10.5f", {X}) + "," + Format("%10.5f", {shown_y(Y)}));
}

// A direct-beam spot stands well above the pixels around it; a maximum of the background
// (no beam, or a window at the image's edge) does not.
constexpr double kSpotOverBackground = 2.0;

bool clearly_above_background(const Brightest& best) {
  return best.intensity > kSpotOverBackground * best.background;
}

bool inside_image(double X, double Y) {
  const ImageStore& img = current_image();
  return inside_index(X, 0, img.ImageWidth) >= 0 && inside_index(Y, 0, img.ImageHeight) >= 0;
}

void keep_centre(const std::string& why, Report& report) {
  report.say("find_center() : " + why + ", the centre stays where it was.");
}

}  // namespace

void find_local_maximum(double& X, double& Y, Report& report) {
  const int32_t hx = search_half_width(X, current_image().ImageWidth);
  const int32_t hy = search_half_width(Y, current_image().ImageHeight);
  refine_to_centroid(search_and_log(X, Y, hx, hy, report), X, Y, report);
}

bool announce_find_center(Report& report) {
  report.say("<<<<<<<<<< FIND CENTER >>>>>>>>>>");
  if (current_image().NoImageFlag != 1) return true;
  report.say("find_center() : Image data does not exist.");
  return false;
}

int32_t find_center(Report& report) {
  if (current_image().NoImageFlag == 1) return 1;
  IntegrationParams& p = state().integration_params;
  double X = p.X0, Y = p.Y0;
  const int32_t hx = search_half_width(X, current_image().ImageWidth);
  const int32_t hy = search_half_width(Y, current_image().ImageHeight);
  if (!inside_image(X, Y)) {
    keep_centre("the start (" + Format("%10.5f", {X}) + "," + Format("%10.5f", {shown_y(Y)}) + ") lies outside the image",
                report);
    return 2;
  }
  const Brightest best = search_and_log(X, Y, hx, hy, report);
  if (!clearly_above_background(best)) {
    keep_centre("the maximum is not clearly above the background (median " + Format("%7.2f", {best.background}) + ")",
                report);
    return 2;
  }
  refine_to_centroid(best, X, Y, report);
  p.X0 = X, p.Y0 = Y;
  return 0;
}

}  // namespace kestrin
