// PropertyMap: linear search for small maps, open addressing for larger ones.
#include "script/core/property_map.h"

#include <algorithm>
#include <bit>
#include <new>

namespace kestrin::script {

namespace {
size_t Slot(uint32_t hash, size_t mask) { return (hash * 0x9E3779B1u) & mask; }
}  // namespace

// At most half the slots are taken, so a probe always ends at an empty one.
size_t PropertyMap::IndexSlots(size_t cap) { return std::max<size_t>(16, std::bit_ceil(cap * 2)); }

PropertyMap::PropertyMap(const PropertyMap& o) {
  if (o.size_ == 0) return;
  Grow(o.size_);
  for (const Entry& e : o.entries()) {
    new (data() + size_) Entry(e);
    ++size_;
  }
  Reindex();
}

PropertyMap& PropertyMap::operator=(const PropertyMap& o) {
  if (this != &o) *this = PropertyMap(o);
  return *this;
}

// The old entries are released after the map holds the new ones.
PropertyMap& PropertyMap::operator=(PropertyMap&& o) noexcept {
  if (this == &o) return *this;
  PropertyMap old(std::move(*this));
  block_ = o.block_;
  size_ = o.size_;
  cap_ = o.cap_;
  o.Detach();
  return *this;
}

void PropertyMap::Grow(size_t cap) {
  size_t bytes = cap * sizeof(Entry) + (cap > kLinearLimit ? IndexSlots(cap) * sizeof(int32_t) : 0);
  auto* moved = static_cast<Entry*>(::operator new(bytes));
  for (size_t i = 0; i < size_; ++i) {
    new (moved + i) Entry(std::move(data()[i]));
    data()[i].~Entry();
  }
  ::operator delete(block_);
  block_ = moved;
  cap_ = static_cast<uint32_t>(cap);
  Reindex();
}

void PropertyMap::Truncate(size_t n) {
  for (size_t i = n; i < size_; ++i) data()[i].~Entry();
  size_ = static_cast<uint32_t>(std::min<size_t>(n, size_));
}

PropertyMap::Entry* PropertyMap::FindHashed(std::string_view key, uint32_t hash) {
  if (!Indexed()) {
    for (Entry& e : entries())
      if (e.key.view() == key) return &e;
    return nullptr;
  }
  size_t mask = IndexSlots(cap_) - 1;
  for (size_t s = Slot(hash, mask);; s = (s + 1) & mask) {
    int32_t i = Index()[s];
    if (i < 0) return nullptr;
    if (data()[i].key.view() == key) return &data()[i];
  }
}

// Keys compare as counted strings: the same cell (an interned name) matches without
// reading the bytes, and different cached hashes mismatch without reading them either.
PropertyMap::Entry* PropertyMap::Find(const StrRef& key) {
  if (!Indexed()) {
    for (Entry& e : entries())
      if (e.key == key) return &e;
    return nullptr;
  }
  size_t mask = IndexSlots(cap_) - 1;
  for (size_t s = Slot(key.Hash(), mask);; s = (s + 1) & mask) {
    int32_t i = Index()[s];
    if (i < 0) return nullptr;
    Entry& e = data()[i];
    if (e.key == key) return &e;
  }
}

PropertyMap::Entry* PropertyMap::Find(std::string_view key) {
  return FindHashed(key, Indexed() ? KeyHash(key) : 0);
}

PropertyMap::Entry& PropertyMap::FindOrAdd(const StrRef& key) {
  if (Entry* e = Find(key)) return *e;
  if (size_ == cap_) Grow(cap_ ? size_t{cap_} * 2 : 1);
  new (data() + size_) Entry{key, Value()};
  ++size_;
  if (Indexed()) IndexInsert(size_ - 1);
  return data()[size_ - 1];
}

bool PropertyMap::Erase(std::string_view key) {
  Entry* e = Find(key);
  if (!e) return false;
  Entry dropped = std::move(*e);
  std::move(e + 1, data() + size_, e);
  Truncate(size_ - 1);
  Reindex();
  return true;  // `dropped` releases its value after the map is consistent
}

void PropertyMap::Clear() {
  void* block = block_;
  size_t n = size_;
  Detach();
  for (size_t i = 0; i < n; ++i) static_cast<Entry*>(block)[i].~Entry();
  ::operator delete(block);
}

void PropertyMap::Reindex() {
  if (!Indexed()) return;
  std::fill_n(Index(), IndexSlots(cap_), -1);
  for (size_t i = 0; i < size_; ++i) IndexInsert(i);
}

void PropertyMap::IndexInsert(size_t entry_index) {
  size_t mask = IndexSlots(cap_) - 1;
  size_t s = Slot(data()[entry_index].key.Hash(), mask);
  while (Index()[s] >= 0) s = (s + 1) & mask;
  Index()[s] = static_cast<int32_t>(entry_index);
}

}  // namespace kestrin::script
