// The automatic analysis.
#include "analysis/auto_analysis.h"

#include "analysis/center.h"
#include "analysis/dispatch.h"
#include "analysis/peak_search.h"
#include "analysis/sectored_histogram.h"
#include "analysis/tilt.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "ports/ports.h"

namespace kestrin {

void auto_analysis() {
  if (current_image().NoImageFlag == 1) {
    log_line(" auto_analysis() : Image data does not exist.");
    return;
  }
  read_parameters(current_image().ImageHeight);
  find_center();
  calc_sectored_histogram();
  peak_search();
  calc_tilt();
  calc_pixel_histogram_selection();
  peak_search();
}

}  // namespace kestrin
