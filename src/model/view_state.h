// The view states the windows share: the grey-scale window of the image display, the
// image window's zoom and scroll state, and the pattern graph's layout and zoom drag. Plain structs;
// the display engine and the graph commands compute them, the windows paint from them.
#pragma once

#include <cstdint>

namespace kestrin {

// The grey-scale window.
struct DisplayScale {
  int32_t DisplayMode = 1;  // 0 log, 1 linear
  int32_t GaugeLow = 0, GaugeHigh = 1000;
  int32_t LowEdge = 0, HighEdge = 1000;
};

// The view state of an image window (the background window has its own).
struct ImageView {
  double Zoom = 1.0;
  bool WholeView = false;
  double PreviousZoom = 1.0;
  int32_t ScrollX = 0, ScrollY = 0;
  int32_t ViewWidth = 600, ViewHeight = 600;
  int32_t ViewCols = 600, ViewRows = 600;
  int32_t DrawCols = 600, DrawRows = 600;
  bool ScrollLock = false, RedrawLock = false, LayoutBusy = false, LayoutPending = false;
  int32_t FrameWidth = 32, FrameHeight = 32;
};

// The rectangle chosen by an area drag in the image window or typed in the spot and merge
// windows (image pixels, inclusive); the spot search, the area deletion and the overlays
// use it. The overlays draw it while `shown` is on.
struct SelectedArea {
  int32_t AreaX0 = 0, AreaY0 = 0, AreaX1 = 0, AreaY1 = 0;
  bool shown = true;
};

// A drag of the gradation gauge's edges: the button is held, and which edge the first
// move chose.
struct GaugeDrag {
  bool held = false, high = false, low = false;
};

// The image window's mouse tools: the mode, the brush, the buttons held since a press
// inside the image, the pan anchor (the press point and the scroll position then) and the
// area drag's press point.
struct ImageTools {
  int32_t MouseMode = 1;  // 0 mask painting, 1 area select
  int32_t PenSize = 8;    // brush diameter in image pixels
  bool left_held = false, right_held = false;
  int32_t pan_x = 0, pan_y = 0, pan_scroll_x = 0, pan_scroll_y = 0;
  int32_t area_x = 0, area_y = 0;
  GaugeDrag gauge;
};

// The background window's view: its own grey-scale window, zoom and scroll position, and
// the size of its view in screen pixels.
struct BgView {
  DisplayScale scale;
  double Zoom = 1.0;
  int32_t ScrollX = 0, ScrollY = 0;
  int32_t ViewWidth = 600, ViewHeight = 600;
};

// The pattern graph's layout: the nominal plot size (500 by 400 until the graph window lays
// itself out) and what each draw derives from it and from the view ranges. The mouse
// handlers turn clicks back into data positions with it; peak markers are placed with it.
struct GraphLayout {
  int32_t GraphWidth = 500, GraphHeight = 400;
  int32_t left = 50;          // left margin of the plot area, Trunc(0.1 W)
  int32_t bottom = 400;       // baseline, Trunc(1.0 H)
  int32_t plot_width = 500;   // Trunc(1.0 W)
  int32_t plot_height = 360;  // Trunc(0.9 H)
  double xmin = 0, xmax = 0;  // active x range: pixels or degrees by pattern kind
  double ymin = 0, ymax = 0;  // intensity range
  double GraphXScale = 0, GraphYScale = 0;  // picture pixels per data unit (0 until drawn)
};

// A zoom drag on the pattern graph with the middle button: the press point, the rectangle
// from it to the current corner (top-left, width and height, never negative) and the corner.
struct GraphDrag {
  bool dragging = false;
  int32_t press_x = 0, press_y = 0;
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t corner_x = 0, corner_y = 0;
};

}  // namespace kestrin
