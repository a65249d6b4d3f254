// The list family: list boxes, check list boxes and combo boxes.
#include "script/gui/vcl_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <optional>

#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

kgui::TListBox& ListOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TListBox>(w, params, min_count);
}

bool ValidIndex(kgui::TListBox& list, int32_t index) { return index >= 0 && index < list.items()->count(); }

void LClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] { list.items()->clear(); });
  result = Value::Object(&self);
}

// clearSelection and selectAll: every item's selection set to Selected (selecting all
// needs a multiple-selection list).
template <bool Selected>
void LSelectEvery(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] {
    if (Selected && !list.multiSelect()) return;
    for (int i = 0; i < list.items()->count(); ++i) list.setSelected(i, Selected);
  });
  result = Value::Object(&self);
}

void LDeleteSelected(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] {
    for (int i = list.items()->count() - 1; i >= 0; --i)
      if (list.selected(i)) list.items()->remove(i);
  });
  result = Value::Object(&self);
}

// selected(index[, value]) and its kin: the item's flag, or with a value, set it and
// return the value; false for an index outside the items.
template <class N, bool (N::*Get)(int) const, void (N::*Set)(int, bool)>
void ItemFlagMethod(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = NativeOfSelf<N>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (!ValidIndex(list, index)) {
    result = Value::Bool(false);
    return;
  }
  if (params.GetCount() < 2) {
    result = Value::Bool((list.*Get)(index));
    return;
  }
  VCLGuard(w, [&] { (list.*Set)(index, ValueToBool(params.GetValue(1))); });
  result = params.GetValue(1);
}

// state(index[, value]): the check state's identifier; with a value naming a state (by
// identifier or ordinal), set it and return the value; "" for an index outside the items.
void CLState(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = NativeOfSelf<kgui::TCheckListBox>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (!ValidIndex(list, index)) {
    result = Value::String(StrRef(""));
    return;
  }
  if (params.GetCount() < 2) {
    result = Value::String(StrRef(kgui::enumToText(kgui::checkBoxStateType(), list.state(index))));
    return;
  }
  const Value& v = params.GetValue(1);
  std::optional<int64_t> state;
  if (v.type() == vtInteger) state = ValueToInteger(v);
  else state = kgui::textToEnum(kgui::checkBoxStateType(), ValueToStdString(v));
  if (state && *state >= kgui::cbUnchecked && *state <= kgui::cbGrayed)
    VCLGuard(w, [&] { list.setState(index, static_cast<int>(*state)); });
  result = v;
}

void LItemAtPos(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params, 2);
  TJObject* point = params.GetValue(0).object();
  if (!point) w.RaiseArgumentsError();
  const int x = ValueToInteger(point->GetValue("x")), y = ValueToInteger(point->GetValue("y"));
  const bool existing = ValueToBool(params.GetValue(1));
  auto* lw = static_cast<QListWidget*>(list.widget());
  QListWidgetItem* item = lw->itemAt(x, y);
  int32_t index = item ? lw->row(item) : -1;
  // Below the last item: the count, unless only existing items are asked for.
  if (index < 0 && !existing) index = list.items()->count();
  result = Value::Integer(index);
}

void LItemRect(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  result = Value::Null();
  if (!ValidIndex(list, index)) return;
  auto* lw = static_cast<QListWidget*>(list.widget());
  const QRect r = lw->visualItemRect(lw->item(index));
  result = NewRectValue(self.Engine(), {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

Value GetSelCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, TJValueList());
  return Value::Integer(list.multiSelect() ? list.selCount() : -1);
}
Value GetTopIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(ListOf(w, TJValueList()).topIndex());
}
void SetTopIndex(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, TJValueList());
  const int32_t index = ValueToInteger(v);
  if (!ValidIndex(list, index)) return;
  auto* lw = static_cast<QListWidget*>(list.widget());
  lw->scrollToItem(lw->item(index), QAbstractItemView::PositionAtTop);
}
constexpr PropDef kListBoxProps[] = {{"SelCount", GetSelCount, nullptr}, {"TopIndex", GetTopIndex, SetTopIndex}};

// ---- combo boxes ----

void CClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, params);
  VCLGuard(w, [&] { combo.items()->clear(); });
  result = Value::Object(&self);
}

void CSelectAll(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, params);
  if (QLineEdit* e = qobject_cast<QComboBox*>(combo.widget())->lineEdit()) e->selectAll();
  result = Value::Object(&self);
}

Value GetDroppedDown(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Bool(NativeOfSelf<kgui::TComboBox>(w, TJValueList()).droppedDown());
}
void SetDroppedDown(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, TJValueList());
  VCLGuard(w, [&] { combo.setDroppedDown(ValueToBool(v)); });
}
constexpr PropDef kComboBoxProps[] = {{"DroppedDown", GetDroppedDown, SetDroppedDown}};


using CheckList = kgui::TCheckListBox;

constexpr MethodDef kListBoxMethods[] = {
    {"clear", LClear}, {"clearSelection", LSelectEvery<false>}, {"deleteSelected", LDeleteSelected},
    {"selectAll", LSelectEvery<true>}, {"itemAtPos", LItemAtPos}, {"itemRect", LItemRect},
    {"selected", ItemFlagMethod<kgui::TListBox, &kgui::TListBox::selected, &kgui::TListBox::setSelected>}};

constexpr MethodDef kCheckListBoxMethods[] = {
    {"checked", ItemFlagMethod<CheckList, &CheckList::checked, &CheckList::setChecked>},
    {"itemEnabled", ItemFlagMethod<CheckList, &CheckList::itemEnabled, &CheckList::setItemEnabled>},
    {"state", CLState}};

constexpr MethodDef kComboBoxMethods[] = {{"clear", CClear}, {"selectAll", CSelectAll}};

void HookCheckListBox(TJVCLPersistent& w) {
  static_cast<kgui::TCheckListBox*>(w.VCL())->OnClickCheck = NotifyBridge(w, "onClickCheck");
}

void HookComboBox(TJVCLPersistent& w) {
  auto* combo = static_cast<kgui::TComboBox*>(w.VCL());
  combo->OnChange = NotifyBridge(w, "onChange");
  combo->OnDropDown = NotifyBridge(w, "onDropDown");
}

}  // namespace

const VCLClassDef kVCLListBox{.script_name = "VCLListBox",
                              .native = &kgui::TListBox::staticClassInfo,
                              .methods = kListBoxMethods,
                              .props = {kListBoxProps},
                              .events = kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus | kEvContextPopup |
                                        kEvDrag};

const VCLClassDef kVCLCheckListBox{.script_name = "VCLCheckListBox",
                                   .native = &kgui::TCheckListBox::staticClassInfo,
                                   .base = &kVCLListBox,
                                   .methods = kCheckListBoxMethods,
                                   .hook = HookCheckListBox};

const VCLClassDef kVCLComboBox{.script_name = "VCLComboBox",
                               .native = &kgui::TComboBox::staticClassInfo,
                               .methods = kComboBoxMethods,
                               .props = {kComboBoxProps, kVCLSelectionProps},
                               .events = kEvClick | kEvKeys | kEvFocus | kEvContextPopup | kEvDrag,
                               .hook = HookComboBox};

}  // namespace kestrin::script
