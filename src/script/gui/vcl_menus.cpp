// The menu family: main and popup menus and their items, each item a collection of its
// sub-items.
#include "script/gui/vcl_controls.h"

#include <string>

#include "base/cp932.h"
#include "platform/gui/menus.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

kgui::TMenuItem* MenuItemArg(const Value& v) { return NativeOf<kgui::TMenuItem>(v); }

void MIAdd(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  VCLGuard(w, [&] {
    for (int32_t i = 0; i < params.GetCount(); ++i)
      if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(i)); sub && sub != &item) item.add(sub);
  });
  result = Value::Object(&self);
}

void MIRemove(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0)))
    VCLGuard(w, [&] { item.remove(sub); });
  result = Value::Object(&self);
}

// Takes sub out of item; an item no wrapper owns belongs to the menu: deleting frees it.
void DeleteSubItem(kgui::TMenuItem& item, kgui::TMenuItem* sub) {
  item.remove(sub);
  auto* sub_wrapper = static_cast<TJVCLPersistent*>(sub->wrapperLink());
  if (!sub_wrapper || !sub_wrapper->Owns()) delete sub;
}

void MIDelete(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (index >= 0 && index < item.count()) {
    kgui::TMenuItem* sub = item.items(index);
    VCLGuard(w, [&] { DeleteSubItem(item, sub); });
  }
  result = Value::Object(&self);
}

void MIClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  VCLGuard(w, [&] {
    while (item.count() > 0) DeleteSubItem(item, item.items(item.count() - 1));
  });
  result = Value::Object(&self);
}

void MIClick(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { item.click(); });
  result = Value::Object(&self);
}

// Captions compare without case and without the "&" accelerator marks.
std::string PlainCaption(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

void MIFind(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  const std::string caption = PlainCaption(cp932_to_utf8(ValueToStdString(params.GetValue(0))));
  result = Value::Null();
  for (int i = 0; i < item.count(); ++i)
    if (kgui::sameText(PlainCaption(item.items(i)->caption()), caption)) {
      result = CastVCL(item.items(i), self.Engine());
      return;
    }
}

void MIIndexOf(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  int32_t index = -1;
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0)))
    for (int i = 0; i < item.count(); ++i)
      if (item.items(i) == sub) index = i;
  result = Value::Integer(index);
}

void MIIsLine(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  result = Value::Bool(item.caption() == "-");
}

void MIItems(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params, 1);
  self.GetItem(ValueToInteger(params.GetValue(0)), result);
}

void MIInsert(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 2);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(1)); sub && sub != &item)
    VCLGuard(w, [&] {
      if (index < 0 || index > item.count())
        throw kgui::EPropertyError("List index out of bounds (" + std::to_string(index) + ")");
      item.insert(index, sub);
    });
  result = Value::Object(&self);
}

void MIGetParentMenu(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  result = CastVCL(item.parentMenu(), self.Engine());
}

// The separator operations: an integer result; an argument that is no menu item gives -1.
template <int (kgui::TMenuItem::*op)()>
void MILine(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  int answer = 0;
  VCLGuard(w, [&] { answer = (item.*op)(); });
  result = Value::Integer(answer);
}
template <int (kgui::TMenuItem::*op)(kgui::TMenuItem*)>
void MILineAt(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  int answer = -1;
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0))) VCLGuard(w, [&] { answer = (item.*op)(sub); });
  result = Value::Integer(answer);
}
template <bool (kgui::TMenuItem::*op)()>
void MIRethink(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  bool changed = false;
  VCLGuard(w, [&] { changed = (item.*op)(); });
  result = Value::Bool(changed);
}

void MIInitiateAction(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { item.initiateAction(); });
  result = Value::Object(&self);
}

// ---- main and popup menus ----

void MnDispatch(TJObject& self, TJValueList& params, Value& result, bool by_command) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 1);
  const auto value = static_cast<uint32_t>(ValueToInteger(params.GetValue(0)));
  Ref<TJObject> hold(&self);
  bool found = false;
  VCLGuard(w, [&] { found = by_command ? menu.dispatchCommand(value) : menu.dispatchPopup(value); });
  result = Value::Bool(found);
}
void MnDispatchCommand(TJObject& self, TJValueList& params, Value& result) { MnDispatch(self, params, result, true); }
void MnDispatchPopup(TJObject& self, TJValueList& params, Value& result) { MnDispatch(self, params, result, false); }

