// TImage over a widget that paints the decoded bitmap.
#include "platform/gui/image.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"

namespace kgui {
namespace {

class ImageWidget : public QWidget {
public:
  const TImage* image = nullptr;

protected:
  void paintEvent(QPaintEvent*) override {
    if (!image) return;
    QPainter p(this);
    image->paint(p);
  }
};

}  // namespace

const EnumInfo& progressStageType() {
  static const EnumInfo info{"TProgressStage", {"psStarting", "psRunning", "psEnding"}};
  return info;
}

const ClassInfo& TImage::staticClassInfo() {
  using T = TImage;
  static const ClassInfo info(
      "TImage", &TControl::staticClassInfo(),
      {boolProp<T>("AutoSize", &T::autoSize, &T::setAutoSize, false),
       boolProp<T>("Center", &T::center, &T::setCenter, false), classProp<T, TPicture>("Picture", &T::picture),
       boolProp<T>("Proportional", &T::proportional, &T::setProportional, false),
       boolProp<T>("Stretch", &T::stretch, &T::setStretch, false),
       boolProp<T>("Transparent", &T::transparent, &T::setTransparent, false),
       eventProp<T>("OnProgress", &T::OnProgress)});
  return info;
}

TImage::TImage(TComponent* owner) : TControl(owner, new ImageWidget()), picture_(std::make_unique<TPicture>()) {
  static_cast<ImageWidget*>(widget())->image = this;
  picture_->OnChange = [this] { pictureChanged(); };
  click_on_release_ = true;
  setBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  picture_->OnChange = nullptr;
  if (widget()) static_cast<ImageWidget*>(widget())->image = nullptr;
}

// The platform reports the taking in of a picture as it goes; a bitmap arrives whole.
void TImage::pictureChanged() {
  const std::span<const uint8_t> bmp = picture_->bitmapStream();
  image_ = bmp.empty() ? QImage()
                       : QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
  const TRect whole{0, 0, picture_->width(), picture_->height()};
  fire(OnProgress, this, int(psStarting), 0, false, whole, std::string());
  if (auto_size_ && !picture_->empty() && picture_->width() > 0) setBounds(left(), top(), picture_->width(), picture_->height());
  invalidate();
  fire(OnProgress, this, int(psEnding), 100, true, whole, std::string());
}

void TImage::setAutoSize(bool a) {
  auto_size_ = a;
  if (a && picture_->width() > 0) setBounds(left(), top(), picture_->width(), picture_->height());
}

void TImage::setCenter(bool c) {
  center_ = c;
  invalidate();
}

void TImage::setStretch(bool s) {
  stretch_ = s;
  invalidate();
}

void TImage::setProportional(bool p) {
  proportional_ = p;
  invalidate();
}

void TImage::setTransparent(bool t) {
  transparent_ = t;
  invalidate();
}

TRect TImage::destRect() const {
  int w = picture_->width(), h = picture_->height();
  if (w <= 0 || h <= 0) return {};
  const int cw = width(), ch = height();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_) {
      // The largest size of the bitmap's proportions that fits.
      if (int64_t(cw) * h > int64_t(ch) * w) {
        w = static_cast<int>(int64_t(ch) * w / h);
        h = ch;
      } else {
        h = static_cast<int>(int64_t(cw) * h / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  const int x = center_ ? (cw - w) / 2 : 0, y = center_ ? (ch - h) / 2 : 0;
  return {x, y, x + w, y + h};
}

void TImage::paint(QPainter& painter) const {
  if (image_.isNull()) return;
  const TRect r = destRect();
  painter.drawImage(QRect(r.left, r.top, r.width(), r.height()), image_);
}

}  // namespace kgui
