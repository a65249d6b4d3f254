// Fuji ".inf" headers made by code (BAS and BA100 layouts) and their raw ".img" pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct BasHeader {
  std::string kind = "BAS_IMAGE_FILE";  // line 1
  std::string plate = "20*40";          // line 3
  std::string pixel_x = "100", pixel_y = "100";
  std::string bits = "8";
  std::string width = "8", height = "4";
  std::string sensitivity = "400", latitude = "4";
  std::string info1 = "Info one", info2 = "Info two";
  std::string text() const;  // CR LF lines
};

struct Ba100Header {
  std::string flags = "17";  // line 2
  std::string latitude = "255";
  std::string height = "4", bytes_per_row = "16";
  std::string info2 = "BA info two", info1 = "BA info one";
  std::string text() const;
};

std::vector<uint8_t> fuji_pixels(const std::vector<uint16_t>& codes, int bytes_per_pixel);

}  // namespace kestrin::test
