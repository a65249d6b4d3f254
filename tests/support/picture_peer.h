// Pictures the program wrote, as PIL reads them (tests/peers/picture_colours.py): the size,
// the number of colours, which colours are present and the colours of single pixels.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kestrin::test {

struct PictureFacts {
  bool read = false;  // false: PIL could not open the picture (output holds why)
  int width = 0, height = 0, colours = 0;
  std::map<std::string, bool> present;        // "RRGGBB" -> whether a pixel has it
  std::map<std::string, std::string> pixels;  // "x,y" -> "RRGGBB"
  std::string output;
};

// Asks PIL about `path`: each argument is a colour "RRGGBB" or a pixel "x,y".
PictureFacts describe_picture(const std::string& path, const std::vector<std::string>& asked);

}  // namespace kestrin::test
