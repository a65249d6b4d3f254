// The automation test objects. Sheet: Name (text) and Value (number) read and write; Cells
// (row, col) stores numbers and returns a range dispatch without arguments; Item(key) is
// the default member; Concat(a, b, c); Fire(text) raises Changed(text, length). Collection:
// _NewEnum over "a", "b", "c", Count and Item(i).
#include "support/automation_test_objects.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "script/objects/automation.h"

namespace kestrin::test {
namespace {

using script::AutomationResult;
using script::ConnectionPoint;
using script::Dispatch;
using script::EnumVariant;
using script::MemberInfo;
using script::MemberKind;
using script::Variant;
using script::VariantDispatch;

int64_t g_name_lookups = 0;

std::string Text(const Variant& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<int32_t>(&v)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v)) {
    std::string t = std::to_string(*d);
    while (t.find('.') != std::string::npos && (t.back() == '0' || t.back() == '.')) t.pop_back();
    return t;
  }
  if (const auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  return "";
}

// Numbers as automation coerces them: dates are their day counts, texts are read as
// numbers, anything else is 0.
double Number(const Variant& v) {
  if (const auto* i = std::get_if<int32_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* date = std::get_if<script::VariantDate>(&v)) return date->days;
  double d = 0;
  if (const auto* s = std::get_if<std::string>(&v)) std::from_chars(s->data(), s->data() + s->size(), d);
  return d;
}

Variant DispatchVariant(Dispatch* d) { return VariantDispatch{script::Value::Disp(d)}; }

// Names are matched without case, as automation names are.
AutomationResult LookUp(const std::vector<MemberInfo>& members, std::string_view name, int32_t& dispid) {
  ++g_name_lookups;
  for (const MemberInfo& m : members)
    if (m.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), m.name.begin(), [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
      dispid = m.dispid;
      return AutomationResult::Success();
    }
  dispid = -1;
  return AutomationResult::Failure(script::kDispEUnknownName);
}

AutomationResult BadCount() { return AutomationResult::Failure(script::kDispEBadParamCount); }

// The one event interface of the sheet: Changed(text, length) has DISPID 1.
class SheetEvents : public ConnectionPoint {
public:
  AutomationResult Advise(Dispatch& sink, uint32_t& cookie) override {
    cookie = next_++;
    sinks_.emplace_back(cookie, script::Value::Disp(&sink));
    return AutomationResult::Success();
  }
  AutomationResult Unadvise(uint32_t cookie) override {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
      if (it->first == cookie) {
        sinks_.erase(it);
        return AutomationResult::Success();
      }
    return AutomationResult::Failure(script::kConnectENoConnection);
  }
  bool EventName(int32_t dispid, std::string& name) const override {
    if (dispid != 1) return false;
    name = "Changed";
    return true;
  }
  // A sink may disconnect while an event runs: the list is copied first.
  AutomationResult Fire(const std::string& text) {
    std::vector<std::pair<uint32_t, script::Value>> sinks = sinks_;
    for (auto& [cookie, sink] : sinks) {
      AutomationResult r = sink.dispatch()->Invoke(1, script::kDispatchMethod,
                                                   {static_cast<int32_t>(text.size()), text}, false);
      if (!r.ok()) return r;
    }
    return AutomationResult::Success();
  }

private:
  uint32_t next_ = 1;
  std::vector<std::pair<uint32_t, script::Value>> sinks_;
};

class Range : public Dispatch {};

class Sheet : public Dispatch {
public:
  enum : int32_t { kItem = 0, kName = 1, kValue = 2, kCells = 3, kConcat = 4, kFire = 5 };

  AutomationResult GetIDsOfNames(std::string_view name, int32_t& dispid) override {
    return LookUp(Members(), name, dispid);
  }
  const std::vector<MemberInfo>* TypeMembers() const override { return &Members(); }
  std::shared_ptr<ConnectionPoint> FirstConnectionPoint() override { return events_; }