// findItem(value, kind): kind by identifier or ordinal; null when it names no kind.
void MnFindItem(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 2);
  result = Value::Null();
  const auto kind = EnumArg(kgui::findItemKindType(), params.GetValue(1));
  if (!kind) return;
  const int64_t value = ValueToInteger(params.GetValue(0));
  result = CastVCL(menu.findItem(value, static_cast<kgui::TFindItemKind>(*kind)), self.Engine());
}

void MnGetHelpContext(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 2);
  result = Value::Integer(menu.getHelpContext(ValueToInteger(params.GetValue(0)), ValueToBool(params.GetValue(1))));
}

// merge(menu) and unmerge(menu): anything but a main menu with its native menu does nothing.
template <void (kgui::TMainMenu::*op)(kgui::TMainMenu*)>
void MnMerge(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMainMenu>(w, params, 1);
  if (auto* other = NativeOf<kgui::TMainMenu>(params.GetValue(0))) VCLGuard(w, [&] { (menu.*op)(other); });
  result = Value::Object(&self);
}

// The root item of a main or popup menu: the same wrapper on every read.
Value GetMenuItems(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  kgui::TMenuItem* root = nullptr;
  if (auto* menu = dynamic_cast<kgui::TMenu*>(w.VCL())) root = menu->items();
  return CastVCL(root, self.Engine());
}
// Handle, WindowHandle and Command: a 32-bit handle of the bound menu or menu item.
template <class N, uint32_t (N::*Get)() const>
Value GetHandleProp(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return HandleValue((static_cast<N*>(w.VCL())->*Get)());
}
void SetMenuWindowHandle(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  static_cast<kgui::TMenu*>(w.VCL())->setWindowHandle(static_cast<uint32_t>(ValueToInteger(v)));
}
constexpr PropDef kMenuProps[] = {
    {"items", GetMenuItems, nullptr},
    {"Handle", GetHandleProp<kgui::TMenu, &kgui::TMenu::handle>, nullptr},
    {"WindowHandle", GetHandleProp<kgui::TMenu, &kgui::TMenu::windowHandle>, SetMenuWindowHandle}};

Value GetPopupComponent(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return CastVCL(static_cast<kgui::TPopupMenu*>(w.VCL())->popupComponent(), self.Engine());
}
// Writing null, or while nothing is attached, does nothing.
void SetPopupComponent(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto* c = NativeOf<kgui::TComponent>(v);
  if (w.HasVCL() && c) static_cast<kgui::TPopupMenu*>(w.VCL())->setPopupComponent(c);
}
constexpr PropDef kPopupMenuProps[] = {{"PopupComponent", GetPopupComponent, SetPopupComponent}};

void PMPopup(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TPopupMenu>(w, params, 2);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { menu.popup(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))); });
  result = Value::Object(&self);
}

Value GetItemCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return Value::Integer(static_cast<kgui::TMenuItem*>(w.VCL())->count());
}
Value GetItemParent(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return CastVCL(static_cast<kgui::TMenuItem*>(w.VCL())->parentItem(), self.Engine());
}
Value GetMenuIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  auto* item = static_cast<kgui::TMenuItem*>(w.VCL());
  kgui::TMenuItem* parent = item->parentItem();
  if (parent)
    for (int i = 0; i < parent->count(); ++i)
      if (parent->items(i) == item) return Value::Integer(i);
  return Value::Integer(-1);
}
constexpr PropDef kMenuItemProps[] = {{"Command", GetHandleProp<kgui::TMenuItem, &kgui::TMenuItem::command>, nullptr},
                                      {"Handle", GetHandleProp<kgui::TMenuItem, &kgui::TMenuItem::handle>, nullptr},
                                      {"Count", GetItemCount, nullptr}, {"Parent", GetItemParent, nullptr},
                                      {"MenuIndex", GetMenuIndex, nullptr}};


