// The oscillation batch.
#include "analysis/osc_batch.h"

#include <algorithm>

#include "analysis/batch_state.h"
#include "analysis/spot_list.h"
#include "analysis/spot_search.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/report.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr double kSameOscSpotDistance = 0.1;

// Trunc of a window edge, kept where Int32 holds it: edges beyond the image find nothing
// either way.
int32_t edge(double v) { return Trunc(std::clamp(v, -1e9, 1e9)); }

// The searches around every reference position of one image.
void search_references(const OscSettings& st, Report& report) {
  const ImageStore& img = current_image();
  const std::vector<SpotReference>& refs = state().spot_reference;
  for (size_t k = 0; k < refs.size(); ++k) {
    const int32_t x0 = std::max(edge(refs[k].x - st.distance), 0);
    const int32_t x1 = std::min(edge(refs[k].x + st.distance), img.ImageWidth);
    const int32_t y0 = std::max(edge(refs[k].y - st.distance), 0);
    const int32_t y1 = std::min(edge(refs[k].y + st.distance), img.ImageHeight);
    auto search = k == 0 ? &spot_search : &spot_search_add;
    search(img.ImageWidth, st.s, st.b, st.ratio, st.tolerance, st.d, x0, y0, x1, y1, report);
  }
}

}  // namespace

std::string osc_output_name(const std::string& out_folder, const std::string& image, const std::string& suffix) {
  const bool slash = !out_folder.empty() && out_folder.back() == '/';
  return out_folder + (slash ? "" : "/") + base_name_of(image) + suffix + ".csv";
}

int32_t osc_ana_batch(const std::vector<std::string>& files, const std::string& out_folder, const std::string& suffix,
                      const OscSettings& settings, const OscSteps& steps, Report& report) {
  for (const std::string& file : files) {
    if (poll_batch_state() == 1) return 0;
    const bool loaded = steps.load(file);
    if (poll_batch_state() == 1) return 0;
    if (!loaded) {  // the store still holds an earlier image: its spots are not this file's
      report.say(Format(" osc_ana_batch() : %s was not loaded; no spot list is written for it.", {file}));
      continue;
    }
    search_references(settings, report);
    remove_near_spots(kSameOscSpotDistance);
    steps.searched();
    if (poll_batch_state() == 1) return 0;
    write_spot_list(osc_output_name(out_folder, file, suffix));
  }
  return 0;
}

}  // namespace kestrin
