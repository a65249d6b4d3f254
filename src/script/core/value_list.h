// TJValueList: the ordered value list behind argument lists and arrays.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "script/core/value.h"

namespace kestrin::script {

// Longest list a script may make; beyond it a script error is raised.
inline constexpr int32_t kMaxListCount = 1 << 24;

// Sort algorithms of lists: 0 merge sort (stable), 1 quicksort, 2 insertion sort
// (stable); other non-zero values sort as quicksort.
using ValueCompare = std::function<int(const Value&, const Value&)>;

class TJValueList {
public:
  TJValueList() = default;
  TJValueList(std::initializer_list<Value> values);
  TJValueList(const TJValueList& o) : items_(o.items_) {}
  TJValueList& operator=(const TJValueList& o);
  ~TJValueList() { Clear(); }

  // Appends a copy. Without inc_ref an object is held weakly: the slot reads undefined
  // once the object is gone, and does not keep it alive.
  int32_t Add(const Value& v, bool inc_ref = true);
  int32_t AddInteger(int32_t i) { return Add(Value::Integer(i)); }
  int32_t AddDouble(double d) { return Add(Value::Double(d)); }
  int32_t AddString(StrRef s) { return Add(Value::String(std::move(s))); }
  int32_t AddBool(bool b) { return Add(Value::Bool(b)); }
  int32_t AddObject(TJObject* obj, bool inc_ref) { return Add(Value::Object(obj), inc_ref); }
  // Index errors raise the script error "EIndexError".
  void Insert(int32_t index, const Value& v);
  void Put(int32_t index, const Value& v);
  Value GetValue(int32_t index) const;
  void GetValue(int32_t index, Value& out) const { out = GetValue(index); }
  void Delete(int32_t index);
  // Deletes from the last item to the first.
  void Clear();
  void SetCount(int32_t count);
  void Assign(const TJValueList* source);
  int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
  // Sorts a snapshot and commits it only when every comparison returned: a comparison
  // that throws or changes the list leaves the list as it was before the sort.
  void Sort(const ValueCompare& compare, uint8_t sort_type = 0);

private:
  void CheckIndex(int32_t index, int32_t limit) const;
  static Value Resolve(const Value& slot);

  std::vector<Value> items_;
};

}  // namespace kestrin::script
