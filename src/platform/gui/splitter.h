// TSplitter: a thin control aligned beside a sibling of the same alignment; dragging it
// resizes that sibling, never below MinSize and never leaving less than MinSize beside it.
#pragma once

#include <functional>

#include "platform/gui/control.h"

namespace kgui {

using TCanResizeEvent = std::function<void(TComponent* sender, int& new_size, bool& accept)>;

class TSplitter : public TControl {
public:
  explicit TSplitter(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int minSize() const { return min_size_; }
  void setMinSize(int v) { min_size_ = std::max(1, v); }

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

protected:
  void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void mouseMove(TShiftState shift, int x, int y) override;
  void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  bool horizontal() const { return align() == alLeft || align() == alRight; }
  // The sibling the splitter resizes: the one of the same alignment that it touches.
  TControl* findNeighbour() const;
  int sizeOf(const TControl* c) const { return horizontal() ? c->width() : c->height(); }
  // The splitter's position in its parent, along the direction it moves.
  int along(int x, int y) const { return horizontal() ? left() + x : top() + y; }
  TControl* neighbour_ = nullptr;
  int start_ = 0, start_size_ = 0, max_size_ = 0;
  bool dragging_ = false, moved_ = false;
  int min_size_ = 30;
};

}  // namespace kgui
