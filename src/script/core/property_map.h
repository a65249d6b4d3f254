// A name -> value map for object members and scope variables: a flat vector that gains a
// hash index past a few entries. Its order is not observable.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "script/core/script_string.h"
#include "script/core/value.h"

namespace kestrin::script {

class PropertyMap {
public:
  struct Entry {
    StrRef key;
    Value value;
    bool removed = false;  // a tombstone: hides a class method of the same name
  };

  Entry* Find(const StrRef& key);
  Entry* Find(std::string_view key);
  // The entry of `key`, added (undefined, not removed) when missing.
  Entry& FindOrAdd(const StrRef& key);
  // Stores v under key (no longer removed). v is taken by value, so it may name a value
  // held in this map even when adding moves the entries.
  Entry& Put(const StrRef& key, Value v) {
    Entry& e = FindOrAdd(key);
    e.removed = false;
    e.value = std::move(v);
    return e;
  }
  bool Erase(std::string_view key);
  // Removes every entry; values are released after the map is already empty.
  void Clear();
  // The same, keeping the storage for the next use.
  void ClearKeepingCapacity();
  // Removes the entries for which pred(entry) is true.
  template <class Pred>
  void EraseIf(Pred pred) {
    std::vector<Entry> dropped;
    std::vector<Entry> kept;
    for (Entry& e : entries_) (pred(e) ? dropped : kept).push_back(std::move(e));
    entries_.swap(kept);
    Reindex();
  }
  size_t size() const { return entries_.size(); }
  std::vector<Entry>& entries() { return entries_; }
  const std::vector<Entry>& entries() const { return entries_; }

private:
  static constexpr size_t kLinearLimit = 8;
  Entry* FindHashed(std::string_view key, uint32_t hash);
  void Reindex();
  void IndexInsert(size_t entry_index);

  std::vector<Entry> entries_;
  std::vector<int32_t> index_;  // open addressing over entries_, power-of-two size, -1 empty
};

}  // namespace kestrin::script
