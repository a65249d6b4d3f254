// TImage: a control showing its Picture's bitmap, at its own size, centred, or stretched
// (keeping its proportions when Proportional); with AutoSize it takes the bitmap's size.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <string>

#include "platform/classes/picture.h"
#include "platform/gui/control.h"

class QPainter;

namespace kgui {

enum TProgressStage { psStarting, psRunning, psEnding };
const EnumInfo& progressStageType();

// Told as a picture is taken in: psStarting at 0 percent, psEnding at 100.
using TProgressEvent = std::function<void(TComponent* sender, int stage, int percent_done, bool redraw_now,
                                          const TRect& rect, const std::string& msg)>;

class TImage : public TControl {
public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TPicture* picture() const { return picture_.get(); }
  bool autoSize() const { return auto_size_; }
  void setAutoSize(bool a);
  bool center() const { return center_; }
  void setCenter(bool c);
  bool stretch() const { return stretch_; }
  void setStretch(bool s);
  bool proportional() const { return proportional_; }
  void setProportional(bool p);
  bool transparent() const { return transparent_; }
  void setTransparent(bool t);
  // The decoded bitmap (null when the picture holds none or another graphic).
  const QImage& image() const { return image_; }
  // Where the bitmap is drawn in the control.
  TRect destRect() const;

  TProgressEvent OnProgress;

  // For the widget.
  void paint(QPainter& painter) const;

protected:
  void applyColor() override {}

private:
  void pictureChanged();
  std::unique_ptr<TPicture> picture_;
  QImage image_;
  bool auto_size_ = false, center_ = false, stretch_ = false, proportional_ = false, transparent_ = false;
};

}  // namespace kgui
