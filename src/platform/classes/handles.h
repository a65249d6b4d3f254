// 32-bit handles for objects that scripts and form code see by number: window handles
// (Handle, handle), menu item commands (Command) and item ids (ItemId). A handle is given on
// first use and stays the object's until it is released; released numbers are not given
// again until the numbering wraps, so a stale number never names a newer object by chance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace kgui {

class HandleTable {
public:
  // Numbers run first, first + step, ...; past the top they start again at the smallest
  // positive number of the same step. 0 is never a handle.
  HandleTable(uint32_t first, uint32_t step) : first_(first), step_(step), next_(first) {}
  // The object's handle, given now when it has none.
  uint32_t handleOf(const void* obj);
  // The object's handle when it has one, else 0.
  uint32_t find(const void* obj) const;
  // The object a handle names; nil for 0 or a number that names nothing.
  void* object(uint32_t handle) const;
  void release(const void* obj);
  size_t size() const { return by_object_.size(); }

private:
  uint32_t first_, step_, next_;
  std::unordered_map<const void*, uint32_t> by_object_;
  std::unordered_map<uint32_t, const void*> by_handle_;
};

// Window handles of controls and menus, and the item ids of list and tree items: one
// numbering, so no two of them share a number.
HandleTable& windowHandles();
// Menu item commands: small numbers, unique among the live menu items.
HandleTable& menuCommands();

}  // namespace kgui
