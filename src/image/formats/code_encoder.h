// Intensities back to pixel codes by an image's own law: what the background subtraction,
// the average smoothing and the ring removal write into an image.
#pragma once

#include <cstdint>
#include <vector>

#include "image/formats/image_data.h"

namespace kestrin {

class CodeEncoder {
public:
  // The law of an image of `type` with the image's overflow ratio and intensity table.
  CodeEncoder(const ImageData& image, int32_t type);

  // The code whose intensity is nearest v. The overflow law (R-AXIS, HiPiC, Bruker) and the
  // TIFF identity are inverted exactly: values up to 32767 rounded (halves to even), larger
  // ones Round(v / ratio) with bit 15 set (TIFF: rounded), clamped to the code range.
  // Other laws (Fuji, GEL, floating-point TIFF) take the nearest code of their table,
  // found by binary search when the table rises monotonically.
  uint16_t encode(double v) const;
  // The same, except that the two linear laws truncate values up to 32767 (the rule of
  // the average smoothing of a code array).
  uint16_t encode_truncating(double v) const;

private:
  enum class Law { kOverflow, kIdentity, kTable };
  uint16_t nearest_in_table(double v) const;

  Law law_;
  float ratio_;
  const CodeTable* table_;
  bool monotone_ = false;
};

}  // namespace kestrin
