// The whole-image window without its widgets: where its view frame sits for a cursor
// position, and where a release of the frame scrolls the image window.
#pragma once

#include <cstdint>

namespace kestrin {

// The whole-image window's picture: 256 x 256 pixels.
constexpr int32_t kWholePictureSide = 256;

struct FramePosition {
  int32_t left = 0, top = 0;
};

// The frame of frame_width x frame_height centred on (X, Y) (sizes halved toward zero),
// moved back to 0 on the left and top and onto the picture's right and bottom edges.
FramePosition place_whole_frame(int32_t X, int32_t Y, int32_t frame_width, int32_t frame_height);

// The image window scrolls to the frame's place: with k the larger image side, the origin
// Round(left k / 256), Round(top k / 256); the bars follow and the view is redrawn.
void whole_frame_released(FramePosition frame);

}  // namespace kestrin
