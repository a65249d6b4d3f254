// The sectored pixel histograms: the frame shared by the fixed and the free sectors.
#include "analysis/sectored_histogram.h"

#include <string>

#include "analysis/histogram_frame.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kFixedSectors = 16;

struct SectoredRun {
  const char* routine;
  bool fixed16;
  const char* range_format;  // of the graph window's range edits
};

// The pass, the per-sector lines and the report; the sector store is sized and cleared.
PatternShow run_sectors(const SectoredRun& run, int32_t sectors, Report& report) {
  const ImageStore& img = current_image();
  SharedState& st = state();
  const IntegrationParams& p = st.integration_params;
  const AngleScan scan = make_scan(0, img.ImageWidth - 1, 0, img.ImageHeight - 1,
                                   run.fixed16 ? Sampling::RoundedDistance : Sampling::Distance);
  const SectoredResult r = store_sectored_patterns(
      scan, SectorDivision{run.fixed16, p.division_angle, sectors}, kFirstDistanceBin, BinValues{});
  for (int32_t k = 0; k < sectors; ++k)
    report.say("Sector =" + Format("%d", {k}) + ", DataNumber =" +
             Format("%d", {st.sector_patterns.sectors[size_t(k)].last_point}));
  report.say(Format("Area        x= %4d to %4d ", {0, img.ImageWidth - 1}));
  report.say(Format("Area        y= %4d to %4d ", {0, img.ImageHeight - 1}));
  report.say("Max distance =" + Format("%4d", {r.last}));
  report.say("Max intensity =" + Format("%6d", {r.maximum}));
  report.say("Intensity was multiplied by =" + Format("%d", {10}));

  NaxPattern& nax = st.nax_pattern;
  nax.N = r.last + 1;
  nax.maximum = r.maximum;
  set_pattern_title();
  nax.set_kind(run.fixed16 ? kSector16Pixel : kFreeSectorPixel);
  st.peak_table.count = 0;
  return publish_pixel_ranges(r.last, saturate_int32(5.0 * r.maximum), run.range_format);
}

// The start every sectored routine shares after its banner: the image, the parameters and
// the centre. False when the routine stops.
bool ready(const char* routine, bool tilted, Report& report) {
  return image_ready(std::string(routine) + "() : Image data does not exist.", report) &&
         distance_parameters_usable(routine, report, tilted);
}

}  // namespace

PatternShow calc_sectored_histogram(Report& report) {
  report.say(kSectoringBanner);
  if (!ready("calc_sectored_histogram", false, report)) return {};
  // Sixteen sectors whatever the division angle: the store records 16, so readers walk
  // these and never the older contents of further sectors.
  clear_sector_patterns(kFixedSectors);
  state().peak_table.count = 0;
  return run_sectors({"calc_sectored_histogram", true, "%d"}, kFixedSectors, report);
}

PatternShow calc_free_angle_sectored_pixel_histogram(Report& report) {
  report.say(kFreeSectoringBanner);
  if (!ready("calc_free_angle_sectored_pixel_histogram", true, report)) return {};
  const int32_t M = free_sector_count(report);
  if (M == 0) return {};
  clear_sector_patterns(M);
  state().peak_table.count = 0;
  log_centre_and_tilt(report);
  return run_sectors({"calc_free_angle_sectored_pixel_histogram", false, "%6d"}, M, report);
}

}  // namespace kestrin
