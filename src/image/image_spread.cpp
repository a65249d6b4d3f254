// Measuring spread limits, the reference file, and spreading images.
#include "image/image_spread.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/long_run.h"

namespace kestrin {

namespace {

constexpr const char* kSpreadPrefix = " spread_images() : ";
// A reference file of a 10000-row image is some 60 kB; more is never read.
constexpr size_t kMaxReferenceBytes = size_t(1) << 20;

int32_t row_limit(const ImageData& image, int32_t y) {
  const int32_t w = image.ImageWidth;
  const uint16_t* row = image.image_codes.data() + size_t(y) * size_t(w);
  int32_t limit = w - 1;
  for (int32_t x = w - 1; x >= 0; --x)
    if (image.intensity_table[row[x]] > kSpreadThreshold) {
      limit = x;
      break;
    }
  const double cap = w / 2.0 - 1.0;
  return limit > cap ? saturate_int32(std::trunc(cap)) : limit;
}

std::string spread_name(const std::string& source) {
  return folder_of(source) + base_name_of(source) + "_spr" + extension_of(source);
}

// Spreads one read image and writes it beside its source.
void write_spread(ImageStore& image, const std::vector<int32_t>& limits, Report& report) {
  spread_image(image, limits);
  const WriteResult written =
      save_rigaku_file(image, image.ImageFilePath, spread_name(image.ImageFilePath), state().options.VerticalReverse == 1);
  for (const std::string& line : written.lines) report.say(line);
}

bool fits(const ImageData& image, const std::vector<int32_t>& limits) {
  if (int64_t(limits.size()) < image.ImageHeight) return false;
  for (int32_t y = 0; y < image.ImageHeight; ++y)
    if (limits[size_t(y)] >= image.ImageWidth) return false;
  return true;
}

// The reference file for `image`; false, with the reason logged, when it does not serve.
bool read_reference(const std::string& name, const ImageData& image, std::vector<int32_t>& limits, Report& report) {
  std::string text, error;
  if (!read_file_bytes(name, text, &error, kMaxReferenceBytes)) {
    report.say(kSpreadPrefix + ("Cannot open " + name + ": " + error + "."));
    return false;
  }
  SpreadReference ref = parse_spread_reference(text, image.ImageHeight, image.ImageWidth);
  if (!ref.error.empty()) {
    report.say(kSpreadPrefix + ref.error);
    return false;
  }
  limits = std::move(ref.limits);
  return true;
}

}  // namespace

std::vector<int32_t> measure_spread_limits(const ImageData& image) {
  std::vector<int32_t> limits(size_t(std::max(image.ImageHeight, 0)));
  for (int32_t y = 0; y < image.ImageHeight; ++y) limits[size_t(y)] = row_limit(image, y);
  return limits;
}

std::vector<int32_t> median_spread_limits(const std::vector<int32_t>& limits) {
  const int32_t h = int32_t(limits.size()), half = kSpreadMedianRows / 2;
  if (h < kSpreadMedianRows) return limits;
  std::vector<int32_t> out(limits.size());
  std::array<int32_t, kSpreadMedianRows> window;
  for (int32_t y = half; y <= h - 1 - half; ++y) {
    std::copy_n(limits.begin() + (y - half), kSpreadMedianRows, window.begin());
    std::nth_element(window.begin(), window.begin() + half, window.end());
    out[size_t(y)] = window[size_t(half)];
  }
  std::fill(out.begin(), out.begin() + half, out[size_t(half)]);
  std::fill(out.end() - half, out.end(), out[size_t(h - 1 - half)]);
  return out;
}

SpreadReference parse_spread_reference(std::string_view text, int32_t height, int32_t width) {
  SpreadReference ref;
  const std::vector<std::string> lines = split_lines(text);
  if (int64_t(lines.size()) < height) {
    ref.error = "reference file too short.";
    return ref;
  }
  for (int32_t y = 0; y < height; ++y) {
    const std::optional<int32_t> v = TryStrToInt(lines[size_t(y)]);
    if (!v) {
      ref.error = "'" + lines[size_t(y)] + "' is not a valid integer value";
      return ref;
    }
    if (*v < 0 || *v >= width) {
      ref.error = Format("reference limit %d of row %d is outside the image.", {*v, y});
      return ref;
    }
    ref.limits.push_back(*v);
  }
  return ref;
}

void spread_row(const double* in, int32_t last, int32_t width, double* out) {
  std::fill(out, out + width, 0.0);
  const double s = double(width) / (double(last) + 1.0);
  for (int32_t x = 0; x <= last; ++x) {
    const double a = x * s, b = (x + 1) * s, intensity = in[x];
    for (int32_t j = int32_t(a); j < width && j < b; ++j) {
      const double overlap = std::min(b, j + 1.0) - std::max(a, double(j));
      out[j] += overlap * intensity / s;
    }
  }
}

uint16_t spread_code(double value, float ratio) {
  if (value <= 32767.0) return uint16_t(std::clamp(saturate_int32(std::trunc(value)), 0, 32767));
  const int32_t scaled = saturate_int32(std::trunc(value / double(ratio)));
  return uint16_t(std::clamp(scaled, 0, 32767) | 0x8000);
}

void spread_image(ImageData& image, const std::vector<int32_t>& limits) {
  const int32_t w = image.ImageWidth;
  std::vector<double> in(static_cast<size_t>(w)), out(static_cast<size_t>(w));
  for (int32_t y = 0; y < image.ImageHeight; ++y) {
    uint16_t* row = image.image_codes.data() + size_t(y) * size_t(w);
    for (int32_t x = 0; x < w; ++x) in[size_t(x)] = image.intensity_table[row[x]];
    spread_row(in.data(), limits[size_t(y)], w, out.data());
    for (int32_t x = 0; x < w; ++x) row[x] = spread_code(out[size_t(x)], image.OverflowRatio);
  }
}

bool spread_reference_lines(const std::string& file, std::vector<std::string>& lines, Report& report) {
  ImageStore image;
  if (!read_image_file(file, image, "make_spread_reference", report)) return false;
  lines.clear();
  for (int32_t limit : median_spread_limits(measure_spread_limits(image))) lines.push_back(Format("%d", {limit}));
  return true;
}

void spread_images(const std::string& reference, const std::vector<std::string>& files, Report& report) {
  run_long("spread_images", [&] {
    std::vector<int32_t> limits;
    bool have_reference = false;
    ImageStore image;
    for (const std::string& name : files) {
      if (!read_image_file(name, image, "spread_images", report)) {
        report.say(kSpreadPrefix + name + " skipped.");
      } else if (!have_reference) {
        if (!read_reference(reference, image, limits, report)) return;
        have_reference = true;
        write_spread(image, limits, report);
      } else if (!fits(image, limits)) {
        report.say(kSpreadPrefix + name + " skipped.");
      } else {
        write_spread(image, limits, report);
      }
      pump_events();
      if (program_terminated()) return;
    }
  });
}

}  // namespace kestrin
