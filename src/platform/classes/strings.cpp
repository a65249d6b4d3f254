// TStrings text forms, TStringList storage and sorting, and the callback-backed lists.
#include "platform/classes/strings.h"

#include <algorithm>

#include "base/comma_text.h"
#include "base/text_file.h"
#include "platform/classes/property_builders.h"

namespace kgui {

const ClassInfo& TStrings::staticClassInfo() {
  static const ClassInfo info("TStrings", &TPersistent::staticClassInfo());
  return info;
}

void TStrings::checkIndex(int index, int limit) const {
  if (index < 0 || index >= limit)
    throw EPropertyError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::put(int index, const std::string& s) {
  beginUpdate();
  remove(index);
  insert(index, s);
  endUpdate();
}

int TStrings::add(const std::string& s) {
  int n = count();
  insert(n, s);
  return n;
}

int TStrings::indexOf(const std::string& s) const {
  for (int i = 0, n = count(); i < n; ++i)
    if (sameText(get(i), s)) return i;
  return -1;
}

void TStrings::addStrings(const TStrings& other) {
  beginUpdate();
  for (int i = 0, n = other.count(); i < n; ++i) add(other.get(i));
  endUpdate();
}

void TStrings::assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TStrings*>(&source);
  if (!src) return TPersistent::assign(source);
  if (src == this) return;
  beginUpdate();
  clear();
  addStrings(*src);
  endUpdate();
}

std::vector<std::string> TStrings::toVector() const {
  std::vector<std::string> out;
  for (int i = 0, n = count(); i < n; ++i) out.push_back(get(i));
  return out;
}

std::string TStrings::text() const {
  std::string out;
  for (int i = 0, n = count(); i < n; ++i) out += get(i) + "\r\n";
  return out;
}

void TStrings::setText(const std::string& text) {
  beginUpdate();
  struct End {
    TStrings& s;
    ~End() { s.endUpdate(); }
  } end{*this};
  setLines(kestrin::split_lines(text));
}

void TStrings::setLines(std::vector<std::string>&& lines) {
  clear();
  for (const std::string& line : lines) add(line);
}

static bool needsQuotes(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) <= ' ') || c == '"' || c == ',';
  });
}

std::string TStrings::commaText() const {
  int n = count();
  if (n == 1 && get(0).empty()) return "\"\"";
  std::string out;
  for (int i = 0; i < n; ++i) {
    std::string s = get(i);
    if (i > 0) out += ',';
    if (!needsQuotes(s)) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

void TStrings::setCommaText(const std::string& text) {
  beginUpdate();
  clear();
  for (const std::string& item : kestrin::split_comma_text(text)) add(item);
  endUpdate();
}

void TStrings::beginUpdate() {
  if (update_count_ == 0) setUpdateState(true);
  ++update_count_;
}

void TStrings::endUpdate() {
  if (update_count_ > 0 && --update_count_ == 0) setUpdateState(false);
}

// ---- TStringList ----

const ClassInfo& TStringList::staticClassInfo() {
  static const ClassInfo info(
      "TStringList", &TStrings::staticClassInfo(),
      {boolProp<TStringList>("Sorted", &TStringList::sorted, &TStringList::setSorted, false),
       boolProp<TStringList>("CaseSensitive", &TStringList::caseSensitive,
                             &TStringList::setCaseSensitive, false)});
  return info;
}

int TStringList::compare(const std::string& a, const std::string& b) const {
  if (!case_sensitive_) return without_case_(a, b);
  return with_case_ ? with_case_(a, b) : a.compare(b);
}

void TStringList::setCompare(kestrin::TextCompare without_case, kestrin::TextCompare with_case) {
  without_case_ = without_case ? without_case : compareText;
  with_case_ = with_case;
  if (sorted_) sort();
}

void TStringList::changing() {
  if (updateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::changed() {
  if (updateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::setLines(std::vector<std::string>&& lines) {
  if (sorted_) return TStrings::setLines(std::move(lines));
  changing();
  items_ = std::move(lines);
  changed();
}

void TStringList::setUpdateState(bool updating) {
  if (updating) changing();
  else changed();
}

std::string TStringList::get(int index) const {
  checkIndex(index, count());
  return items_[static_cast<size_t>(index)];
}

void TStringList::put(int index, const std::string& s) {
  if (sorted_) throw EPropertyError("Operation not allowed on sorted list");
  checkIndex(index, count());
  changing();
  items_[static_cast<size_t>(index)] = s;
  changed();
}

void TStringList::insert(int index, const std::string& s) {
  if (sorted_) throw EPropertyError("Operation not allowed on sorted list");
  checkIndex(index, count() + 1);
  changing();
  items_.insert(items_.begin() + index, s);
  changed();
}

void TStringList::remove(int index) {
  checkIndex(index, count());
  changing();
  items_.erase(items_.begin() + index);
  changed();
}

void TStringList::clear() {
  if (items_.empty()) return;
  changing();
  items_.clear();
  changed();
}

int TStringList::add(const std::string& s) {
  if (!sorted_) {
    changing();
    items_.push_back(s);
    changed();
    return count() - 1;
  }
  int index = 0;
  if (find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EPropertyError("String list does not allow duplicates");
  }
  changing();
  items_.insert(items_.begin() + index, s);
  changed();
  return index;
}

int TStringList::indexOf(const std::string& s) const {
  if (!sorted_) {
    for (int i = 0; i < count(); ++i)
      if (compare(items_[static_cast<size_t>(i)], s) == 0) return i;
    return -1;
  }
  int index = 0;
  return find(s, index) ? index : -1;
}

bool TStringList::find(const std::string& s, int& index) const {
  // Lower bound; with duplicates accepted the first equal item is the match.
  int lo = 0, hi = count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = compare(items_[static_cast<size_t>(mid)], s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;
    }
  }
  index = lo;
  return found;
}

void TStringList::sort() {
  changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
  changed();
}

void TStringList::setSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) sort();
  sorted_ = sorted;
}

void TStringList::setCaseSensitive(bool cs) {
  if (cs == case_sensitive_) return;
  case_sensitive_ = cs;
  if (sorted_) sort();
}

// ---- TCallbackStrings ----

TCallbackStrings::TCallbackStrings(std::string class_name, Ops ops)
    : info_(std::move(class_name), &TStrings::staticClassInfo()), ops_(std::move(ops)) {}

std::string TCallbackStrings::get(int index) const {
  checkIndex(index, count());
  return ops_.get(index);
}

void TCallbackStrings::put(int index, const std::string& s) {
  checkIndex(index, count());
  if (ops_.put) ops_.put(index, s);
  else TStrings::put(index, s);
}

void TCallbackStrings::insert(int index, const std::string& s) {
  checkIndex(index, count() + 1);
  ops_.insert(index, s);
}

void TCallbackStrings::remove(int index) {
  checkIndex(index, count());
  ops_.remove(index);
}

}  // namespace kgui
