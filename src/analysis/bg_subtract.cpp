// The background subtraction.
#include "analysis/bg_subtract.h"

#include <algorithm>

#include "analysis/bg_filter.h"
#include "base/convert.h"
#include "base/report.h"
#include "image/formats/code_encoder.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

bool subtractable(int32_t type) {
  switch (type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS:
    case kTypeHipic:
    case kTypeTiff: return true;
    default: return false;
  }
}

}  // namespace

double subtract_bg(std::span<uint16_t> source, std::span<uint16_t> bg_codes, double factor, double percent,
                   double& offset, int32_t height, int32_t width, int32_t smooth_size, int32_t smooth_mode,
                   Report& report) {
  offset = 0;
  const int64_t pixels = int64_t(width) * height;
  if (width < 0 || height < 0 || int64_t(source.size()) != pixels || int64_t(bg_codes.size()) != pixels) {
    report.say(" subtract_bg() : The code arrays do not hold Width x Height codes.");
    return offset;
  }
  if (smooth_mode == kSmoothMedian) smooth_median_codes(smooth_size, width, height, source);
  if (smooth_mode == kSmoothAverage) smooth_average_codes(smooth_size, width, height, source);
  const ImageStore& img = current_image();
  const CodeTable& I = img.intensity_table;
  const CodeTable& J = bg_image().intensity_table;
  double most = 0;
  for (size_t p = 0; p < source.size(); ++p) {
    const double s = I[source[p]], b = I[bg_codes[p]];
    if (s < b) most = std::max(most, b * factor + percent - s);
  }
  offset = most * percent / 100;
  if (!subtractable(img.image_type)) {
    report.say(Format(" subtract_bg() : The subtraction is not done for image type %d.", {img.image_type}));
    return offset;
  }
  const CodeEncoder encoder(img, img.image_type);
  for (size_t p = 0; p < source.size(); ++p)
    bg_codes[p] = encoder.encode(std::max(0.0, I[source[p]] + offset - J[bg_codes[p]] * factor));
  return offset;
}

}  // namespace kestrin
