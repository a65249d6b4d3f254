// The image store: one image's pixel codes, size, tables and statistics (as its format
// decoded them), its names, type and flags. The current image and the background image are
// two instances of it.
#pragma once

#include <cstdint>
#include <string>

#include "image/formats/decoded_image.h"
#include "image/formats/image_data.h"

namespace kestrin {

struct ImageStore : ImageData {
  int32_t BitsPerPixel = 16;  // Fuji images: 8, 10 or 16

  // Fuji reading conditions and header texts (raw bytes as in the file).
  int32_t Sensitivity = 0;
  double Latitude = 0.0;
  std::string InfoText1;
  std::string InfoText2;

  int32_t image_type = kTypeUndetermined;
  int32_t NoImageFlag = 1;

  std::string ImageFolder;    // with its trailing '/'
  std::string ImageFilePath;  // the path as loaded
  std::string ImageFileName;  // same as ImageFilePath
  std::string ImageBaseName;  // name without folder and extension
  std::string InfFileName;    // ImageFolder + ImageBaseName + ".inf"
  std::string PatternFolder;  // where parameter and pattern files are sought and written
};

// The process-wide current image and background image.
ImageStore& current_image();
ImageStore& bg_image();

// Puts a good decode into a store: codes, size, tables and statistics, and for a Fuji image
// the reading conditions and the type its header declares. Fields the format does not have
// (the Fuji conditions of other formats), names, flags and the geometry stay as they are.
void install_image(ImageStore& store, DecodedImage&& decoded);

}  // namespace kestrin
