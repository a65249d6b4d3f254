// RecordingCanvas: each drawing call as one line of text, for tests of drawing code.
#include <algorithm>
#include <cstdlib>

#include "platform/classes/canvas.h"

namespace kgui {

std::string colorHex(TColor c) {
  static const char digits[] = "0123456789ABCDEF";
  auto v = static_cast<uint32_t>(c);
  std::string out = "$";
  int n = (v > 0xFFFFFF) ? 8 : 6;
  for (int i = n - 1; i >= 0; --i) out += digits[(v >> (i * 4)) & 0xF];
  return out;
}

static std::string pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

void RecordingCanvas::record(std::string call) { calls_.push_back(std::move(call)); }

std::string RecordingCanvas::penText() {
  return " pen=" + colorHex(pen().color) + "/" + std::to_string(pen().width) + (pen().mode == pmXor ? "/xor" : "");
}

std::string RecordingCanvas::brushText() {
  return brush().style == bsClear ? " brush=clear" : " brush=" + colorHex(brush().color);
}

void RecordingCanvas::drawLine(TPoint from, TPoint to) {
  record("LineTo " + pt(from.x, from.y) + " " + pt(to.x, to.y) + penText());
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
  record("Rectangle " + pt(x1, y1) + " " + pt(x2, y2) + penText() + brushText());
}

void RecordingCanvas::fillRect(const TRect& r) {
  record("FillRect " + pt(r.left, r.top) + " " + pt(r.right, r.bottom) + brushText());
}

void RecordingCanvas::ellipse(int x1, int y1, int x2, int y2) {
  record("Ellipse " + pt(x1, y1) + " " + pt(x2, y2) + penText() + brushText());
}

static std::string points(const std::vector<TPoint>& ps) {
  std::string out;
  for (const auto& p : ps) out += " " + pt(p.x, p.y);
  return out;
}

void RecordingCanvas::polygon(const std::vector<TPoint>& ps) {
  record("Polygon" + points(ps) + penText() + brushText());
}

void RecordingCanvas::polyline(const std::vector<TPoint>& ps) {
  record("Polyline" + points(ps) + penText());
}

void RecordingCanvas::textOut(int x, int y, const std::string& text) {
  record("TextOut " + pt(x, y) + " '" + text + "' font=" + font().name() + "/" +
         std::to_string(font().size()) + "/" + colorHex(font().color()) + brushText());
}

TSize RecordingCanvas::textExtent(const std::string& text) {
  int h = std::abs(font().height());
  return {static_cast<int>(text.size()) * (h / 2), h};
}

TColor RecordingCanvas::pixel(int x, int y) {
  for (auto it = pixels_.rbegin(); it != pixels_.rend(); ++it)
    if (it->first == TPoint{x, y}) return it->second;
  return clWhite;
}

void RecordingCanvas::setPixel(int x, int y, TColor color) {
  pixels_.push_back({{x, y}, color});
  record("Pixel " + pt(x, y) + " " + colorHex(color));
}

void RecordingCanvas::stretchDraw(const TRect& dest, const Raster8& image) {
  stretchDraw(dest, image, {0, 0, image.width, image.height});
}

void RecordingCanvas::stretchDraw(const TRect& dest, const Raster8& image, const TRect& source) {
  record("StretchDraw " + pt(dest.left, dest.top) + " " + pt(dest.right, dest.bottom) + " from " +
         pt(source.left, source.top) + " " + pt(source.right, source.bottom) + " of " +
         std::to_string(image.width) + "x" + std::to_string(image.height));
}

void RecordingCanvas::drawRaster(int x, int y, const Raster32& image) {
  record("DrawRaster " + pt(x, y) + " " + std::to_string(image.width) + "x" + std::to_string(image.height));
}

}  // namespace kgui
