// TfrmImage: what it draws (the part view, the thumbnail, the gauge), its scroll bars, its
// sizes and layout, and the image window's port over it.
#include <algorithm>

#include "analysis/image_overlays.h"
#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/image_view_paint.h"
#include "commands/image_view_commands.h"
#include "image/display/display.h"
#include "image/display/gauge.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr int kThumbnailSide = 100;

Palette current_palette() { return image_palette(state().options.GradationReverse != 0, state().OmitBlue); }

}  // namespace

void TfrmImage::redraw_image() {
  if (!draw_part_view(pbxPart->canvas(), view_bitmap_)) return;
  const ImageStore& img = current_image();
  render_thumbnail(state().display_levels.level, img.ImageWidth, img.ImageHeight, current_palette(), kThumbnailSide,
                   thumbnail_);
  imgWhole->canvas().drawRaster(0, 0, Raster32{kThumbnailSide, kThumbnailSide, kThumbnailSide, thumbnail_.data()});
}

void TfrmImage::repaint_image_view() {
  if (current_image().NoImageFlag == 1) return;
  copy_part_view(pbxPart->canvas(), view_bitmap_);
  draw_image_overlays(pbxPart->canvas());
}

void TfrmImage::draw_gradation_gauge() {
  draw_gauge(*pbxGradationGauge, state().display_scale, GaugeRounding::kRound, current_palette());
}

void TfrmImage::set_scroll_positions(int32_t x, int32_t y) {
  scrDispX->setPosition(x);
  scrDispY->setPosition(y);
}

void TfrmImage::set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y) {
  scrDispX->setMax(max_x);
  scrDispY->setMax(max_y);
  scrDispX->setLargeChange(std::max(large_x, 1));
  scrDispY->setLargeChange(std::max(large_y, 1));
}

void TfrmImage::set_view_size(int32_t w, int32_t h) {
  pbxPart->setWidth(w);
  scrDispX->setWidth(w);
  pnlImageBase->setWidth(scrDispX->left() + scrDispX->width() + scrDispY->width() + 7);
  pnlButtons->setLeft(pnlImageBase->left() + pnlImageBase->width() + 5);
  setWidth(pnlButtons->left() + pnlButtons->width() + 15);
  pbxPart->setHeight(h);
  scrDispY->setLeft(pbxPart->left() + pbxPart->width() + 2);
  scrDispY->setHeight(h);
  scrDispX->setTop(pbxPart->top() + pbxPart->height() + 2);
  pnlImageBase->setHeight(pbxPart->top() + pbxPart->height() + scrDispX->height() + 7);
  // A short view leaves the button panel its whole height.
  pnlButtons->setHeight(std::max(pnlImageBase->height(), buttons_content_height()));
  setHeight(pnlButtons->height() + 36);
  sized_width_ = width(), sized_height_ = height();
}

void TfrmImage::layout_image_form() {
  pnlButtons->setLeft(width() - pnlButtons->width() - 15);
  pnlImageBase->setWidth(pnlButtons->left() - 5);
  pnlImageBase->setHeight(height() - 36);
  pnlButtons->setHeight(pnlImageBase->height());
  scrDispY->setLeft(pnlImageBase->width() - scrDispY->width() - 5);
  scrDispY->setHeight(pnlImageBase->height() - scrDispY->top() - scrDispX->height() - 7);
  scrDispX->setTop(pnlImageBase->height() - scrDispX->height() - 5);
  scrDispX->setWidth(pnlImageBase->width() - scrDispX->left() - scrDispY->width() - 7);
  pbxPart->setBounds(pbxPart->left(), pbxPart->top(), scrDispX->width(), scrDispY->height());
  view_resized(pbxPart->width(), pbxPart->height());
}

namespace {

TfrmImage* image_form() { return form_of<TfrmImage>(); }

}  // namespace

void ImageFormPort::show() {
  if (TfrmImage* f = image_form()) f->showForm();
}

void ImageFormPort::redraw_image() {
  if (TfrmImage* f = image_form()) f->redraw_image();
}

void ImageFormPort::repaint_image_view() {
  if (TfrmImage* f = image_form()) f->repaint_image_view();
}

void ImageFormPort::image_loaded() { show_loaded_image_view(); }

void ImageFormPort::set_scroll_positions(int32_t x, int32_t y) {
  if (TfrmImage* f = image_form()) f->set_scroll_positions(x, y);
}

void ImageFormPort::set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y) {
  if (TfrmImage* f = image_form()) f->set_scroll_ranges(max_x, max_y, large_x, large_y);
}

void ImageFormPort::draw_gradation_gauge() {
  if (TfrmImage* f = image_form()) f->draw_gradation_gauge();
}

void ImageFormPort::set_view_size(int32_t width, int32_t height) {
  if (TfrmImage* f = image_form()) f->set_view_size(width, height);
}

void ImageFormPort::set_caption(const std::string& caption) {
  if (TfrmImage* f = image_form()) f->setCaption(caption);
}

}  // namespace kestrin::app
