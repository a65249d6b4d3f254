// The oscillation batch.
#include "analysis/osc_batch.h"

#include <algorithm>
#include <optional>

#include "analysis/batch_state.h"
#include "analysis/spot_list.h"
#include "analysis/spot_search.h"
#include "base/convert.h"
#include "base/paths.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/osc_ana_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr double kSameOscSpotDistance = 0.1;

struct OscSettings {
  int32_t s = 0, b = 0;
  double ratio = 0, tolerance = 0;
  int32_t d = 0, distance = 0;
};

std::optional<OscSettings> read_settings() {
  const Controls& c = controls();
  const auto s = TryStrToInt(c.text(frmOscAna::edtCenterSize));
  const auto b = TryStrToInt(c.text(frmOscAna::edtBGSize));
  const auto ratio = TryStrToFloat(c.text(frmOscAna::edtShikii1));
  const auto tolerance = TryStrToFloat(c.text(frmOscAna::edtShikii2));
  const auto d = TryStrToInt(c.text(frmOscAna::edtSameSpotDistance));
  const auto distance = TryStrToInt(c.text(frmOscAna::edtSearchDistance));
  const auto discard = TryStrToInt(c.text(frmOscAna::edtSpotDiscardDistance));  // checked, not used
  if (!s || !b || !ratio || !tolerance || !d || !distance || !discard) return std::nullopt;
  return OscSettings{*s, *b, *ratio, *tolerance, *d, *distance};
}

// Trunc of a window edge, kept where Int32 holds it: edges beyond the image find nothing
// either way.
int32_t edge(double v) { return Trunc(std::clamp(v, -1e9, 1e9)); }

// The searches around every reference position of one image.
void search_references(const OscSettings& st) {
  const ImageStore& img = current_image();
  const std::vector<SpotReference>& refs = state().spot_reference;
  for (size_t k = 0; k < refs.size(); ++k) {
    const int32_t x0 = std::max(edge(refs[k].x - st.distance), 0);
    const int32_t x1 = std::min(edge(refs[k].x + st.distance), img.ImageWidth);
    const int32_t y0 = std::max(edge(refs[k].y - st.distance), 0);
    const int32_t y1 = std::min(edge(refs[k].y + st.distance), img.ImageHeight);
    auto search = k == 0 ? &spot_search : &spot_search_add;
    search(img.ImageWidth, st.s, st.b, st.ratio, st.tolerance, st.d, x0, y0, x1, y1);
  }
}

}  // namespace

std::string osc_output_name(const std::string& out_folder, const std::string& image, const std::string& suffix) {
  const bool slash = !out_folder.empty() && out_folder.back() == '/';
  return out_folder + (slash ? "" : "/") + base_name_of(image) + suffix + ".csv";
}

int32_t osc_ana_batch(const std::vector<std::string>& files, const std::string& out_folder, const std::string& suffix) {
  const std::optional<OscSettings> settings = read_settings();
  if (!settings) {
    log_line("Spot Search setting read errro!");
    return 1;
  }
  for (const std::string& file : files) {
    if (poll_batch_state() == 1) return 0;
    const bool loaded = load_current_image(file);
    if (poll_batch_state() == 1) return 0;
    if (!loaded) {  // the store still holds an earlier image: its spots are not this file's
      log_line(Format(" osc_ana_batch() : %s was not loaded; no spot list is written for it.", {file}));
      continue;
    }
    search_references(*settings);
    remove_near_spots(kSameOscSpotDistance);
    image_window().redraw_image();
    if (poll_batch_state() == 1) return 0;
    write_spot_list(osc_output_name(out_folder, file, suffix));
  }
  return 0;
}

}  // namespace kestrin
