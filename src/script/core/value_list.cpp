// TJValueList: counted and weak slots, index checks, and sorting of a snapshot.
#include "script/core/value_list.h"

#include <string>

#include "base/list_sort.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {

TJValueList::TJValueList(std::initializer_list<Value> values) : items_(values) {}

TJValueList& TJValueList::operator=(const TJValueList& o) {
  if (this != &o) {
    std::vector<Value> copy = o.items_;
    items_.swap(copy);
  }
  return *this;
}

Value TJValueList::Resolve(const Value& slot) {
  if (slot.raw_type() != vtInternalWeak) return slot;
  TJObject* o = slot.weak_target();
  return o ? Value::Object(o) : Value();
}

void TJValueList::CheckIndex(int32_t index, int32_t limit) const {
  if (index < 0 || index >= limit)
    RaiseError(ScriptError::ValueListIndex, {std::to_string(index)});
}

int32_t TJValueList::Add(const Value& v, bool inc_ref) {
  if (GetCount() >= kMaxListCount) RaiseError(ScriptError::ListTooLong);
  if (!inc_ref && v.type() == vtObject) items_.push_back(Value::WeakObject(v.object()));
  else items_.push_back(v);
  return GetCount() - 1;
}

void TJValueList::Insert(int32_t index, const Value& v) {
  CheckIndex(index, GetCount() + 1);
  if (GetCount() >= kMaxListCount) RaiseError(ScriptError::ListTooLong);
  items_.insert(items_.begin() + index, v);
}

void TJValueList::Put(int32_t index, const Value& v) {
  CheckIndex(index, GetCount());
  Value next = v;  // counted before the old value goes
  items_[static_cast<size_t>(index)].Swap(next);
}

Value TJValueList::GetValue(int32_t index) const {
  CheckIndex(index, GetCount());
  return Resolve(items_[static_cast<size_t>(index)]);
}

void TJValueList::Delete(int32_t index) {
  CheckIndex(index, GetCount());
  Value old = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
}

void TJValueList::Clear() {
  while (!items_.empty()) {
    Value old = std::move(items_.back());
    items_.pop_back();
  }
}

void TJValueList::SetCount(int32_t count) {
  if (count < 0) count = 0;
  if (count > kMaxListCount) RaiseError(ScriptError::ListTooLong);
  while (GetCount() > count) Delete(GetCount() - 1);
  items_.resize(static_cast<size_t>(count));
}

void TJValueList::Assign(const TJValueList* source) {
  Clear();
  if (!source || source == this) return;
  items_.reserve(source->items_.size());
  for (const Value& v : source->items_) items_.push_back(Resolve(v));
}

void TJValueList::Sort(const ValueCompare& compare, uint8_t sort_type) {
  if (items_.size() < 2) return;
  std::vector<Value> snapshot = items_;
  std::vector<int32_t> order(snapshot.size());
  std::vector<Value> resolved;
  resolved.reserve(snapshot.size());
  for (size_t i = 0; i < snapshot.size(); ++i) {
    order[i] = static_cast<int32_t>(i);
    resolved.push_back(Resolve(snapshot[i]));
  }
  SortByType(order, sort_type, [&](int32_t a, int32_t b) {
    return compare(resolved[static_cast<size_t>(a)], resolved[static_cast<size_t>(b)]);
  });
  std::vector<Value> sorted;
  sorted.reserve(order.size());
  for (int32_t i : order) sorted.push_back(std::move(snapshot[static_cast<size_t>(i)]));
  items_.swap(sorted);
}

}  // namespace kestrin::script
