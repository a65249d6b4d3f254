// Name tables with a fixed number of buckets whose key order is observable: keys are
// listed bucket by bucket (KeyHash mod size), each bucket in the table's name order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/core/script_string.h"

namespace kestrin::script {

// The name order of tables and sorted name lists. It stands in for the user-locale
// comparison of the platform: symbols before digits before letters, letters compared
// without case first, then lower case before upper case; bytes of two-byte characters
// after all of these, by value.
int LocaleCompare(std::string_view a, std::string_view b);
// The same without the case tie-break (names equal but for case compare equal).
int LocaleCompareText(std::string_view a, std::string_view b);
// Appends to out a key of the name whose byte order (memcmp, shorter first) is the order of
// LocaleCompare: a sort over many names converts each once instead of on every comparison.
void AppendLocaleSortKey(std::string_view name, std::string& out);
// ASCII lower-casing that leaves the trail bytes of two-byte characters alone.
std::string LocaleLower(std::string_view s);

// A missing key read from a table whose RaiseError is set.
class EHashTableError : public std::runtime_error {
public:
  EHashTableError() : std::runtime_error("dont has key") {}
};

// A table of V under string keys. OnFreeItem sees every item that is removed, replaced or
// cleared, before it goes.
template <class V>
class HashTable {
public:
  struct Item {
    std::string key;
    V value;
  };

  HashTable(uint32_t table_size, bool ignore_case)
      : buckets_(table_size ? table_size : 1), ignore_case_(ignore_case) {}
  HashTable(const HashTable&) = delete;
  HashTable& operator=(const HashTable&) = delete;
  ~HashTable() { Clear(); }

  bool raise_error = false;
  std::function<void(Item&)> on_free_item;

  uint32_t TableSize() const { return static_cast<uint32_t>(buckets_.size()); }
  bool IgnoreCase() const { return ignore_case_; }
  uint32_t BucketOf(std::string_view key) const {
    uint32_t h = ignore_case_ ? KeyHash(LocaleLower(key)) : KeyHash(key);
    return h % TableSize();
  }

  bool HasKey(std::string_view key) const { return Locate(key).second; }
  const V* Find(std::string_view key) const {
    auto [b, found] = Locate(key);
    return found ? &buckets_[BucketOf(key)][b].value : nullptr;
  }
  V* Find(std::string_view key) { return const_cast<V*>(std::as_const(*this).Find(key)); }
  // The value, or `missing` (EHashTableError when raise_error is set).
  V GetValue(std::string_view key, const V& missing = V()) const {
    if (const V* v = Find(key)) return *v;
    if (raise_error) throw EHashTableError();
    return missing;
  }
  // Inserts, replacing an item of the same key (the new key's case is kept).
  void SetValue(std::string_view key, V value) {
    auto& bucket = buckets_[BucketOf(key)];
    auto [pos, found] = Locate(key);
    keys_dirty_ = true;
    if (found) {
      Item old = std::move(bucket[pos]);
      bucket[pos] = Item{std::string(key), std::move(value)};
      Free(old);
    } else {
      bucket.insert(bucket.begin() + static_cast<ptrdiff_t>(pos), Item{std::string(key), std::move(value)});
    }
  }
  bool Remove(std::string_view key) {
    auto& bucket = buckets_[BucketOf(key)];
    auto [pos, found] = Locate(key);
    if (!bucket.empty()) keys_dirty_ = true;
    if (!found) return false;
    Item old = std::move(bucket[pos]);
    bucket.erase(bucket.begin() + static_cast<ptrdiff_t>(pos));
    Free(old);
    return true;
  }
  void Clear() {
    for (auto& bucket : buckets_) {
      std::vector<Item> items;
      items.swap(bucket);
      for (Item& it : items) Free(it);
    }
    keys_.clear();
    keys_dirty_ = false;
  }
  // Bucket 0 to size - 1, each bucket in name order.
  const std::vector<std::string>& Keys() const {
    if (keys_dirty_) {
      keys_.clear();
      for (const auto& bucket : buckets_)
        for (const Item& it : bucket) keys_.push_back(it.key);
      keys_dirty_ = false;
    }
    return keys_;
  }
  // The keys one per line, trailing control characters and blanks removed.
  std::string KeyText() const {
    std::string text;
    for (const std::string& k : Keys()) text += k + "\r\n";
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
    return text;
  }
  size_t Count() const {
    size_t n = 0;
    for (const auto& b : buckets_) n += b.size();
    return n;
  }
  template <class F>
  void ForEach(F f) const {
    for (const auto& bucket : buckets_)
      for (const Item& it : bucket) f(it.key, it.value);
  }

private:
  int Compare(std::string_view a, std::string_view b) const {
    return ignore_case_ ? LocaleCompareText(a, b) : LocaleCompare(a, b);
  }
  // Binary search: (index, found) or (insertion point, false).
  std::pair<size_t, bool> Locate(std::string_view key) const {
    const auto& bucket = buckets_[BucketOf(key)];
    ptrdiff_t lo = 0, hi = static_cast<ptrdiff_t>(bucket.size()) - 1;
    while (lo <= hi) {
      ptrdiff_t mid = (lo + hi) / 2;
      int c = Compare(bucket[static_cast<size_t>(mid)].key, key);
      if (c == 0) return {static_cast<size_t>(mid), true};
      if (c < 0) lo = mid + 1; else hi = mid - 1;
    }
    return {static_cast<size_t>(lo), false};
  }
  void Free(Item& it) {
    if (on_free_item) on_free_item(it);
    if (free_value_) free_value_(it.value);
  }

protected:
  std::function<void(V&)> free_value_;  // the typed table's own freeing, after on_free_item

private:
  std::vector<std::vector<Item>> buckets_;
  bool ignore_case_;
  mutable std::vector<std::string> keys_;
  mutable bool keys_dirty_ = false;
};

// The typed tables of the engine and its host objects.
using TStringHashTable = HashTable<std::string>;
using TIntegerHashTable = HashTable<int32_t>;
using TPointerHashTable = HashTable<void*>;

// A table of objects that it frees on removal, replacement, clearing and destruction
// while owns_objects is set.
template <class T>
class TObjectHashTable : public HashTable<T*> {
public:
  TObjectHashTable(uint32_t table_size, bool ignore_case) : HashTable<T*>(table_size, ignore_case) {
    this->free_value_ = [this](T*& v) {
      if (owns_objects) delete v;
      v = nullptr;
    };
  }
  ~TObjectHashTable() { this->Clear(); }
  bool owns_objects = true;
};

}  // namespace kestrin::script
