// The cake window's picture: angular slices of distance bins scaled into grey bands of an
// 8-bit bitmap, and the brightness of its grey ramp.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "image/display/ksdib.h"

namespace kestrin {

// Columns of the picture: column i is the mean of distance bins 2i and 2i + 1, so the
// picture spans the distances 0 to 1599 pixels.
inline constexpr int32_t kCakeColumns = 800;

// One way of cutting the image into slices, from the azimuth 0 on, one band of rows per
// drawn slice from the top down; rows below the drawn bands stay 0.
struct CakeShape {
  int32_t height;           // rows of the picture
  int32_t slice_degrees;    // the angular width of a slice
  int32_t slices_computed;  // slices run; those past slices_drawn are computed and ignored
  int32_t slices_drawn;
  int32_t rows_per_slice;
};

// "Cake": 11-degree slices from 0 to 363 degrees, the first 32 drawn in bands of 10 rows.
inline constexpr CakeShape kCake{320, 11, 33, 32, 10};
// "sector cake": 22-degree slices from 0 to 220 degrees, bands of 20 rows.
inline constexpr CakeShape kSectorCake{400, 22, 10, 10, 20};

using CakeSlice = std::array<double, kCakeColumns>;

// The slice of a pattern with `count` points: column i is (P[2i] + P[2i + 1]) / 2, where a
// bin at or beyond `count` (or beyond `values`) reads 0, so a shorter pattern shows no values
// left over from a longer one.
CakeSlice cake_slice(std::span<const int32_t> values, int32_t count);

// The picture of the slices: 800 by shape.height, 8 bits, the grey ramp as palette. Pixel i
// of every row of band s is Trunc(slice[s][i] x 255 / maximum), the maximum taken from 0
// over the drawn slices only; when that maximum is 0 the picture is black. Throws
// std::bad_alloc or EKsDIBError when the bitmap cannot be had.
TKsDIB cake_picture(const std::vector<CakeSlice>& slices, const CakeShape& shape);

// Palette entry i becomes the grey min(255, position + i): 0 gives the plain ramp, larger
// positions saturate the bright end.
void set_cake_brightness(TKsDIB& picture, int32_t position);

// The cake window's picture, once one was made. It is part of the shared state
// (state().cake), so a reset of the shared state clears it.
struct CakeState {
  TKsDIB CakeDIB;
  bool made = false;
};

// The cake window's picture in the shared state, made there when first asked for.
CakeState& cake_state();

}  // namespace kestrin
