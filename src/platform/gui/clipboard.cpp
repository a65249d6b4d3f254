// TClipboard over QClipboard. Under some platforms mimeData() is null while the clipboard is
// empty, so every read tests for it.
#include "platform/gui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/gui/qt_convert.h"

namespace kgui {

namespace {

const QMimeData* content() {
  QClipboard* c = QGuiApplication::clipboard();
  return c ? c->mimeData() : nullptr;
}

}  // namespace

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::open() {
  if (open_count_++ == 0) pending_ = std::make_unique<QMimeData>();
}

void TClipboard::close() {
  if (open_count_ == 0 || --open_count_ > 0) return;
  if (QClipboard* c = QGuiApplication::clipboard()) c->setMimeData(pending_.release());
  pending_.reset();
}

void TClipboard::clear() {
  if (open_count_ > 0) {
    pending_ = std::make_unique<QMimeData>();
    return;
  }
  if (QClipboard* c = QGuiApplication::clipboard()) c->clear();
}

QMimeData& TClipboard::target() {
  if (!pending_) pending_ = std::make_unique<QMimeData>();
  return *pending_;
}

void TClipboard::commit() {
  if (open_count_ > 0) return;
  if (QClipboard* c = QGuiApplication::clipboard()) c->setMimeData(pending_.release());
  pending_.reset();
}

std::string TClipboard::asText() const {
  const QMimeData* d = content();
  return d && d->hasText() ? ss(d->text()) : std::string();
}

void TClipboard::setAsText(const std::string& text) {
  target().setText(qs(text));
  commit();
}

QImage TClipboard::image() const {
  const QMimeData* d = content();
  return d && d->hasImage() ? qvariant_cast<QImage>(d->imageData()) : QImage();
}

void TClipboard::setImage(const QImage& image) {
  target().setImageData(image);
  commit();
}

bool TClipboard::hasFormat(const std::string& format) const {
  const QMimeData* d = content();
  return d && d->hasFormat(qs(format));
}

std::vector<uint8_t> TClipboard::data(const std::string& format) const {
  const QMimeData* d = content();
  if (!d || !d->hasFormat(qs(format))) return {};
  const QByteArray bytes = d->data(qs(format));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void TClipboard::setData(const std::string& format, const std::vector<uint8_t>& bytes) {
  target().setData(qs(format), QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  commit();
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

bool clipboardHasText() {
  const QMimeData* d = content();
  return d && d->hasText();
}

std::string clipboardText() { return Clipboard().asText(); }

void setClipboardText(const std::string& text) { Clipboard().setAsText(text); }

}  // namespace kgui
