// The drawing surface as windows, pictures and printers offer it, without Qt: pen, brush
// and font state, lines, shapes, text, pixels and stretched 8-bit palette images.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/classes/graphics.h"

namespace kgui {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TBrushStyle { bsSolid, bsClear };
// How pen and brush combine with the picture: copied over it, or exclusive-or'ed with it (drawing
// the same shape twice then restores the picture).
enum TPenMode { pmCopy, pmXor };

struct TPen {
  TColor color = clBlack;
  int width = 1;
  TPenStyle style = psSolid;
  TPenMode mode = pmCopy;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;
};

// An 8-bit image in memory: rows of `width` bytes, `stride` bytes apart, top row first,
// each byte an index into a 256-entry palette of TColor values. `bits` points at the top
// row; a negative stride walks bottom-up storage (a DIB) without copying it.
struct Raster8 {
  int width = 0;
  int height = 0;
  int stride = 0;
  const uint8_t* bits = nullptr;
  std::span<const TColor> palette;
};

// A 32-bit image in memory, pixels 0x00RRGGBB (opaque), rows `stride` pixels apart.
struct Raster32 {
  int width = 0;
  int height = 0;
  int stride = 0;
  const uint32_t* pixels = nullptr;
};

class Canvas {
public:
  virtual ~Canvas() = default;

  TPen& pen() { return pen_; }
  TBrush& brush() { return brush_; }
  TFont& font() { return font_; }
  TPoint penPos() const { return pen_pos_; }

  // Between beginBatch and the matching endBatch a canvas may hold drawing back and issue it
  // in larger calls (lines of one pen as one call); the picture is the same as drawing call by
  // call. Batches nest; the outermost end issues what is held. Reading a pixel issues it too.
  virtual void beginBatch() {}
  virtual void endBatch() {}
  // Issues what a batch holds so far; the batch goes on.
  virtual void flushBatch() {}

  void moveTo(int x, int y) { pen_pos_ = {x, y}; }
  // Draws from the pen position to (x, y), the end point excluded, and moves there.
  void lineTo(int x, int y) {
    drawLine(pen_pos_, {x, y});
    pen_pos_ = {x, y};
  }
  // Outline with the pen, inside with the brush; covers x1..x2-1, y1..y2-1.
  virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void fillRect(const TRect& r) = 0;  // brush only
  // The one-pixel outline of r in the brush colour.
  void frameRect(const TRect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    fillRect({r.left, r.top, r.right, r.top + 1});
    fillRect({r.left, r.bottom - 1, r.right, r.bottom});
    fillRect({r.left, r.top, r.left + 1, r.bottom});
    fillRect({r.right - 1, r.top, r.right, r.bottom});
  }
  virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void polygon(const std::vector<TPoint>& points) = 0;
  virtual void polyline(const std::vector<TPoint>& points) = 0;
  // Text with its top-left at (x, y); the background is filled unless the brush is clear.
  virtual void textOut(int x, int y, const std::string& text) = 0;
  virtual TSize textExtent(const std::string& text) = 0;
  int textWidth(const std::string& text) { return textExtent(text).cx; }
  int textHeight(const std::string& text) { return textExtent(text).cy; }
  virtual TColor pixel(int x, int y) = 0;  // clNone where it cannot be read
  virtual void setPixel(int x, int y, TColor color) = 0;
  // Stretches the whole raster (or its source part) into dest, nearest pixel, no smoothing:
  // destination pixel (x, y) shows source pixel (left + x * w / W, top + y * h / H) for a
  // w x h source and a W x H destination. Work is in proportion to the destination.
  virtual void stretchDraw(const TRect& dest, const Raster8& image) = 0;
  virtual void stretchDraw(const TRect& dest, const Raster8& image, const TRect& source) = 0;
  // Copies a finished picture 1:1 with its top-left at (x, y).
  virtual void drawRaster(int x, int y, const Raster32& image) = 0;

protected:
  virtual void drawLine(TPoint from, TPoint to) = 0;

private:
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint pen_pos_;
};

// A batch for the lifetime of a scope, ended also when the drawing throws.
class CanvasBatch {
public:
  explicit CanvasBatch(Canvas& canvas) : canvas_(canvas) { canvas_.beginBatch(); }
  ~CanvasBatch() { canvas_.endBatch(); }
  CanvasBatch(const CanvasBatch&) = delete;
  CanvasBatch& operator=(const CanvasBatch&) = delete;

private:
  Canvas& canvas_;
};

// A canvas that draws nothing and records each call as a line of text with the state it
// used, for tests of drawing code: "LineTo 0,0 10,10 pen=$0000FF/1" (an exclusive-or pen adds
// "/xor"). Batches change nothing here.
class RecordingCanvas : public Canvas {
public:
  RecordingCanvas() = default;
  const std::vector<std::string>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }

  void rectangle(int x1, int y1, int x2, int y2) override;
  void fillRect(const TRect& r) override;
  void ellipse(int x1, int y1, int x2, int y2) override;
  void polygon(const std::vector<TPoint>& points) override;
  void polyline(const std::vector<TPoint>& points) override;
  void textOut(int x, int y, const std::string& text) override;
  // A fixed metric: height |Font.Height|, width half the height per byte.
  TSize textExtent(const std::string& text) override;
  TColor pixel(int x, int y) override;
  void setPixel(int x, int y, TColor color) override;
  void stretchDraw(const TRect& dest, const Raster8& image) override;
  void stretchDraw(const TRect& dest, const Raster8& image, const TRect& source) override;
  void drawRaster(int x, int y, const Raster32& image) override;

protected:
  void drawLine(TPoint from, TPoint to) override;

private:
  void record(std::string call);
  std::string penText();
  std::string brushText();

  std::vector<std::string> calls_;
  std::vector<std::pair<TPoint, TColor>> pixels_;
};

std::string colorHex(TColor c);  // "$00BBGGRR" without the leading zero byte: "$0000FF"

}  // namespace kgui