constexpr MethodDef kMenuMethods[] = {{"dispatchCommand", MnDispatchCommand},
                                      {"dispatchPopup", MnDispatchPopup},
                                      {"findItem", MnFindItem},
                                      {"getHelpContext", MnGetHelpContext}};
constexpr MethodDef kMainMenuMethods[] = {{"merge", MnMerge<&kgui::TMainMenu::merge>},
                                          {"unmerge", MnMerge<&kgui::TMainMenu::unmerge>}};
constexpr MethodDef kPopupMenuMethods[] = {{"popup", PMPopup}};
constexpr MethodDef kMenuItemMethods[] = {
    {"add", MIAdd}, {"insert", MIInsert}, {"delete", MIDelete}, {"remove", MIRemove},
    {"clear", MIClear}, {"click", MIClick}, {"find", MIFind}, {"indexOf", MIIndexOf},
    {"isLine", MIIsLine}, {"items", MIItems}, {"getParentMenu", MIGetParentMenu},
    {"newTopLine", MILine<&kgui::TMenuItem::newTopLine>},
    {"newBottomLine", MILine<&kgui::TMenuItem::newBottomLine>},
    {"insertNewLineBefore", MILineAt<&kgui::TMenuItem::insertNewLineBefore>},
    {"insertNewLineAfter", MILineAt<&kgui::TMenuItem::insertNewLineAfter>},
    {"rethinkHotkeys", MIRethink<&kgui::TMenuItem::rethinkHotkeys>},
    {"rethinkLines", MIRethink<&kgui::TMenuItem::rethinkLines>},
    {"initiateAction", MIInitiateAction}};

void HookMenu(TJVCLPersistent& w) { static_cast<kgui::TMenu*>(w.VCL())->OnChange = MenuChangeBridge(w, "onChange"); }

void HookPopupMenu(TJVCLPersistent& w) {
  static_cast<kgui::TPopupMenu*>(w.VCL())->OnPopup = NotifyBridge(w, "onPopup");
}

// "onClick" is hooked only while no action is linked: the action keeps its own handling.
void HookMenuItem(TJVCLPersistent& w) {
  auto* item = static_cast<kgui::TMenuItem*>(w.VCL());
  if (!item->linkedAction()) item->OnClick = NotifyBridge(w, "onClick");
}

int32_t MenuItemCount(TJVCLPersistent& w) {
  auto* item = static_cast<kgui::TMenuItem*>(w.VCL());
  return item ? item->count() : 0;
}

// item[i]: the sub-item's one wrapper; an index outside the items raises "arguments error".
void MenuSubItem(TJVCLPersistent& w, int32_t index, Value& out) {
  w.CheckVCL(TJValueList());
  auto* item = static_cast<kgui::TMenuItem*>(w.VCL());
  if (index < 0 || index >= item->count()) w.RaiseArgumentsError();
  out = CastVCL(item->items(index), w.Engine());
}

}  // namespace

const VCLClassDef kVCLMenu{.script_name = "VCLMenu",
                           .native = &kgui::TMenu::staticClassInfo,
                           .level = VCLLevel::Component,
                           .methods = kMenuMethods,
                           .props = {kMenuProps},
                           .hook = HookMenu};

const VCLClassDef kVCLMainMenu{.script_name = "VCLMainMenu",
                               .native = &kgui::TMainMenu::staticClassInfo,
                               .base = &kVCLMenu,
                               .methods = kMainMenuMethods};

const VCLClassDef kVCLPopupMenu{.script_name = "VCLPopupMenu",
                                .native = &kgui::TPopupMenu::staticClassInfo,
                                .base = &kVCLMenu,
                                .methods = kPopupMenuMethods,
                                .props = {kPopupMenuProps},
                                .hook = HookPopupMenu};

const VCLClassDef kVCLMenuItem{.script_name = "VCLMenuItem",
                               .native = &kgui::TMenuItem::staticClassInfo,
                               .level = VCLLevel::Component,
                               .methods = kMenuItemMethods,
                               .props = {kMenuItemProps, kVCLActionProps},
                               .hook = HookMenuItem,
                               .count = MenuItemCount,
                               .item = MenuSubItem};

}  // namespace kestrin::script
