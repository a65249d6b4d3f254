// The spot list's columns, duplicate filters, deletions, writer and label test.
#include "analysis/spot_list.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "base/convert.h"
#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"

namespace kestrin {

namespace {

constexpr const char* kColumnNames[] = {
    "no",       "spotx(pixel)", "spoty(pixel)", "spotintensity", "spotbg", "spotamp(net)", "spotint(net)",
    "bgdistance(pixel)", "2th.fit(deg)", "2th.ref(deg)", "2th.ini(deg)", "FwHm(deg)", "fit.amp", "band(pixel)",
    "FitType", "shikii(%)", "StartDist(pixel)", "omega(deg)", "spotx_all(pixel)", "spoty_all(pixel)", "spotint_all",
    "spotz(pixel)", "rrecx", "rrecy", "rrecz", "ipx", "ipz", "use", "hcalc", "kcalc", "lcalc", "diff",
    "h_", "h/2", "h/3", "h/4", "h/5", "h/6", "h/7", "h/8", "h/9", "h/10",
    "k_", "k/2", "k/3", "k/4", "k/5", "k/6", "k/7", "k/8", "k/9", "k/10",
    "l_", "l/2", "l/3", "l/4", "l/5", "l/6", "l/7", "l/8", "l/9", "l/10",
    "file_", "file_"};
static_assert(std::size(kColumnNames) == kSpotColumnCount - 1);

constexpr double kNeighbourSpotDistance = 2.0;

// Points in square cells a little wider than the distance, so that two points within the
// distance on both axes always lie in the same or in neighbouring cells. Null when a
// coordinate is not finite or too large for the cells; callers then compare every pair.
class PointGrid {
public:
  static std::optional<PointGrid> make(std::span<const double> x, std::span<const double> y, double distance) {
    const double cell = distance > 0 ? distance * (1 + 1e-7) : 1.0;
    PointGrid g(x, y, cell);
    for (size_t i = 0; i < x.size(); ++i) {
      const double cx = std::floor(x[i] / cell), cy = std::floor(y[i] / cell);
      if (!(std::fabs(cx) < 1e9 && std::fabs(cy) < 1e9)) return std::nullopt;
      g.cells_[key(int64_t(cx), int64_t(cy))].push_back(i);
    }
    return g;
  }

  // Calls fn(j) for every point j in the cells around point i, in index order per cell.
  template <class Fn>
  void around(size_t i, Fn fn) const {
    const int64_t cx = int64_t(std::floor(x_[i] / cell_)), cy = int64_t(std::floor(y_[i] / cell_));
    for (int64_t dy = -1; dy <= 1; ++dy)
      for (int64_t dx = -1; dx <= 1; ++dx) {
        const auto it = cells_.find(key(cx + dx, cy + dy));
        if (it == cells_.end()) continue;
        for (size_t j : it->second) fn(j);
      }
  }

private:
  PointGrid(std::span<const double> x, std::span<const double> y, double cell) : x_(x), y_(y), cell_(cell) {}
  static int64_t key(int64_t cx, int64_t cy) { return cx * 4000000007LL + cy; }

