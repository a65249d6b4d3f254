// The items of a collection (status panels, cool bands): owned by the list, in order.
// Items taken out stay until the list goes, so no reference held elsewhere (a script's item
// object) is left pointing at freed memory.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

namespace kgui {

template <class Item>
class ItemList {
public:
  int count() const { return static_cast<int>(items_.size()); }
  // nil out of range
  Item* at(int index) const { return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].get() : nullptr; }
  int indexOf(const Item* item) const {
    for (int i = 0; i < count(); ++i)
      if (at(i) == item) return i;
    return -1;
  }
  Item* add(std::unique_ptr<Item> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  // False when the item is not in the list.
  bool remove(const Item* item) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == item; });
    if (it == items_.end()) return false;
    removed_.push_back(std::move(*it));
    items_.erase(it);
    return true;
  }
  void clear() {
    for (auto& p : items_) removed_.push_back(std::move(p));
    items_.clear();
  }
  // Takes items out from the end, or adds new ones made by make(), until there are n.
  template <class Make>
  void resize(int n, Make make) {
    while (count() > n) remove(items_.back().get());
    while (count() < n) add(make());
  }

private:
  std::vector<std::unique_ptr<Item>> items_;
  std::vector<std::unique_ptr<Item>> removed_;
};

}  // namespace kgui
