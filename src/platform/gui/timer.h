// TTimer: OnTimer every Interval milliseconds while Enabled and a handler is assigned.
#pragma once

#include <QTimer>
#include <memory>

#include "platform/gui/control.h"

namespace kgui {

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  int interval() const { return interval_; }
  void setInterval(int ms);
  void setOnTimer(TNotifyEvent handler);

  TNotifyEvent OnTimer;  // assign through setOnTimer to start a timer that had none

private:
  void update();
  std::unique_ptr<QTimer> timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};

}  // namespace kgui
