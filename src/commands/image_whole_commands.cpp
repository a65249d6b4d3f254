// The whole-image window's frame placement and release.
#include "commands/image_whole_commands.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "commands/image_view_commands.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

FramePosition place_whole_frame(int32_t X, int32_t Y, int32_t frame_width, int32_t frame_height) {
  FramePosition f{std::max(X - frame_width / 2, 0), std::max(Y - frame_height / 2, 0)};
  if (X + frame_width / 2 > kWholePictureSide) f.left = kWholePictureSide - frame_width;
  if (Y + frame_height / 2 > kWholePictureSide) f.top = kWholePictureSide - frame_height;
  return f;
}

void whole_frame_released(FramePosition frame) {
  const ImageStore& img = current_image();
  const double k = std::max(img.ImageWidth, img.ImageHeight);
  ImageView& v = state().image_view;
  v.ScrollX = saturate_int32(std::nearbyint(frame.left * k / kWholePictureSide));
  v.ScrollY = saturate_int32(std::nearbyint(frame.top * k / kWholePictureSide));
  {
    ViewLock lock;
    image_window().set_scroll_positions(v.ScrollX, v.ScrollY);
  }
  image_window().redraw_image();
}

}  // namespace kestrin
