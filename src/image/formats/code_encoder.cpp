// Inverses of the intensity laws.
#include "image/formats/code_encoder.h"

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

constexpr double kLargestPlainCode = 32767.0;

uint16_t clamped_code(double v) {
  if (!(v > 0.0)) return 0;
  return v >= 65535.0 ? uint16_t(65535) : uint16_t(std::nearbyint(v));
}

}  // namespace

CodeEncoder::CodeEncoder(const ImageData& image, int32_t type)
    : law_(Law::kTable), ratio_(image.OverflowRatio), table_(&image.intensity_table) {
  switch (type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS:
    case kTypeHipic:
    case kTypeBruker: law_ = Law::kOverflow; break;
    case kTypeTiff: law_ = Law::kIdentity; break;
    default: monotone_ = std::is_sorted(table_->begin(), table_->end()); break;
  }
}

uint16_t CodeEncoder::encode(double v) const {
  switch (law_) {
    case Law::kOverflow: return encode_overflow_intensity(v, ratio_);
    case Law::kIdentity: return clamped_code(v);
    case Law::kTable: break;
  }
  return nearest_in_table(v);
}

uint16_t CodeEncoder::encode_truncating(double v) const {
  if (law_ != Law::kTable && v >= 0.0 && v <= kLargestPlainCode) return uint16_t(std::trunc(v));
  return encode(v);
}

uint16_t CodeEncoder::nearest_in_table(double v) const {
  const CodeTable& t = *table_;
  if (t.empty() || std::isnan(v)) return 0;
  if (!monotone_) {
    size_t best = 0;
    for (size_t c = 1; c < t.size(); ++c)
      if (std::fabs(t[c] - v) < std::fabs(t[best] - v)) best = c;
    return uint16_t(best);
  }
  // The first code at or above v, or the code below it when that one is nearer; a flat top
  // (codes past a Fuji image's depth) gives its first code.
  const auto at = std::lower_bound(t.begin(), t.end(), std::min(v, t.back()));
  size_t c = size_t(at - t.begin());
  if (c > 0 && v - t[c - 1] <= t[c] - v) c = std::lower_bound(t.begin(), t.end(), t[c - 1]) - t.begin();
  return uint16_t(c);
}

}  // namespace kestrin
