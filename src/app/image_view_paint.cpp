// Copying the rendered part view into a paint box; stretched drawing of 8-bit bitmaps.
#include "app/image_view_paint.h"

#include <array>

#include "image/display/ksdib.h"
#include "platform/gui/paint_box.h"

namespace kestrin::app {

bool paint_image_view(kgui::TPaintBox& box, const std::vector<uint8_t>& levels, const std::vector<uint8_t>& mask,
                      int32_t width, int32_t height, const ImageView& view, int32_t left, int32_t top,
                      const Palette& palette, const Palette& mask_pal) {
  static std::vector<uint32_t> buffer;
  if (!render_image_view(levels, mask, width, height, view, left, top, palette, mask_pal, buffer)) return false;
  box.canvas().drawRaster(0, 0, kgui::Raster32{view.ViewWidth, view.ViewHeight, view.ViewWidth, buffer.data()});
  return true;
}

void draw_dib(kgui::Canvas& canvas, const kgui::TRect& dest, const TKsDIB& dib) {
  const BitmapInfoHeader& h = dib.internal().header;
  const bool halftone = dib.PaletteMode() == 1 || dib.PaletteMode() == 2;
  if (halftone || (h.biBitCount != 8 && h.biBitCount != 24) || h.biCompression != BI_RGB) {
    // Drawn through a copy: the halftone form of palette modes 1 and 2, else 8 bits.
    TKsDIB copy = dib;
    copy.SetPaletteMode(0);
    if (dib.PaletteMode() == 1) copy.ConvertToHalfTone();
    if (dib.PaletteMode() == 2) copy.ConvertToHalfToneBW();
    copy.SetPixelFormat(KsPixelFormat::Bit8);
    draw_dib(canvas, dest, copy);
    return;
  }
  if (h.biBitCount != 8) return;
  std::array<TColor, 256> colours;
  for (int i = 0; i < 256; ++i) colours[size_t(i)] = dib.Color(i);
  // Rows are addressed from the top; bottom-up storage is walked with a negative stride.
  const int stride = h.biHeight > 0 ? -dib.Stride() : dib.Stride();
  canvas.stretchDraw(dest, kgui::Raster8{dib.Width(), dib.Height(), stride, dib.ScanLine(0), colours});
}

}  // namespace kestrin::app
