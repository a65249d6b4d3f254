// The process-wide image stores and the step that puts a decoded image into one.
#include "image/image_store.h"

#include <utility>

namespace kestrin {

ImageStore& current_image() {
  static ImageStore store;
  return store;
}

ImageStore& bg_image() {
  static ImageStore store;
  return store;
}

void install_image(ImageStore& store, DecodedImage&& decoded) {
  static_cast<ImageData&>(store) = std::move(decoded.data);
  if (const auto& fuji = decoded.fuji) {
    store.image_type = fuji->type;
    store.BitsPerPixel = fuji->bits;
    store.Sensitivity = fuji->sensitivity;
    store.Latitude = fuji->latitude;
    store.InfoText1 = fuji->info1;
    store.InfoText2 = fuji->info2;
  }
}

}  // namespace kestrin
