// TSizeConstraints: the smallest and largest size a control may take (0: no limit).
#pragma once

#include <functional>

#include "platform/classes/persistent.h"

namespace kgui {

class TSizeConstraints : public TPersistent {
public:
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  void assign(const TPersistent& source) override;

  int maxHeight() const { return max_height_; }
  int maxWidth() const { return max_width_; }
  int minHeight() const { return min_height_; }
  int minWidth() const { return min_width_; }
  // A limit below 0 is taken as 0; a minimum above its maximum raises the maximum, and a
  // maximum below its minimum lowers the minimum, so the pair always admits a size.
  void setMaxHeight(int v);
  void setMaxWidth(int v);
  void setMinHeight(int v);
  void setMinWidth(int v);

  // The size clamped to the limits.
  void constrain(int& width, int& height) const;

  std::function<void()> OnChange;  // the owning control applies the new limits

private:
  void changed();
  int max_height_ = 0, max_width_ = 0, min_height_ = 0, min_width_ = 0;
};

}  // namespace kgui
