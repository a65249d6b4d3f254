// Merging the rectangles of several images into one picture.
#include "image/merge_images.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <new>

#include "base/convert.h"
#include "image/display/display.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr const char* kRoutine = "merge_images";
constexpr const char* kAreaError = "Create Merge Image. Area Error.";

bool blank(const std::string& line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

bool contains(const ImageData& image, const MergeArea& a) {
  return a.left >= 0 && a.top >= 0 && a.right < image.ImageWidth && a.bottom < image.ImageHeight;
}

bool well_formed(const MergeArea& a) { return a.left < a.right && a.top < a.bottom; }

// A fresh 8-bit picture of the merged size with the grey palette of the gauge, and zeroed
// codes; false, with the state as it was, when the bitmap or the codes cannot be had.
bool allocate_picture(MergeState& m, int64_t width, int64_t height) {
  std::vector<uint16_t> codes;
  TKsDIB dib;
  try {
    if (width > INT32_MAX || height > INT32_MAX) return false;
    dib.SetBitCount(8);
    dib.SetWidth(int32_t(width));
    dib.SetHeight(int32_t(height));
    codes.assign(size_t(width) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const EKsDIBError&) {
    return false;
  }
  const Palette palette = image_palette(state().options.GradationReverse != 0, false);
  for (int i = 0; i < 256; ++i) dib.SetColor(i, palette[size_t(i)]);
  m.MergeCodes = std::move(codes);
  m.MergeDIB = dib;
  m.width = int32_t(width);
  m.height = int32_t(height);
  return true;
}

void keep_tables(MergeState& m, const ImageData& image) {
  m.log_table = image.log_table;
  m.intensity_table = image.intensity_table;
  m.log_saturation = image.LogSaturation;
}

}  // namespace

MergeState& merge_state() {
  std::shared_ptr<MergeState>& m = state().merge;
  if (!m) m = std::make_shared<MergeState>();
  return *m;
}

void merged_size(const MergeArea& a, int32_t rotation, size_t count, int64_t& width, int64_t& height) {
  const int64_t w = int64_t(a.right) - a.left + 1, h = int64_t(a.bottom) - a.top + 1;
  const bool turned = rotation == kRotate90 || rotation == kRotate270;
  width = turned ? h : w;
  height = (turned ? w : h) * int64_t(count);
}

void copy_merge_block(const uint16_t* image, int32_t iw, const MergeArea& a, int32_t rotation, uint16_t* out) {
  const auto at = [image, iw](int32_t x, int32_t y) { return image[size_t(x) + size_t(iw) * size_t(y)]; };
  switch (rotation) {
    case kRotate90:
      for (int32_t x = a.left; x <= a.right; ++x)
        for (int32_t y = a.bottom; y >= a.top; --y) *out++ = at(x, y);
      break;
    case kRotate180:
      for (int32_t y = a.bottom; y >= a.top; --y)
        for (int32_t x = a.right; x >= a.left; --x) *out++ = at(x, y);
      break;
    case kRotate270:
      for (int32_t x = a.right; x >= a.left; --x)
        for (int32_t y = a.top; y <= a.bottom; ++y) *out++ = at(x, y);
      break;
    default:
      for (int32_t y = a.top; y <= a.bottom; ++y)
        for (int32_t x = a.left; x <= a.right; ++x) *out++ = at(x, y);
      break;
  }
}

bool merge_images(const std::vector<std::string>& files, const MergeArea& area, int32_t rotation,
                  int32_t display_mode, Report& report) {
  if (files.empty()) {
    report.say("Create Merge Image. File Num Error.");
    return false;
  }
  if (blank(files.front())) return false;
  if (rotation < kRotate0 || rotation > kRotate270) rotation = kRotate0;
  ImageStore image;
  if (!read_image_file(files.front(), image, kRoutine, report)) return false;
  if (!contains(image, area) || !well_formed(area)) {
    report.say(kAreaError);
    return false;
  }
  MergeState& m = merge_state();
  int64_t width = 0, height = 0;
  merged_size(area, rotation, files.size(), width, height);
  if (!allocate_picture(m, width, height)) {
    report.say("MergeImage SetLength Error");
    return false;
  }
  const size_t block = size_t(width) * size_t(height) / files.size();
  keep_tables(m, image);
  for (size_t i = 0; i < files.size(); ++i) {
    if (i > 0 && (!read_image_file(files[i], image, kRoutine, report) || !contains(image, area))) {
      report.say(std::string(kAreaError) + " " + files[i]);
      continue;  // the block keeps code 0
    }
    if (i > 0) keep_tables(m, image);
    copy_merge_block(image.image_codes.data(), image.ImageWidth, area, rotation, m.MergeCodes.data() + i * block);
  }
  m.Merged = true;
  build_merge_levels(m, display_mode);
  return true;
}

void build_merge_levels(MergeState& m, int32_t display_mode) {
  if (!m.Merged) return;
  const CodeTable& source = display_mode == 0 ? m.log_table : m.intensity_table;
  const double low = m.gauge.low, span = double(m.gauge.high) - m.gauge.low;
  std::array<uint8_t, kCodeCount> level{};
  for (size_t c = 0; c < level.size() && c < source.size(); ++c) {
    const double v = std::trunc(source[c]);
    if (v < low)
      level[c] = 0;
    else if (v > m.gauge.high || span <= 0)
      level[c] = 255;
    else
      level[c] = uint8_t(std::clamp(saturate_int32(std::trunc((v - low) / span * 255.0)), 0, 255));
  }
  const uint16_t* codes = m.MergeCodes.data();
  for (int32_t y = 0; y < m.height; ++y) {
    uint8_t* row = m.MergeDIB.ScanLine(y);
    for (int32_t x = 0; x < m.width; ++x) row[x] = level[*codes++];
  }
}

}  // namespace kestrin
