// The ring-mask window's commands.
#include "commands/mask_form_commands.h"

#include <algorithm>
#include <optional>

#include "analysis/crystal_file.h"
#include "analysis/dispatch.h"
#include "analysis/ring_mask.h"
#include "analysis/ring_removal.h"
#include "base/convert.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "commands/peak_fitting_commands.h"
#include "commands/peak_form_commands.h"
#include "image/files/ring_mask_file.h"
#include "ports/names/main_form_names.h"
#include "ports/names/mask_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kDirectionFull = 6;

// The open dialog as the main window left it, without its filter and file name.
std::string run_open_dialog() {
  FileDialogSetup setup = file_dialogs().open_state();
  setup.filter.clear();
  setup.file_name.clear();
  return file_dialogs().run_open(setup);
}

// The crystal chosen in the material list, or null.
HklParam* chosen_crystal() {
  std::vector<HklParam>& crystals = state().hklParam;
  const int index = controls().item_index(frmMask::cmbMaterial);
  return index >= 0 && size_t(index) < crystals.size() ? &crystals[size_t(index)] : nullptr;
}

}  // namespace

GridTexts ring_grid_texts(const RingList& rings) {
  GridTexts rows{{"No.", "2th.begin", "2th.end", "correct"}};
  const size_t n = std::min({rings.ring_begin.size(), rings.ring_end.size(), rings.ring_correct.size()});
  for (size_t i = 0; i < n; ++i)
    rows.push_back({Format("%d", {int32_t(i + 1)}), Format("%8.2f", {rings.ring_begin[i]}),
                    Format("%8.2f", {rings.ring_end[i]}), Format("%d", {rings.ring_correct[i]})});
  return rows;
}

void ring_list_from_grid(const GridTexts& grid, RingList& rings) {
  rings = RingList{};
  for (size_t row = 1; row < grid.size(); ++row) {
    const std::vector<std::string>& cells = grid[row];
    if (cells.size() < 4 || cells[1].empty() || cells[2].empty() || cells[3].empty()) break;
    const double begin = StrToFloat(cells[1]);
    const double end = StrToFloat(cells[2]);
    const int32_t correct = StrToInt(cells[3]);
    rings.ring_begin.push_back(begin);
    rings.ring_end.push_back(end);
    rings.ring_correct.push_back(correct);
  }
}

GridTexts miller_grid_texts(const HklParam& crystal) {
  GridTexts rows{{"No.", "MI", "d値", "Mask幅", "Use"}};
  for (int32_t i = 0; i < std::min(crystal.count, kMaxReflections); ++i) {
    const auto& [h, k, l] = crystal.hkl[size_t(i)];
    rows.push_back({Format("%d", {i + 1}), Format("(%d,%d,%d)", {h, k, l}), FloatToStr(double(h) * h + double(k) * k + double(l) * l),
                    Format("%d", {crystal.mask_width[size_t(i)]}), crystal.use[size_t(i)] ? "true" : "false"});
  }
  return rows;
}

void show_ring_grid() { mask_window().show_ring_grid(ring_grid_texts(state().rings)); }

void open_ring_mask_file_command() {
  const std::string name = run_open_dialog();
  if (name.empty()) return;
  read_ring_mask_file(name);
  show_ring_grid();
}

void update_ring_list() {
  ring_list_from_grid(mask_window().ring_grid(), state().rings);
  show_ring_grid();
}

void remove_rings_of_whole_image() {
  choose_radio(frmMain::rbtnRectangle);
  controls().set_item_index(frmMain::cmbDirection, kDirectionFull);
  pump_events();
  angle_intensity_command();
  Report report = log_report();
  const RingRemoval done = remove_rings(report);
  if (done.peaks_added > 0) show_peak_list();
  record_and_show_fits(done.fits);
  if (done.written) image_window().redraw_image();
  pump_events();
}

void subtract_rings_command() {
  update_ring_list();
  remove_rings_of_whole_image();
}

void open_crystal_file_command() {
  const std::string name = run_open_dialog();
  if (name.empty()) return;
  read_crystal_file(name);
  std::vector<std::string> names;
  for (const HklParam& c : state().hklParam) names.push_back(c.name);
  mask_window().show_materials(names);
  controls().set_item_index(frmMask::cmbMaterial, names.empty() ? -1 : 0);
  material_chosen();
}

void material_chosen() {
  if (const HklParam* crystal = chosen_crystal()) mask_window().show_miller_grid(miller_grid_texts(*crystal));
}

void miller_cell_edited(int row, const std::string& value) {
  HklParam* crystal = chosen_crystal();
  const std::optional<int32_t> width = TryStrToInt(value);
  if (!crystal || !width || row < 1 || row > std::min(crystal->count, kMaxReflections)) return;
  crystal->mask_width[size_t(row - 1)] = *width;
  crystal->use[size_t(row - 1)] = true;
  material_chosen();
}

void mask_reflections_command() {
  const HklParam* crystal = chosen_crystal();
  if (!crystal) return;
  for (int32_t i = 0; i < std::min(crystal->count, kMaxReflections); ++i)
    paint_ring_mask(*crystal, i, crystal->mask_width[size_t(i)], crystal->use[size_t(i)] ? 1 : 0);
  image_window().redraw_image();
}

}  // namespace kestrin
