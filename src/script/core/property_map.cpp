// PropertyMap: linear search for small maps, open addressing for larger ones.
#include "script/core/property_map.h"

namespace kestrin::script {

namespace {
size_t Slot(uint32_t hash, size_t mask) { return (hash * 0x9E3779B1u) & mask; }
}  // namespace

PropertyMap::Entry* PropertyMap::FindHashed(std::string_view key, uint32_t hash) {
  if (index_.empty()) {
    for (Entry& e : entries_)
      if (e.key.view() == key) return &e;
    return nullptr;
  }
  size_t mask = index_.size() - 1;
  for (size_t s = Slot(hash, mask);; s = (s + 1) & mask) {
    int32_t i = index_[s];
    if (i < 0) return nullptr;
    if (entries_[static_cast<size_t>(i)].key.view() == key) return &entries_[static_cast<size_t>(i)];
  }
}

// Keys compare as counted strings: the same cell (an interned name) matches without
// reading the bytes, and different cached hashes mismatch without reading them either.
PropertyMap::Entry* PropertyMap::Find(const StrRef& key) {
  if (index_.empty()) {
    for (Entry& e : entries_)
      if (e.key == key) return &e;
    return nullptr;
  }
  size_t mask = index_.size() - 1;
  for (size_t s = Slot(key.Hash(), mask);; s = (s + 1) & mask) {
    int32_t i = index_[s];
    if (i < 0) return nullptr;
    Entry& e = entries_[static_cast<size_t>(i)];
    if (e.key == key) return &e;
  }
}

PropertyMap::Entry* PropertyMap::Find(std::string_view key) {
  return FindHashed(key, index_.empty() ? 0 : KeyHash(key));
}

PropertyMap::Entry& PropertyMap::FindOrAdd(const StrRef& key) {
  if (Entry* e = Find(key)) return *e;
  entries_.push_back(Entry{key, Value(), false});
  if (!index_.empty() && entries_.size() * 2 <= index_.size()) {
    IndexInsert(entries_.size() - 1);
  } else if (entries_.size() > kLinearLimit) {
    Reindex();
  }
  return entries_.back();
}

bool PropertyMap::Erase(std::string_view key) {
  Entry* e = Find(key);
  if (!e) return false;
  Entry dropped = std::move(*e);
  entries_.erase(entries_.begin() + (e - entries_.data()));
  Reindex();
  return true;  // `dropped` releases its value after the map is consistent
}

void PropertyMap::Clear() {
  std::vector<Entry> dropped;
  dropped.swap(entries_);
  index_.clear();
}

void PropertyMap::ClearKeepingCapacity() {
  if (entries_.empty()) return;
  std::vector<Entry> dropped;
  dropped.swap(entries_);
  index_.clear();
  dropped.clear();
  if (entries_.empty()) entries_.swap(dropped);
}

void PropertyMap::Reindex() {
  index_.clear();
  if (entries_.size() <= kLinearLimit) return;
  size_t n = 16;
  while (n < entries_.size() * 2) n *= 2;
  index_.assign(n, -1);
  for (size_t i = 0; i < entries_.size(); ++i) IndexInsert(i);
}

void PropertyMap::IndexInsert(size_t entry_index) {
  size_t mask = index_.size() - 1;
  size_t s = Slot(entries_[entry_index].key.Hash(), mask);
  while (index_[s] >= 0) s = (s + 1) & mask;
  index_[s] = static_cast<int32_t>(entry_index);
}

}  // namespace kestrin::script
