// Copying the rendered part view into a paint box; stretched drawing of 8-bit bitmaps.
#include "app/image_view_paint.h"

#include <array>

#include "analysis/image_overlays.h"
#include "image/display/ksdib.h"
#include "image/image_store.h"
#include "model/state.h"
#include "platform/gui/paint_box.h"

namespace kestrin::app {

void draw_gauge(kgui::TPaintBox& box, const DisplayScale& scale, GaugeRounding rounding, const Palette& palette) {
  constexpr kgui::TColor kHighMarkColour = 0x0000FF, kLowMarkColour = 0xFF0000;
  const int w = box.width(), h = box.height();
  std::vector<uint8_t> row;
  const std::optional<GaugeMarks> marks = gauge_row(scale, w, rounding, row);
  if (!marks) return;
  kgui::Canvas& c = box.canvas();
  c.stretchDraw({0, 0, w, h}, kgui::Raster8{w, 1, w, row.data(), palette});
  const kgui::TColor pen = c.pen().color;
  c.pen().color = kHighMarkColour;
  c.moveTo(marks->high, 0);
  c.lineTo(marks->high, h);
  c.pen().color = kLowMarkColour;
  c.moveTo(marks->low, 0);
  c.lineTo(marks->low, h);
  c.pen().color = pen;
}

bool render_part_view(std::vector<uint32_t>& picture) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return false;
  const SharedState& s = state();
  const ImageView& v = s.image_view;
  return render_image_view(s.display_levels.level, s.image_mask.bytes, img.ImageWidth, img.ImageHeight, v, v.ScrollX,
                           v.ScrollY, image_palette(s.options.GradationReverse != 0, s.OmitBlue),
                           mask_palette(s.colours.colour[0]), picture);
}

void copy_part_view(kgui::Canvas& canvas, const std::vector<uint32_t>& picture) {
  const ImageView& v = state().image_view;
  if (picture.size() != size_t(v.ViewWidth) * size_t(v.ViewHeight)) return;
  canvas.drawRaster(0, 0, kgui::Raster32{v.ViewWidth, v.ViewHeight, v.ViewWidth, picture.data()});
}

bool draw_part_view(kgui::Canvas& canvas, std::vector<uint32_t>& picture) {
  const bool rendered = render_part_view(picture);
  if (rendered) copy_part_view(canvas, picture);
  draw_image_overlays(canvas);
  return rendered;
}

bool paint_image_view(kgui::TPaintBox& box, std::span<const uint8_t> levels, std::span<const uint8_t> mask,
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
