// CheckListBox: execute hands the lines and marks to the UI services' check-list dialog and
// takes the marks back only on OK.
#include "script/gui/check_list_object.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "platform/classes/strings.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/script_ui.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

TJCheckListBox& Box(TJObject& self) { return static_cast<TJCheckListBox&>(self); }

void MGetChecked(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 &&
                       Box(self).Checked(ValueToInteger(params.GetValue(0)), "CheckListBox.getChecked Index Error"));
}

void MSetChecked(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() >= 2)
    Box(self).SetChecked(ValueToInteger(params.GetValue(0)), ValueToBool(params.GetValue(1)),
                         "CheckListBox.setChecked Index Error");
  result = Value::Object(&self);
}

// execute([caption [, text [, itemIndex [, width [, height]]]]]): true on OK.
void MExecute(TJObject& self, TJValueList& params, Value& result) {
  TJCheckListBox& box = Box(self);
  CheckListRequest request;
  const int32_t n = params.GetCount();
  if (n > 0) request.caption = ValueToStdString(params.GetValue(0));
  if (n > 1) request.text = ValueToStdString(params.GetValue(1));
  if (n > 2) request.item_index = ValueToInteger(params.GetValue(2));
  // A size the script gives is the client size, at least 200 pixels.
  if (n > 3) request.width = std::max(0, ValueToInteger(params.GetValue(3)));
  if (n > 4) request.height = std::max(0, ValueToInteger(params.GetValue(4)));
  if (request.width > 0) request.width = std::max(200, request.width);
  if (request.height > 0) request.height = std::max(200, request.height);
  request.items = box.Lines().toVector();
  std::vector<bool> checked = box.Marks();
  const bool ok = UiOf(self).CheckList(request, checked);
  // The dialog may have run the script's events; take back only what still fits the lines.
  if (ok && checked.size() == box.Marks().size()) box.Marks() = checked;
  result = Value::Bool(ok);
}

Value GetCheckListItems(TJObject& self) { return Value::Object(Box(self).Items()); }
Value GetCount(TJObject& self) { return Value::Integer(Box(self).Lines().count()); }

constexpr PropDef kCheckListProps[] = {{"items", GetCheckListItems, nullptr}, {"count", GetCount, nullptr}};

}  // namespace

TJCheckListBox::TJCheckListBox(BaseEngine* engine)
    : TJObject(engine), items_(NewStringList(engine)), props_(*this, kCheckListProps) {
  SetObjectName("CheckListBox");
  kgui::TStringList& lines = Lines();
  lines.OnChanging = [this](kgui::TStringList*) { Changing(); };
  lines.OnChange = [this](kgui::TStringList*) { Changed(); };
}

const ClassInfo& TJCheckListBox::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"getChecked", MGetChecked}, {"setChecked", MSetChecked}, {"execute", MExecute}});
  return info;
}

TJCheckListBox::~TJCheckListBox() { Unhook(); }

void TJCheckListBox::OnKill() {
  Unhook();
  items_ = Value();
}

void TJCheckListBox::Unhook() {
  if (!items_.object()) return;
  Lines().OnChanging = nullptr;
  Lines().OnChange = nullptr;
}

kgui::TStringList& TJCheckListBox::Lines() const {
  return static_cast<TJStringsObject*>(items_.object())->OwnList();
}

bool TJCheckListBox::Checked(int32_t index, const char* method) const {
  if (index < 0 || index >= Lines().count()) RaiseError(ScriptError::IndexText, {method});
  return static_cast<size_t>(index) < marks_.size() && marks_[static_cast<size_t>(index)];
}

void TJCheckListBox::SetChecked(int32_t index, bool checked, const char* method) {
  if (index < 0 || index >= Lines().count()) RaiseError(ScriptError::IndexText, {method});
  marks_.resize(static_cast<size_t>(Lines().count()), false);
  marks_[static_cast<size_t>(index)] = checked;
}

void TJCheckListBox::Changing() {
  before_ = Lines().toVector();
  marks_.resize(before_.size(), false);
}

// Each line takes the mark of the first unclaimed line of the same text before the change;
// a line whose text changed in place (same count, its old line unclaimed) keeps its mark;
// any other line is new and unchecked.
void TJCheckListBox::Changed() {
  const std::vector<std::string> after = Lines().toVector();
  if (after.size() >= before_.size() && std::equal(before_.begin(), before_.end(), after.begin())) {
    marks_.resize(after.size(), false);  // lines added at the end
    before_.clear();
    return;
  }
  std::unordered_map<std::string_view, std::vector<size_t>> places;
  for (size_t i = before_.size(); i-- > 0;) places[before_[i]].push_back(i);
  std::vector<bool> claimed(before_.size(), false), marks(after.size(), false), matched(after.size(), false);
  for (size_t i = 0; i < after.size(); ++i) {
    auto found = places.find(after[i]);
    if (found == places.end() || found->second.empty()) continue;
    const size_t old = found->second.back();
    found->second.pop_back();
    claimed[old] = matched[i] = true;
    marks[i] = marks_[old];
  }
  if (after.size() == before_.size())
    for (size_t i = 0; i < after.size(); ++i)
      if (!matched[i] && !claimed[i]) marks[i] = marks_[i];
  marks_ = std::move(marks);
  before_.clear();
}

void RegisterCheckListObjects(TJEngine& engine) {
  engine.RegisterObjectClass("CheckListBox", [](BaseEngine* e, TJValueList*) -> TJObject* {
    return new TJCheckListBox(e);
  });
}

}  // namespace kestrin::script