  std::span<const double> x_, y_;
  double cell_;
  std::unordered_map<int64_t, std::vector<size_t>> cells_;
};

bool within(double dx, double dy, double distance) { return std::fabs(dx) <= distance && std::fabs(dy) <= distance; }

// True for the points that have a later point within the distance.
std::vector<uint8_t> has_later_neighbour(std::span<const double> x, std::span<const double> y, double distance) {
  std::vector<uint8_t> flag(x.size(), 0);
  const std::optional<PointGrid> grid = PointGrid::make(x, y, distance);
  for (size_t i = 0; i < x.size(); ++i) {
    auto test = [&](size_t j) {
      if (j > i && !flag[i] && within(x[i] - x[j], y[i] - y[j], distance)) flag[i] = 1;
    };
    if (grid) grid->around(i, test);
    else
      for (size_t j = i + 1; j < x.size(); ++j) test(j);
  }
  return flag;
}

void reset_batch_markers(SpotList& list) {
  list.SpotBatchStart = 0;
  list.FocusedSpot = 0;
}

std::span<const double> first(const std::vector<double>& v, int32_t n) { return {v.data(), size_t(n)}; }

}  // namespace

void init_spot_columns() {
  auto& table = state().spot_list.SpotColumnNames;
  for (size_t i = 0; i < std::size(kColumnNames); ++i) table[i].name = kColumnNames[i];
  table[kSpotColumnCount - 1].name.clear();
}

void reset_spot_columns() {
  for (FileTag& t : state().spot_list.SpotColumnNames) {
    t.found = false;
    t.index = -1;
  }
}

void match_spot_columns(const std::vector<std::string>& cells) {
  // The names are constants: the table is filled here too, so that a header matches also
  // in a program that never made the spot window (the script runner, the harness).
  init_spot_columns();
  reset_spot_columns();
  auto& table = state().spot_list.SpotColumnNames;
  for (size_t c = 0; c < cells.size(); ++c) {
    const std::string cell = to_lower_ascii(cells[c]);
    for (FileTag& t : table)
      if (!t.name.empty() && cell.find(to_lower_ascii(t.name)) != std::string::npos) {
        t.found = true;
        t.index = int32_t(c);
      }
  }
}

std::vector<uint8_t> duplicate_pass(std::span<const double> x, std::span<const double> y, double distance) {
  std::vector<uint8_t> deleted(x.size(), 0);
  const std::optional<PointGrid> grid = PointGrid::make(x, y, distance);
  for (size_t i = 0; i < x.size(); ++i) {
    if (deleted[i]) continue;
    auto test = [&](size_t j) {
      if (j > i && within(x[i] - x[j], y[i] - y[j], distance)) deleted[j] = 1;
    };
    if (grid) grid->around(i, test);
    else
      for (size_t j = i + 1; j < x.size(); ++j) test(j);
  }
  return deleted;
}

void set_spot_count(SpotList& list, int32_t n) {
  const size_t count = size_t(std::max(n, 0));
  list.SpotX.resize(count);
  list.SpotY.resize(count);
  list.SpotIntensity.resize(count);
  if (list.SpotRecords.size() < count) list.SpotRecords.resize(count);
  list.SpotCount = int32_t(count);
}

void keep_spots(SpotList& list, const std::vector<uint8_t>& deleted) {
  size_t kept = 0;
  for (size_t i = 0; i < size_t(list.SpotCount); ++i) {
    if (deleted[i]) continue;
    list.SpotX[kept] = list.SpotX[i];
    list.SpotY[kept] = list.SpotY[i];
    list.SpotIntensity[kept] = list.SpotIntensity[i];
    ++kept;
  }
  set_spot_count(list, int32_t(kept));
}

void remove_near_spots(double distance) {
  SpotList& list = state().spot_list;
  keep_spots(list, duplicate_pass(first(list.SpotX, list.SpotCount), first(list.SpotY, list.SpotCount), distance));
}

void delete_spot_range(int32_t first_spot, int32_t last_spot) {
  SpotList& list = state().spot_list;
  if (first_spot < 0 || first_spot > last_spot || last_spot >= list.SpotCount) return;
  std::vector<uint8_t> deleted(size_t(list.SpotCount), 0);
  std::fill(deleted.begin() + first_spot, deleted.begin() + last_spot + 1, uint8_t(1));
  keep_spots(list, deleted);
  reset_batch_markers(list);
}

void delete_spots_in_area(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  SpotList& list = state().spot_list;
  std::vector<uint8_t> deleted(size_t(list.SpotCount), 0);
  for (size_t i = 0; i < deleted.size(); ++i) {
    const double x = list.SpotX[i], y = list.SpotY[i];
    deleted[i] = x1 <= x && x <= x2 && y1 <= y && y <= y2;
  }
  keep_spots(list, deleted);
  reset_batch_markers(list);
}

void delete_same_spots() {
  SpotList& list = state().spot_list;
  keep_spots(list, has_later_neighbour(first(list.SpotX, list.SpotCount), first(list.SpotY, list.SpotCount),
                                       kNeighbourSpotDistance));
  reset_batch_markers(list);
}

std::string spot_list_text(const SpotList& list) {
  std::string out;
  put_line(out, "no,spotx(pixel),spoty(pixel),spotintensity");
  for (size_t i = 0; i < size_t(list.SpotCount); ++i)
    put_line(out, std::to_string(i + 1) + "," + FloatToStr(list.SpotX[i]) + "," + FloatToStr(list.SpotY[i]) + "," +
                      FloatToStr(list.SpotIntensity[i]));
  return out;
}

void write_spot_list(const std::string& name) {
  errno = 0;
  if (!write_file_bytes(name, spot_list_text(state().spot_list))) throw EInOutError(io_error_message(errno ? errno : EIO));
}

int32_t spot_exists_near(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  const SpotList& list = state().spot_list;
  const size_t n = std::min(size_t(std::max(list.SpotCount, 0)), list.SpotRecords.size());
  for (size_t i = 0; i < n; ++i) {
    const SpotRecord& r = list.SpotRecords[i];
    if (std::llabs(int64_t(r.label_x) - x) < dx && std::llabs(int64_t(r.label_y) - y) < dy) return 1;
  }
  return 0;
}

}  // namespace kestrin
