// A name -> value map for object members and scope variables: a flat array that gains a
// hash index past a few entries. Its order is not observable.
#pragma once

#include <cstdint>
#include <new>
#include <span>
#include <string_view>
#include <vector>

#include "script/core/script_string.h"
#include "script/core/value.h"

namespace kestrin::script {

// Every script object holds one, so the map is two words: the entries and, past
// kLinearLimit of capacity, their hash index share one block.
class PropertyMap {
public:
  struct Entry {
    StrRef key;
    Value value;
    // A tombstone hides a class method of the same name; storing a value revives it.
    bool removed() const { return value.IsHole(); }
    void MarkRemoved() { value = Value::Hole(); }
  };

  PropertyMap() = default;
  PropertyMap(const PropertyMap& o);
  PropertyMap(PropertyMap&& o) noexcept : block_(o.block_), size_(o.size_), cap_(o.cap_) { o.Detach(); }
  PropertyMap& operator=(const PropertyMap& o);
  PropertyMap& operator=(PropertyMap&& o) noexcept;
  ~PropertyMap() {
    while (block_) Clear();  // releasing a value may store into the map again
  }

  Entry* Find(const StrRef& key);
  Entry* Find(std::string_view key);
  // Find, first trying entry `hint`, which holds the key when its key is the very same
  // cell (keys are unique); a found entry's index is left in hint for the next look-up.
  Entry* Find(const StrRef& key, uint32_t& hint) {
    if (hint < size_ && data()[hint].key.cell() == key.cell()) return &data()[hint];
    Entry* e = Find(key);
    if (e) hint = static_cast<uint32_t>(e - data());
    return e;
  }
  // The entry of `key`, added (undefined, not removed) when missing.
  Entry& FindOrAdd(const StrRef& key);
  // Stores v under key (no longer removed). v is taken by value, so it may name a value
  // held in this map even when adding moves the entries.
  Entry& Put(const StrRef& key, Value v) {
    Entry& e = FindOrAdd(key);
    e.value = std::move(v);
    return e;
  }
  // Adds an entry for a key the map does not hold (the caller knows it is absent).
  void AppendNew(const StrRef& key, Value v) {
    if (size_ == cap_) Grow(cap_ ? size_t{cap_} * 2 : 4);
    new (data() + size_) Entry{key, std::move(v)};
    ++size_;
    if (Indexed()) IndexInsert(size_ - 1);
  }
  bool Erase(std::string_view key);
  // Removes every entry; values are released after the map is already empty.
  void Clear();
  // The same, keeping the storage for the next use.
  void ClearKeepingCapacity() {
    if (size_ == 0) return;
    void* block = block_;
    size_t n = size_;
    uint32_t cap = cap_;
    Detach();
    for (size_t i = 0; i < n; ++i) static_cast<Entry*>(block)[i].~Entry();
    if (block_) {  // releasing the values stored something new here
      ::operator delete(block);
      return;
    }
    block_ = block;
    cap_ = cap;
    if (Indexed()) Reindex();
  }
  // Removes the entries for which pred(entry) is true.
  template <class Pred>
  void EraseIf(Pred pred) {
    std::vector<Entry> dropped;
    size_t kept = 0;
    for (size_t i = 0; i < size_; ++i) {
      Entry& e = data()[i];
      if (pred(e)) {
        dropped.push_back(std::move(e));
      } else {
        if (i != kept) data()[kept] = std::move(e);
        ++kept;
      }
    }
    Truncate(kept);
    Reindex();
  }
  size_t size() const { return size_; }
  std::span<Entry> entries() { return {data(), size_}; }
  std::span<const Entry> entries() const { return {data(), size_}; }

private:
  static constexpr size_t kLinearLimit = 8;
  Entry* data() { return static_cast<Entry*>(block_); }
  const Entry* data() const { return static_cast<const Entry*>(block_); }
  bool Indexed() const { return cap_ > kLinearLimit; }
  static size_t IndexSlots(size_t cap);
  int32_t* Index() { return reinterpret_cast<int32_t*>(data() + cap_); }
  void Detach() { block_ = nullptr; size_ = cap_ = 0; }
  void Grow(size_t cap);
  void Truncate(size_t n);
  Entry* FindHashed(std::string_view key, uint32_t hash);
  void Reindex();
  void IndexInsert(size_t entry_index);

  void* block_ = nullptr;  // cap_ entries, then (when Indexed) IndexSlots(cap_) slots
  uint32_t size_ = 0;
  uint32_t cap_ = 0;
};

}  // namespace kestrin::script
