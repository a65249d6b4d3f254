// Row-by-row conversion between a file's pixel bytes and an image's codes, shared by the
// readers and writers. File row r is stored as row r, or as row height-1-r when rows are
// reversed (VerticalReverse); the writers apply the same mapping backwards.
#pragma once

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/lanes.h"
#include "image/formats/image_data.h"

namespace kestrin {

inline size_t stored_row(int32_t file_row, int32_t height, bool reverse) {
  return size_t(reverse ? height - 1 - file_row : file_row);
}

// Calls fn(codes of the stored row, file row) for every file row.
template <class RowFn>
void for_each_file_row(ImageData& image, bool reverse, RowFn fn) {
  uint16_t* codes = image.image_codes.data();
  for (int32_t r = 0; r < image.ImageHeight; ++r)
    fn(codes + stored_row(r, image.ImageHeight, reverse) * size_t(image.ImageWidth), r);
}

template <class RowFn>
void for_each_file_row(const ImageData& image, bool reverse, RowFn fn) {
  const uint16_t* codes = image.image_codes.data();
  for (int32_t r = 0; r < image.ImageHeight; ++r)
    fn(codes + stored_row(r, image.ImageHeight, reverse) * size_t(image.ImageWidth), r);
}

// Decodes file rows 0..rows-1 in lanes over the worker threads: decode_row(r, codes) decodes
// file row r and adds its codes to `codes` (a CodeSet or a CodeRange), the lane's own; the
// lanes' gatherings are merged into `present`. The merge is a union, so the codes and what is
// gathered do not depend on the number of threads. Small images take one lane, on the
// calling thread.
template <class Codes, class DecodeRow>
void decode_rows_in_lanes(int64_t rows, int64_t pixels, Codes& present, DecodeRow decode_row) {
  constexpr int64_t kPixelsPerLane = int64_t(1) << 18;
  const int32_t lanes = lane_count(std::min(rows, pixels / kPixelsPerLane), 16);
  std::vector<Codes> sets(size_t(lanes - 1));
  run_lanes(lanes, [&](int32_t lane) {
    Codes& set = lane == 0 ? present : sets[size_t(lane - 1)];
    for (int64_t r = lane_begin(0, rows, lanes, lane), end = lane_begin(0, rows, lanes, lane + 1); r < end; ++r)
      decode_row(r, set);
  });
  for (const Codes& set : sets) present.merge(set);
}

// Runs decode(codes) with what the statistics need gathered in `codes`: the lowest and highest
// code where the image's table allows (no store per pixel), else the set of codes present;
// then scans the statistics from it.
template <class Decode>
void decode_with_statistics(ImageData& image, Decode decode) {
  if (rounded_intensities_increase(image.intensity_table)) {
    CodeRange range;
    decode(range);
    scan_statistics(image, range);
  } else {
    CodeSet present;
    decode(present);
    scan_statistics(image, present);
  }
}

inline void decode_u8_row(const uint8_t* src, uint16_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = src[i];
}
inline void decode_u16le_row(const uint8_t* src, uint16_t* dst, size_t n) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(dst, src, 2 * n);
  } else {
    for (size_t i = 0; i < n; ++i) dst[i] = uint16_t(src[2 * i] | src[2 * i + 1] << 8);
  }
}
inline void decode_u16be_row(const uint8_t* src, uint16_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = uint16_t(src[2 * i] << 8 | src[2 * i + 1]);
}

// One-byte pixels hold codes up to 255; larger codes are written as 255, not wrapped.
inline void encode_u8_row(const uint16_t* src, uint8_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = uint8_t(std::min<uint16_t>(src[i], 255));
}
inline void encode_u16le_row(const uint16_t* src, uint8_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    dst[2 * i] = uint8_t(src[i]);
    dst[2 * i + 1] = uint8_t(src[i] >> 8);
  }
}
inline void encode_u16be_row(const uint16_t* src, uint8_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    dst[2 * i] = uint8_t(src[i] >> 8);
    dst[2 * i + 1] = uint8_t(src[i]);
  }
}

}  // namespace kestrin
