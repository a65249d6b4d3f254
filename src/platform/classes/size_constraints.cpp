// TSizeConstraints: limits kept consistent, and the clamp the controls apply.
#include "platform/classes/size_constraints.h"

#include <algorithm>

#include "platform/classes/property_builders.h"

namespace kgui {

const ClassInfo& TSizeConstraints::staticClassInfo() {
  using T = TSizeConstraints;
  static const ClassInfo info(
      "TSizeConstraints", &TPersistent::staticClassInfo(),
      {ordProp<T, int>("MaxHeight", PropKind::Integer, &T::maxHeight, &T::setMaxHeight, nullptr, 0),
       ordProp<T, int>("MaxWidth", PropKind::Integer, &T::maxWidth, &T::setMaxWidth, nullptr, 0),
       ordProp<T, int>("MinHeight", PropKind::Integer, &T::minHeight, &T::setMinHeight, nullptr, 0),
       ordProp<T, int>("MinWidth", PropKind::Integer, &T::minWidth, &T::setMinWidth, nullptr, 0)});
  return info;
}

void TSizeConstraints::assign(const TPersistent& source) {
  auto* s = dynamic_cast<const TSizeConstraints*>(&source);
  if (!s) {
    TPersistent::assign(source);
    return;
  }
  max_height_ = s->max_height_;
  max_width_ = s->max_width_;
  min_height_ = s->min_height_;
  min_width_ = s->min_width_;
  changed();
}

void TSizeConstraints::setMaxHeight(int v) {
  max_height_ = std::max(0, v);
  if (max_height_ > 0 && min_height_ > max_height_) min_height_ = max_height_;
  changed();
}

void TSizeConstraints::setMaxWidth(int v) {
  max_width_ = std::max(0, v);
  if (max_width_ > 0 && min_width_ > max_width_) min_width_ = max_width_;
  changed();
}

void TSizeConstraints::setMinHeight(int v) {
  min_height_ = std::max(0, v);
  if (max_height_ > 0 && min_height_ > max_height_) max_height_ = min_height_;
  changed();
}

void TSizeConstraints::setMinWidth(int v) {
  min_width_ = std::max(0, v);
  if (max_width_ > 0 && min_width_ > max_width_) max_width_ = min_width_;
  changed();
}

void TSizeConstraints::constrain(int& width, int& height) const {
  if (max_width_ > 0) width = std::min(width, max_width_);
  if (max_height_ > 0) height = std::min(height, max_height_);
  width = std::max(width, min_width_);
  height = std::max(height, min_height_);
}

void TSizeConstraints::changed() {
  if (OnChange) OnChange();
}

}  // namespace kgui