  AutomationResult Invoke(int32_t dispid, uint16_t flags, const std::vector<Variant>& args, bool named_put) override {
    bool put = (flags & script::kDispatchPropertyPut) && named_put;
    switch (dispid) {
      case kItem:
        if (args.size() != 1) return BadCount();
        return AutomationResult::Success("item:" + Text(args[0]));
      case kName:
        if (put) name_ = Text(args[0]);
        return AutomationResult::Success(name_);
      case kValue:
        if (put) value_ = Number(args[0]);
        return AutomationResult::Success(value_);
      case kCells: return InvokeCells(put, args);
      case kConcat:
        if (args.size() != 3) return BadCount();
        return AutomationResult::Success(Text(args[2]) + "," + Text(args[1]) + "," + Text(args[0]));
      case kFire:
        if (args.size() != 1) return BadCount();
        return events_->Fire(Text(args[0]));
      default: return AutomationResult::Failure(script::kDispEMemberNotFound);
    }
  }

private:
  static const std::vector<MemberInfo>& Members() {
    static const std::vector<MemberInfo> members{
        {"Item", kItem, MemberKind::Method},      {"Name", kName, MemberKind::Property},
        {"Value", kValue, MemberKind::Property},  {"Cells", kCells, MemberKind::Property},
        {"Concat", kConcat, MemberKind::Method},  {"Fire", kFire, MemberKind::Method}};
    return members;
  }

  // Arguments are last-first: (col, row) for a get, (value, col, row) for a put.
  AutomationResult InvokeCells(bool put, const std::vector<Variant>& args) {
    if (!put && args.empty()) return AutomationResult::Success(DispatchVariant(new Range));
    if (args.size() != (put ? 3u : 2u)) return BadCount();
    std::pair<int, int> at{static_cast<int>(Number(args[args.size() - 1])), static_cast<int>(Number(args[args.size() - 2]))};
    if (put) cells_[at] = Number(args[0]);
    auto it = cells_.find(at);
    return AutomationResult::Success(it == cells_.end() ? Variant(int32_t{0}) : Variant(it->second));
  }

  std::string name_ = "Sheet1";
  double value_ = 0;
  std::map<std::pair<int, int>, double> cells_;
  std::shared_ptr<SheetEvents> events_ = std::make_shared<SheetEvents>();
};

const char* const kItems[] = {"a", "b", "c"};

class ItemEnum : public Dispatch, public EnumVariant {
public:
  EnumVariant* AsEnumVariant() override { return this; }
  bool Next(Variant& item) override {
    if (next_ >= 3) return false;
    item = std::string(kItems[next_++]);
    return true;
  }
  void Reset() override { next_ = 0; }

private:
  int next_ = 0;
};

class Collection : public Dispatch {
public:
  enum : int32_t { kItem = 0, kCount = 1 };

  AutomationResult GetIDsOfNames(std::string_view name, int32_t& dispid) override {
    return LookUp(Members(), name, dispid);
  }
  const std::vector<MemberInfo>* TypeMembers() const override { return &Members(); }
  AutomationResult Invoke(int32_t dispid, uint16_t, const std::vector<Variant>& args, bool) override {
    switch (dispid) {
      case script::kDispidNewEnum: return AutomationResult::Success(DispatchVariant(new ItemEnum));
      case kCount: return AutomationResult::Success(int32_t{3});
      case kItem: {
        if (args.size() != 1) return BadCount();
        auto i = static_cast<int>(Number(args[0]));
        if (i < 0 || i >= 3) return AutomationResult::Failure(0x8002000B, "Invalid index.");
        return AutomationResult::Success(std::string(kItems[i]));
      }
      default: return AutomationResult::Failure(script::kDispEMemberNotFound);
    }
  }

private:
  static const std::vector<MemberInfo>& Members() {
    static const std::vector<MemberInfo> members{{"Item", kItem, MemberKind::Method},
                                                 {"Count", kCount, MemberKind::Property},
                                                 {"_NewEnum", script::kDispidNewEnum, MemberKind::Property}};
    return members;
  }
};

}  // namespace

void RegisterAutomationTestObjects() {
  script::RegisterProgId("KestrinTest.Sheet", [] { return static_cast<Dispatch*>(new Sheet); });
  script::RegisterProgId("KestrinTest.Collection", [] { return static_cast<Dispatch*>(new Collection); });
}

int64_t AutomationNameLookups() { return g_name_lookups; }

}  // namespace kestrin::test
