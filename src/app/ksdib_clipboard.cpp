// The clipboard side of TKsDIB, over QClipboard. Under some platforms mimeData() is null
// while the clipboard is empty, so every read tests for it.
#include "app/ksdib_clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <optional>

#include "image/display/ksdib.h"

namespace kestrin::app {

namespace {

constexpr const char* kBmpType = "image/bmp";
constexpr int kFileHeaderSize = 14;

// The clipboard's picture as a BMP stream: our own "image/bmp", else another program's image.
QByteArray clipboard_bmp() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  if (data->hasFormat(kBmpType)) return data->data(kBmpType);
  if (!data->hasImage()) return {};
  const QImage image = qvariant_cast<QImage>(data->imageData());
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "BMP")) return {};
  return bmp;
}

}  // namespace

void save_to_clipboard(const TKsDIB& dib) {
  const std::vector<uint8_t> bmp = dib.SaveToBytes();
  const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
  auto* data = new QMimeData;
  data->setData(kBmpType, bytes);
  const QImage image = QImage::fromData(bytes, "BMP");
  if (!image.isNull()) data->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(data);
}

void assign_from_clipboard(TKsGraphic& graphic) {
  const uint16_t format = graphic.ClipboardFormat();
  std::optional<std::vector<uint8_t>> packed;
  if (format == TKsDIB::CF_DIB) {
    const QByteArray bmp = clipboard_bmp();
    if (bmp.size() > kFileHeaderSize && bmp.startsWith("BM"))
      packed.emplace(reinterpret_cast<const uint8_t*>(bmp.constData()) + kFileHeaderSize,
                     reinterpret_cast<const uint8_t*>(bmp.constData()) + bmp.size());
  }
  graphic.LoadFromClipboardFormat(format, packed ? &*packed : nullptr);
}

}  // namespace kestrin::app
