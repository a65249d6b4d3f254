// Display levels from the grey scale.
#include "image/display_levels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrin {

uint8_t display_level_of(int32_t v, const DisplayScale& scale) {
  if (v < scale.LowEdge) return 0;
  if (v > scale.HighEdge) return 255;
  if (scale.HighEdge <= scale.LowEdge) return 0;  // v equals both edges
  const double level = std::nearbyint((double(v) - scale.LowEdge) / (double(scale.HighEdge) - scale.LowEdge) * 255.0);
  return uint8_t(std::clamp(level, 0.0, 255.0));
}

void compute_display_levels(const ImageStore& image, const DisplayScale& scale, DisplayLevels& levels) {
  if (image.NoImageFlag == 1) return;
  const std::vector<double>& table = scale.DisplayMode == 0 ? image.log_table : image.intensity_table;
  std::vector<uint8_t> by_code(kCodeCount, display_level_of(0, scale));
  for (size_t c = 0; c < table.size() && c < by_code.size(); ++c) by_code[c] = display_level_of(round_saturated(table[c]), scale);
  levels.width = image.ImageWidth;
  levels.height = image.ImageHeight;
  levels.level.resize(image.image_codes.size());
  for (size_t i = 0; i < image.image_codes.size(); ++i) levels.level[i] = by_code[image.image_codes[i]];
}

}  // namespace kestrin
