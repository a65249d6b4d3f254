// TPicture: the graphic a picture holds, as the class name of the graphic and its stored
// bytes. A bitmap ("TBitmap") is a BMP stream whose headers are checked when it is taken;
// a graphic of another class is kept as it came.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/classes/persistent.h"

namespace kgui {

class EInvalidGraphic : public EPropertyError {
public:
  using EPropertyError::EPropertyError;
};

// Width and height of a BMP stream from its headers, checked against the stream's length
// before any pixel is looked at; false when the bytes are no whole BMP stream.
bool bmpStreamSize(std::span<const uint8_t> bmp, int& width, int& height);

class TPicture : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Takes another picture's graphic.
  void assign(const TPersistent& source) override;

  bool empty() const { return graphic_class_.empty(); }
  // "TBitmap", another graphic's class name, or empty.
  const std::string& graphicClassName() const { return graphic_class_; }
  // The bitmap's BMP stream; empty for no bitmap.
  std::span<const uint8_t> bitmapStream() const;
  int width() const { return width_; }
  int height() const { return height_; }

  // A BMP stream as the picture's bitmap. A bad stream raises EInvalidGraphic "Bitmap image
  // is not valid" and leaves the picture as it was.
  void setBitmap(std::vector<uint8_t> bmp);
  // The graphic as form files store it: the class name (a length byte and its characters),
  // then the graphic's data; a bitmap's data is a 32-bit length and its BMP stream.
  std::vector<uint8_t> storedData() const;
  // Reads storedData()'s form; raises EInvalidGraphic (the picture unchanged) for a bad one.
  void readStoredData(std::span<const uint8_t> data);
  void clear();

  std::function<void()> OnChange;

private:
  void changed() const;
  std::string graphic_class_;
  std::vector<uint8_t> data_;  // the graphic's own data, as stored after its class name
  int width_ = 0, height_ = 0;
};

}  // namespace kgui
