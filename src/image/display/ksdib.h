// TKsDIB: a device-independent bitmap with a palette, shared reference-counted storage and
// copy on write; BMP and clipboard streams, pixel format conversions and halftones. Every
// image view and the mask are the pixel bytes of such bitmaps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/colour.h"
#include "image/display/dib_convert.h"
#include "image/display/dib_types.h"
#include "platform/classes/picture_formats.h"

namespace kestrin {

// The shared storage: a packed DIB (header, 256 colours, pixel rows).
struct TKsInternalDIB : DibInfo {
  int32_t Width = 0;
  int32_t Height = 0;  // |biHeight|
  bool palette_modified = false;
  // Whether a canvas may draw on this storage (the storage itself is always a heap block).
  bool UseFMO = true;

  // Fresh zero-filled storage; throws EKsDIBInvalidDIBPara for bad parameters.
  void CreateDIB(int32_t width, int32_t height, int32_t color_count, int32_t bit_count);
};

// A graphic that the clipboard can hold in one format of its own.
class TKsGraphic : public kgui::TGraphic {
public:
  virtual uint16_t ClipboardFormat() const = 0;
};

enum TProgressStage { psStarting, psRunning, psEnding };

class TKsDIB : public TKsGraphic {
public:
  // The clipboard format of packed DIBs (CF_DIB).
  static constexpr uint16_t CF_DIB = 8;
  // The storage flag new bitmaps start with; a canvas needs it set.
  static inline bool DefaultUseFMO = true;

  TKsDIB();  // 1 x 1, 8 bits, 256 black colours
  // A new bitmap assigned from other: shares the storage, copies the conversion settings.
  TKsDIB(const TKsDIB& other);
  TKsDIB& operator=(const TKsDIB& other) {
    Assign(&other);
    return *this;
  }
  // Shares the source's storage and takes its conversion mode, mono colour and palette mode;
  // null gives a new default storage.
  void Assign(const TKsDIB* source);

  int32_t Width() const { return dib_->Width; }
  int32_t Height() const { return dib_->Height; }
  // A new size replaces the storage by zero-filled storage of the same depth and colour
  // count; pixels and colours are not carried over. A negative height is top-down.
  void SetWidth(int32_t w);
  void SetHeight(int32_t h);
  int32_t BitCount() const { return dib_->header.biBitCount; }
  void SetBitCount(int32_t bits);
  KsPixelFormat PixelFormat() const { return pixel_format_of(dib_->header); }
  // Converts the pixels to another format; conversions that reduce colours report progress.
  // On an error the bitmap keeps its pixels.
  void SetPixelFormat(KsPixelFormat format);
  int32_t PaletteSize() const { return int32_t(dib_->header.biClrUsed); }
  void SetPaletteSize(int32_t n);
  bool UseFMO() const { return dib_->UseFMO; }

  // 0 the binned colour reduction, 1 the exact one.
  uint8_t ConversionMode() const { return conversion_mode_; }
  void SetConversionMode(uint8_t mode) { conversion_mode_ = mode; }
  // The colour that becomes 1 in conversions to 1 bit.
  TColor MonoColor() const { return mono_color_; }
  void SetMonoColor(TColor c) { mono_color_ = c; }
  // 0 draws the bitmap's own colours; 1 and 2 draw its colour and black-and-white halftones.
  uint8_t PaletteMode() const { return palette_mode_; }
  void SetPaletteMode(uint8_t mode) { palette_mode_ = mode; }
  // Replace the pixels by their halftone forms (8 bits of the 215 colours; 1 bit).
  void ConvertToHalfTone();
  void ConvertToHalfToneBW();

  TColor Color(int index) const;
  void SetColor(int index, TColor c);
  // Pixel row y counted from the top; makes shared storage private first.
  uint8_t* ScanLine(int32_t y);
  const uint8_t* ScanLine(int32_t y) const;
  int32_t Stride() const { return int32_t(dib_->stride()); }

  // Makes the storage private to this handle when it is shared.
  void UniqueDIB();
  // Stores the rows top-down (true) or bottom-up; the picture stays the same. Compressed
  // bitmaps raise EKsDIBBadDIBType.
  void SetTopDown(bool top_down);
  bool SharesStorageWith(const TKsDIB& other) const { return dib_ == other.dib_; }
  long RefCount() const { return dib_.use_count(); }

  // BMP streams. Reading replaces the storage only when the whole file was good.
  void LoadFromBytes(const std::vector<uint8_t>& bmp);
  std::vector<uint8_t> SaveToBytes() const;
  void LoadFromFile(const std::string& path) override;
  void SaveToFile(const std::string& path) const override;

  // The clipboard's packed DIB (header, colours, bits): format CF_DIB only.
  uint16_t ClipboardFormat() const override { return CF_DIB; }
  std::vector<uint8_t> SaveToClipboardFormat(uint16_t& format) const override;
  void LoadFromClipboardFormat(uint16_t format, const std::vector<uint8_t>* data) override;

  // Hands the storage's palette change to the graphic's PaletteModified flag.
  void UpdatePaletteModified();
  bool PaletteModified() const { return palette_modified_; }
  void SetPaletteModified(bool modified) { palette_modified_ = modified; }
  // The change notification that ends every change: sets Modified and runs OnChange.
  void Changed();
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  std::function<void(TKsDIB& sender)> OnChange;
  // Conversion progress: starting (0), running (steps x 100 div total), ending (100).
  std::function<void(TKsDIB& sender, TProgressStage stage, int percent, const std::string& text)> OnProgress;

  const TKsInternalDIB& internal() const { return *dib_; }

private:
  void replace_storage(int32_t width, int32_t height, int32_t colors, int32_t bits);
  void take_block(DibInfo&& block);
  // The end of every change: the palette change handed on, then the notification.
  void ChangedStorage();
  void load_bmp(std::span<const uint8_t> bmp);
  void progress(TProgressStage stage, int percent);

  std::shared_ptr<TKsInternalDIB> dib_;
  uint8_t conversion_mode_ = 0;
  TColor mono_color_ = 0xFFFFFF;
  uint8_t palette_mode_ = 0;
  bool palette_modified_ = false;
  bool modified_ = false;
  int progress_count_ = 0;
  int progress_total_ = 0;
  std::string progress_text_;
};

// Registers TKsDIB as the picture format "dib" ("Device Independent Bitmap", clipboard
// format 8) in a picture-format table.
void register_ksdib_picture_format(kgui::PictureFormats& formats);

}  // namespace kestrin
