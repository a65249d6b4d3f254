// What a reader hands back: the decoded image as a value, the geometry and texts its header
// gives, and the log lines it would report, in order. Readers touch no program state; the
// loaders log the lines, apply the geometry under the user's locks and install the image
// into the store they fill.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "image/formats/image_data.h"

namespace kestrin {

using LogLines = std::vector<std::string>;

// The caller's settings a reader follows.
struct DecodeOptions {
  bool reverse_rows = false;  // store file row r as row height - 1 - r (VerticalReverse)
  int prior_bits = 16;        // a Fuji header naming no bit depth keeps this one
  std::string name;           // the file's name, for messages that name it
};

// The experiment geometry a header gives (angstrom and millimetres); empty where it gives
// none. Each value replaces the user's one unless the user locked it.
struct HeaderGeometry {
  std::optional<double> wavelength;
  std::optional<double> camera_length;
  std::optional<double> pixel_x;
  std::optional<double> pixel_y;
  // BA100 headers give one pixel size: Y takes it, then X takes the Y in use.
  bool pixel_x_follows_y = false;
  // Bruker frames: the pixel sizes are 1.0 mm whatever the locks say.
  bool pixel_sizes_unlocked = false;
};

// A Fuji ".inf" header's kind, bit depth, reading conditions and free texts.
struct ReadingConditions {
  int32_t type = kTypeBA100;
  int32_t bits = 16;
  int32_t sensitivity = 0;
  double latitude = 0.0;
  std::string info1;
  std::string info2;
  std::string header_path;  // the ".inf" file read (found by exact name or without case)
};

// Every decoder takes an image whose buffers it may reuse (`storage`, whose contents are then
// lost): a loader lends the store it fills, so that loading an image of the last one's size
// allocates nothing. The decode hands the buffers back in `data`, also when it fails; on
// success every field of `data` is the new image's.
struct DecodedImage {
  explicit DecodedImage(ImageData storage = {}) : data(std::move(storage)) {}

  bool ok = false;
  LogLines lines;            // the reader's lines, to be logged in this order
  HeaderGeometry geometry;   // set as soon as the header is read, also when the image is then refused
  std::optional<ReadingConditions> fuji;
  ImageData data;            // complete when ok

  void log(std::string line) { lines.push_back(std::move(line)); }
};

// `d` ended as refused, with the line giving the reason.
inline DecodedImage refused(DecodedImage&& d, std::string line) {
  d.log(std::move(line));
  d.ok = false;
  return std::move(d);
}

// What a writer hands back: whether the file was written, and its log lines.
struct WriteResult {
  bool ok = true;
  LogLines lines;
};

}  // namespace kestrin
