// Display levels, palettes, zoom arithmetic and the view renderer.
#include "image/display/display.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/lanes.h"

namespace kestrin {

namespace {

constexpr int kCodeCount = 65536;

// Round half to even in the int range used by the view arithmetic (NaN gives 0).
int32_t round_even(double v) { return saturate_int32(std::nearbyint(v)); }

// levels[i] = table[codes[i]], in lanes of one huge page of levels over the worker threads: the
// pass and the first touch of fresh level pages are shared out, and no two threads fault the
// same huge page. Each level depends on its pixel alone.
void write_levels(std::span<const uint16_t> codes, const std::vector<uint8_t>& table, uint8_t* levels) {
  constexpr size_t kLane = kHugePageBytes;
  const size_t n = codes.size();
  run_lanes(int32_t((n + kLane - 1) / kLane), [&](int32_t lane) {
    // Local pointers: the byte stores could otherwise alias the captured ones, reloaded per pixel.
    const uint16_t* c = codes.data();
    const uint8_t* t = table.data();
    uint8_t* out = levels;
    for (size_t i = size_t(lane) * kLane, end = std::min(n, i + kLane); i < end; ++i) out[i] = t[c[i]];
  });
}

}  // namespace

void build_display_levels(const ImagePixels& image, const DisplayScale& scale, UninitVector<uint8_t>& levels) {
  std::vector<uint8_t> table(kCodeCount);
  const std::span<const double> src = scale.DisplayMode == 0 ? image.log_table : image.intensity_table;
  const double span = double(scale.HighEdge) - double(scale.LowEdge);
  for (int c = 0; c < kCodeCount; ++c) {
    const int32_t v = size_t(c) < src.size() ? round_even(src[size_t(c)]) : 0;  // no table yet: 0
    int32_t level;
    if (v < scale.LowEdge)
      level = 0;
    else if (v > scale.HighEdge)
      level = 255;
    else
      level = span > 0 ? round_even((double(v) - scale.LowEdge) / span * 255.0) : 255;
    table[size_t(c)] = uint8_t(std::clamp(level, 0, 255));
  }
  // Every level is written below: a buffer too small is let go rather than grown with a copy.
  if (levels.capacity() < image.codes.size()) levels = {};
  levels.resize(image.codes.size());
  write_levels(image.codes, table, levels.data());
}

Palette image_palette(bool reverse, bool omit_blue) {
  Palette p;
  for (int i = 0; i < 256; ++i) {
    const uint8_t g = uint8_t(reverse ? i : 255 - i);
    p[size_t(i)] = rgb_to_color(g, g, g);
  }
  if (omit_blue) p[reverse ? 255 : 0] = 0xFF0000;
  return p;
}

Palette mask_palette(TColor mask_colour) {
  Palette p{};
  p[1] = ~mask_colour & 0xFFFFFF;
  return p;
}

int32_t linear_display_bound(int32_t m, int32_t previous) {
  if (m <= 255) return 255;
  if (m <= 5000) return 2000;
  if (m <= 20000) return 10000;
  if (m <= 50000) return 30000;
  return previous;
}

void update_view_extent(ImageView& v, int32_t width, int32_t height) {
  v.ViewCols = round_even(v.ViewWidth / v.Zoom);
  v.ViewRows = round_even(v.ViewHeight / v.Zoom);
  v.DrawCols = std::min(v.ViewCols, width);
  v.DrawRows = std::min(v.ViewRows, height);
}

ZoomResult set_image_zoom(ImageView& v, double z, int32_t w, int32_t h) {
  ZoomResult r;
  v.PreviousZoom = v.Zoom;
  if (z != 0.0) {
    v.WholeView = false;
    v.Zoom = z;
  } else {
    v.WholeView = true;
    v.Zoom = double(h) / v.ViewHeight <= double(w) / v.ViewWidth ? double(v.ViewWidth) / w : double(v.ViewHeight) / h;
  }
  update_view_extent(v, w, h);
  r.scroll_max_x = w < v.ViewCols ? 0 : w - v.ViewCols;
  r.scroll_max_y = h < v.ViewRows ? 0 : h - v.ViewRows;
  if (z == 0.0) {
    const int32_t side = std::max(w, h);
    v.FrameWidth = w < v.ViewCols ? 256 : round_even(v.ViewCols * 256.0 / side);
    v.FrameHeight = h < v.ViewRows ? 256 : round_even(v.ViewRows * 256.0 / side);
    r.reset_scroll = true;
    r.scroll_max_x = r.scroll_max_y = 0;
    v.ScrollX = v.ScrollY = 0;
  }
  r.large_change_x = v.ViewCols;
  r.large_change_y = v.ViewRows;
  if (v.WholeView)
    r.combo_index = 0;
  else if (v.Zoom == 1.0)
    r.combo_index = 1;
  else if (v.Zoom == 2.0)
    r.combo_index = 2;
  else if (v.Zoom == 4.0)
    r.combo_index = 3;
  else if (v.Zoom == 8.0)
    r.combo_index = 4;
  return r;
}

double image_to_screen_x(const ImageView& v, double x) { return (x - v.ScrollX) * v.ViewWidth / v.ViewCols; }
double image_to_screen_y(const ImageView& v, double y) { return (y - v.ScrollY) * v.ViewHeight / v.ViewRows; }

ImagePoint screen_to_image(const ImageView& v, int32_t X, int32_t Y) {
  if (v.WholeView)
    return {round_even(double(v.ViewCols) * X / v.ViewWidth), round_even(double(v.ViewRows) * Y / v.ViewHeight)};
  return {round_even(X / v.Zoom + v.ScrollX), round_even(Y / v.Zoom + v.ScrollY)};
}

bool render_image_view(std::span<const uint8_t> levels, std::span<const uint8_t> mask, int32_t width,
                       int32_t height, const ImageView& v, int32_t left, int32_t top, const Palette& palette,
                       const Palette& mask_pal, std::vector<uint32_t>& out) {
  if (top < 0 || left < 0 || top + v.DrawRows > height || width <= 0 ||
      levels.size() < size_t(width) * size_t(height))
    return false;
  const int32_t W = v.ViewWidth, H = v.ViewHeight;
  out.resize(size_t(W) * size_t(H));
  // Screen pixel p shows view cell p * ViewCols / Round(ViewCols * Zoom) (nearest neighbour,
  // the same scale as the overlay transforms); the image ends at Round(DrawCols * Zoom) + 1
  // and Round(DrawRows * Zoom) + 1, past which the margin colour is drawn.
  const int32_t dest_w = std::max(1, round_even(v.ViewCols * v.Zoom)), dest_h = std::max(1, round_even(v.ViewRows * v.Zoom));
  const int32_t edge_x = v.ViewCols > v.DrawCols ? round_even(v.DrawCols * v.Zoom) + 1 : W;
  const int32_t edge_y = v.ViewRows > v.DrawRows ? round_even(v.DrawRows * v.Zoom) + 1 : H;
  std::array<uint32_t, 256> pal, mpal;
  for (int i = 0; i < 256; ++i) {
    pal[size_t(i)] = to_rgb32(palette[size_t(i)]);
    mpal[size_t(i)] = to_rgb32(mask_pal[size_t(i)]);
  }
  const uint32_t margin = to_rgb32(kMarginColour);
  // Column lookup once per redraw: -1 where nothing of the image is drawn.
  std::vector<int32_t> column(static_cast<size_t>(W));
  for (int32_t px = 0; px < W; ++px) {
    const int32_t c = int32_t(int64_t(px) * v.ViewCols / dest_w);
    const int32_t x = left + c;
    column[size_t(px)] = px < edge_x && c < v.DrawCols && x < width ? x : -1;
  }
  const bool has_mask = mask.size() == levels.size();
  for (int32_t py = 0; py < H; ++py) {
    uint32_t* row_out = out.data() + size_t(py) * size_t(W);
    const int32_t r = int32_t(int64_t(py) * v.ViewRows / dest_h);
    if (py >= edge_y || r >= v.DrawRows) {
      std::fill(row_out, row_out + W, margin);
      continue;
    }
    const size_t row = size_t(top + r) * size_t(width);
    const uint8_t* lv = levels.data() + row;
    const uint8_t* mk = has_mask ? mask.data() + row : nullptr;
    for (int32_t px = 0; px < W; ++px) {
      const int32_t x = column[size_t(px)];
      if (x < 0) {
        row_out[px] = margin;
        continue;
      }
      row_out[px] = mk ? pal[lv[x]] ^ mpal[mk[x]] : pal[lv[x]];
    }
  }
  return true;
}

void render_thumbnail(std::span<const uint8_t> levels, int32_t width, int32_t height, const Palette& palette,
                      int32_t size, std::vector<uint32_t>& out, int32_t* drawn_w, int32_t* drawn_h) {
  out.assign(size_t(size) * size_t(size), to_rgb32(kMarginColour));
  if (width <= 0 || height <= 0 || levels.size() < size_t(width) * size_t(height)) return;
  const double s = double(width) / size >= double(height) / size ? double(size) / width : double(size) / height;
  const int32_t tw = std::min(round_even(width * s), size), th = std::min(round_even(height * s), size);
  for (int32_t py = 0; py < th; ++py) {
    const int32_t y = std::min(int32_t(int64_t(py) * height / th), height - 1);
    for (int32_t px = 0; px < tw; ++px) {
      const int32_t x = std::min(int32_t(int64_t(px) * width / tw), width - 1);
      out[size_t(py) * size_t(size) + size_t(px)] = to_rgb32(palette[levels[size_t(y) * size_t(width) + size_t(x)]]);
    }
  }
  if (drawn_w) *drawn_w = tw;
  if (drawn_h) *drawn_h = th;
}

}  // namespace kestrin
