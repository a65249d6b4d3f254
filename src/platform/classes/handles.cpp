// The handle tables: numbers given on first use, looked up both ways.
#include "platform/classes/handles.h"

namespace kgui {

uint32_t HandleTable::handleOf(const void* obj) {
  if (!obj) return 0;
  if (auto it = by_object_.find(obj); it != by_object_.end()) return it->second;
  // Past the end of the numbering, start again from the smallest number of the same step
  // and skip the numbers still in use; there are far more numbers than live objects, so
  // the search ends.
  for (;;) {
    const uint32_t h = next_;
    const uint32_t restart = first_ % step_ == 0 ? step_ : first_ % step_;
    next_ = next_ > UINT32_MAX - step_ ? restart : next_ + step_;
    if (h != 0 && !by_handle_.count(h)) {
      by_object_.emplace(obj, h);
      by_handle_.emplace(h, obj);
      return h;
    }
  }
}

uint32_t HandleTable::find(const void* obj) const {
  auto it = by_object_.find(obj);
  return it == by_object_.end() ? 0 : it->second;
}

void* HandleTable::object(uint32_t handle) const {
  auto it = by_handle_.find(handle);
  return it == by_handle_.end() ? nullptr : const_cast<void*>(it->second);
}

void HandleTable::release(const void* obj) {
  auto it = by_object_.find(obj);
  if (it == by_object_.end()) return;
  by_handle_.erase(it->second);
  by_object_.erase(it);
}

// Window handles are multiples of 4 from 0x10010, as the system's are even and far from 0.
HandleTable& windowHandles() {
  static HandleTable table(0x10010, 4);
  return table;
}

// Commands count from 1.
HandleTable& menuCommands() {
  static HandleTable table(1, 1);
  return table;
}

}  // namespace kgui
