// TTimer over QTimer.
#include "platform/gui/timer.h"

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"

namespace kgui {

const ClassInfo& TTimer::staticClassInfo() {
  using T = TTimer;
  static const ClassInfo info(
      "TTimer", &TComponent::staticClassInfo(),
      {boolProp<T>("Enabled", &T::enabled, &T::setEnabled, true),
       ordProp<T, int>("Interval", PropKind::Integer, &T::interval, &T::setInterval, nullptr, 1000),
       eventProp<T>("OnTimer", &T::OnTimer)});
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    if (OnTimer) fire(OnTimer, this);
    else timer_->stop();
  });
}

TTimer::~TTimer() {
  timer_->stop();
  // A handler may free its own timer while the timer is still emitting.
  if (handlerDepth() > 0) timer_.release()->deleteLater();
}

void TTimer::update() {
  if (enabled_ && interval_ > 0 && OnTimer) timer_->start(interval_);
  else timer_->stop();
}

void TTimer::setEnabled(bool e) {
  enabled_ = e;
  update();
}

void TTimer::setInterval(int ms) {
  interval_ = ms;
  update();
}

void TTimer::setOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  update();
}

}  // namespace kgui
