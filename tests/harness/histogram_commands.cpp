// Harness commands of the pixel and sectored integrations: PixelIntensity and Sectoring of
// the Kestrin script object.
#include "analysis/dispatch.h"
#include "analysis/sectored_histogram.h"
#include "harness/harness.h"

namespace kestrin::harness {

void register_histogram_commands(Registry& r) {
  r.add("PixelIntensity", [](const Args&) -> std::optional<std::string> {
    calc_pixel_histogram_selection();
    return std::nullopt;
  });
  r.add("Sectoring", [](const Args&) -> std::optional<std::string> {
    calc_sectored_histogram();
    return std::nullopt;
  });
}

}  // namespace kestrin::harness
