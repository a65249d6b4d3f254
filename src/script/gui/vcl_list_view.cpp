// List view wrappers: item wrapper life through the list's lifecycle hook, the collections,
// the list view's methods and its 25 events.
#include "script/gui/vcl_list_view.h"

#include <QWidget>
#include <algorithm>

#include "base/cp932.h"
#include "platform/gui/list_view.h"
#include "script/builtins/array_object.h"
#include "script/builtins/number_object.h"
#include "script/builtins/string_object.h"
#include "script/core/hash_table.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"
#include "script/objects/object_support.h"
#include "script/objects/point_rect.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

using kgui::TListItem;
using kgui::TListView;

TJVCLBaseListView* BaseListViewOf(const WeakPtr<TJObject>& weak) { return static_cast<TJVCLBaseListView*>(weak.get()); }

Value PointValue(BaseEngine* engine, kgui::TPoint p) {
  Value v = NewHostObject<TJPoint>(engine);
  auto* point = static_cast<TJPoint*>(v.object());
  point->x = p.x;
  point->y = p.y;
  return v;
}

// A point argument: any object with members x and y.
kgui::TPoint ViewPointArg(TJVCLPersistent& w, const TJValueList& params, int32_t i) {
  TJObject* obj = params.GetCount() > i ? params.GetValue(i).object() : nullptr;
  if (!obj) w.RaiseArgumentsError();
  return {ValueToInteger(obj->GetValue("x")), ValueToInteger(obj->GetValue("y"))};
}

// The list's window handle, the one its `handle` gives and window messages reach.
int32_t HandleOf(kgui::TControl* c) { return c ? static_cast<int32_t>(c->handle()) : 0; }

Value FlagSetText(const kgui::EnumInfo& type, uint32_t bits) {
  return Value::String(StrRef(kgui::setToNames(type, bits)));
}

// ---- item ----

TJVCLBaseListItem& I(TJObject& self) { return static_cast<TJVCLBaseListItem&>(self); }

TListItem& ItemOf(TJObject& self, const TJValueList& params = TJValueList(), int32_t min_count = 0) {
  I(self).CheckItem(params, min_count);
  return *I(self).Item();
}

Value GetItemData(TJObject& self) {
  TJObject* d = I(self).data.get();
  return d ? Value::Object(d) : Value::Null();
}
void SetItemData(TJObject& self, const Value& v) {
  ItemOf(self);
  I(self).data = Ref<TJObject>(v.object());
}
Value GetListItemHandle(TJObject& self) { return Value::Integer(HandleOf(ItemOf(self).listView())); }
Value GetItemPosition(TJObject& self) { return PointValue(self.Engine(), ItemOf(self).position()); }
void SetItemPosition(TJObject& self, const Value& v) {
  TListItem& item = ItemOf(self);
  TJObject* obj = v.object();
  if (!obj) I(self).RaiseVCLError("");
  item.setPosition({ValueToInteger(obj->GetValue("x")), ValueToInteger(obj->GetValue("y"))});
}
Value GetItemListView(TJObject& self) {
  ItemOf(self);
  return Value::Object(I(self).ListView());
}
Value GetItemOwner(TJObject& self) {
  ItemOf(self);
  return I(self).ListView()->ItemsWrapper();
}
Value GetItemSubItems(TJObject& self) { return I(self).WrapNative(ItemOf(self).subItems()); }

constexpr PropDef kItemProps[] = {
    {"Data", GetItemData, SetItemData},         {"Handle", GetListItemHandle, nullptr},
    {"Position", GetItemPosition, SetItemPosition}, {"ListView", GetItemListView, nullptr},
    {"Owner", GetItemOwner, nullptr},           {"SubItems", GetItemSubItems, nullptr}};

void ICancelEdit(TJObject& self, TJValueList& params, Value& result) {
  TListItem& item = ItemOf(self, params);
  VCLGuard(I(self), [&] { item.cancelEdit(); });
  result = Value::Object(&self);
}
void IDelete(TJObject& self, TJValueList& params, Value&) {
  TListItem& item = ItemOf(self, params);
  VCLGuard(I(self), [&] { item.deleteItem(); });
}
void IDisplayRect(TJObject& self, TJValueList& params, Value& result) {
  TListItem& item = ItemOf(self, params, 1);
  auto code = EnumArg(kgui::displayCodeType(), params.GetValue(0));
  result = code ? NewRectValue(self.Engine(), item.displayRect(*code)) : Value::Null();
}
void IEditCaption(TJObject& self, TJValueList& params, Value& result) {
  TListItem& item = ItemOf(self, params);
  bool ok = false;
  VCLGuard(I(self), [&] { ok = item.editCaption(); });
  result = Value::Bool(ok);
}
void IMakeVisible(TJObject& self, TJValueList& params, Value& result) {
  TListItem& item = ItemOf(self, params, 1);
  VCLGuard(I(self), [&] { item.makeVisible(ValueToBool(params.GetValue(0))); });
  result = Value::Object(&self);
}
void IUpdate(TJObject& self, TJValueList& params, Value& result) {
  ItemOf(self, params).update();
  result = Value::Object(&self);
}
void IWorkArea(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Integer(ItemOf(self, params).workArea());
}
void ISubItemImages(TJObject& self, TJValueList& params, Value& result) {
  TListItem& item = ItemOf(self, params, 1);
  const int index = ValueToInteger(params.GetValue(0));
  if (index < 0 || index >= item.subItems()->count()) {
    result = Value::Integer(-1);
    return;
  }
  if (params.GetCount() > 1) {
    const int image = ValueToInteger(params.GetValue(1));
    item.setSubItemImage(index, image);
    result = Value::Integer(image);
    return;
  }
  result = Value::Integer(item.subItemImage(index));
}

// ---- items ----

TJVCLBaseListItems& Items(TJObject& self) { return static_cast<TJVCLBaseListItems&>(self); }

kgui::TListItems& ItemsOf(TJObject& self, const TJValueList& params = TJValueList(), int32_t min_count = 0) {
  TJVCLBaseListItems& w = Items(self);
  w.CheckVCL(params, min_count);
  if (!w.ListView()) w.RaiseVCLError("vcl is null");
  return *static_cast<kgui::TListItems*>(w.VCL());
}

Value GetItemsCount(TJObject& self) { return Value::Integer(ItemsOf(self).count()); }
void SetItemsCount(TJObject& self, const Value& v) {
  kgui::TListItems& items = ItemsOf(self);
  VCLGuard(Items(self), [&] { items.setCount(ValueToInteger(v)); });
}
Value GetItemsHandle(TJObject& self) { return Value::Integer(HandleOf(ItemsOf(self).owner())); }
Value GetItemsOwner(TJObject& self) {
  ItemsOf(self);
  return Value::Object(Items(self).ListView());
}
constexpr PropDef kItemsProps[] = {
    {"Count", GetItemsCount, SetItemsCount}, {"Handle", GetItemsHandle, nullptr}, {"Owner", GetItemsOwner, nullptr}};

void LAdd(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params);
  TListItem* item = nullptr;
  VCLGuard(Items(self), [&] { item = items.add(); });
  result = Items(self).ListView()->WrapItem(item);
}
void LBeginUpdate(TJObject& self, TJValueList& params, Value& result) {
  ItemsOf(self, params).beginUpdate();
  result = Value::Object(&self);
}
void LEndUpdate(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params);
  VCLGuard(Items(self), [&] { items.endUpdate(); });
  result = Value::Object(&self);
}
void ListViewClear(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params);
  VCLGuard(Items(self), [&] { items.clear(); });
  result = Value::Object(&self);
}
void LDelete(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params, 1);
  VCLGuard(Items(self), [&] { items.remove(ValueToInteger(params.GetValue(0))); });
  result = Value::Object(&self);
}
// The item wrapper of a value: the wrapper itself, nil for null; "arguments error" otherwise.
TJVCLBaseListItem* ItemArg(TJVCLPersistent& w, const Value& v) {
  if (ValueIsNullOrUndefined(v)) return nullptr;
  auto* item = dynamic_cast<TJVCLBaseListItem*>(v.object());
  if (!item) w.RaiseArgumentsError();
  return item;
}
void LIndexOf(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params, 1);
  TJVCLBaseListItem* item = ItemArg(Items(self), params.GetValue(0));
  result = Value::Integer(item && item->Item() ? items.indexOf(item->Item()) : -1);
}
void LInsert(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params, 1);
  TListItem* item = nullptr;
  VCLGuard(Items(self), [&] { item = items.insert(ValueToInteger(params.GetValue(0))); });
  result = Items(self).ListView()->WrapItem(item);
}
// item(i): the wrapper of item i or null. item(i, source): copies source into item i, keeping
// the target's own wrapper, and gives the target the source's Data; returns source. A null
// source leaves the target as it is.
void LItem(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListItems& items = ItemsOf(self, params, 1);
  TJVCLBaseListView* view = Items(self).ListView();
  TListItem* target = items.item(ValueToInteger(params.GetValue(0)));
  if (params.GetCount() < 2) {
    result = view->WrapItem(target);
    return;
  }
  TJVCLBaseListItem* source = ItemArg(Items(self), params.GetValue(1));
  result = params.GetValue(1);
  if (!source || !target) return;
  source->CheckItem(TJValueList());
  Value own = view->WrapItem(target);
  void* link = target->data();
  VCLGuard(Items(self), [&] { target->assign(*source->Item()); });
  target->setData(link);
  if (auto* w = dynamic_cast<TJVCLBaseListItem*>(own.object())) w->data = source->data;
}

// ---- columns ----

kgui::TListColumns& ColumnsOf(TJObject& self, const TJValueList& params = TJValueList(), int32_t min_count = 0) {
  return NativeOfSelf<kgui::TListColumns>(static_cast<TJVCLPersistent&>(self), params, min_count);
}
Value GetColumnsCount(TJObject& self) { return Value::Integer(ColumnsOf(self).count()); }
constexpr PropDef kColumnsProps[] = {{"Count", GetColumnsCount, nullptr}};

void CItems(TJObject& self, TJValueList& params, Value& result) {
  ColumnsOf(self, params, 1);
  self.GetItem(ValueToInteger(params.GetValue(0)), result);
}
void CAdd(TJObject& self, TJValueList& params, Value& result) {
  kgui::TListColumns& columns = ColumnsOf(self, params);
  result = static_cast<TJVCLPersistent&>(self).WrapNative(columns.add());
}

// ---- list view ----

TJVCLBaseListView& V(TJObject& self) { return static_cast<TJVCLBaseListView&>(self); }
TListView& ListViewOf(TJObject& self, const TJValueList& params = TJValueList(), int32_t min_count = 0) {
  return NativeOfSelf<TListView>(V(self), params, min_count);
}

Value GetListViewItems(TJObject& self) {
  ListViewOf(self);
  return V(self).ItemsWrapper();
}
Value GetColumn(TJObject& self) {
  ListViewOf(self);
  return V(self).ColumnsWrapper();
}
// A written item role: an item wrapper of this list, or null.
TListItem* ItemOfList(TJObject& self, const Value& v) {
  TJVCLBaseListItem* w = ItemArg(V(self), v);
  if (!w) return nullptr;
  w->CheckItem(TJValueList());
  return w->Item();
}
template <TListItem* (TListView::*Get)() const>
Value GetListViewRole(TJObject& self) {
  return V(self).WrapItem((ListViewOf(self).*Get)());
}
template <void (TListView::*Set)(TListItem*)>
void SetListViewRole(TJObject& self, const Value& v) {
  TListView& lv = ListViewOf(self);
  TListItem* item = ItemOfList(self, v);
  VCLGuard(V(self), [&] { (lv.*Set)(item); });
}
Value GetListViewSelCount(TJObject& self) { return Value::Integer(ListViewOf(self).selCount()); }
Value GetVisibleRowCount(TJObject& self) { return Value::Integer(ListViewOf(self).visibleRowCount()); }
Value GetItemIndex(TJObject& self) { return Value::Integer(ListViewOf(self).itemIndex()); }
void SetItemIndex(TJObject& self, const Value& v) {
  TListView& lv = ListViewOf(self);
  VCLGuard(V(self), [&] { lv.setItemIndex(ValueToInteger(v)); });
}
Value GetViewOrigin(TJObject& self) { return PointValue(self.Engine(), ListViewOf(self).viewOrigin()); }
Value GetBoundingRect(TJObject& self) { return NewRectValue(self.Engine(), ListViewOf(self).boundingRect()); }

constexpr PropDef kListViewProps[] = {
    {"items", GetListViewItems, nullptr},
    {"column", GetColumn, nullptr},
    {"DropTarget", GetListViewRole<&TListView::dropTarget>, SetListViewRole<&TListView::setDropTarget>},
    {"ItemFocused", GetListViewRole<&TListView::itemFocused>, SetListViewRole<&TListView::setItemFocused>},
    {"Selected", GetListViewRole<&TListView::selected>, SetListViewRole<&TListView::setSelected>},
    {"TopItem", GetListViewRole<&TListView::topItem>, nullptr},
    {"SelCount", GetListViewSelCount, nullptr},
    {"VisibleRowCount", GetVisibleRowCount, nullptr},
    {"ItemIndex", GetItemIndex, SetItemIndex},
    {"ViewOrigin", GetViewOrigin, nullptr},
    {"BoundingRect", GetBoundingRect, nullptr}};

kgui::TLVCompareEvent ListCompareBridge(TJVCLBaseListView& w);

void VAlphaSort(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params);
  lv.OnCompare = self.HasEventHandler(StrRef("onCompare")) ? ListCompareBridge(V(self)) : nullptr;
  bool sorted = false;
  VCLGuard(V(self), [&] { sorted = lv.alphaSort(); });
  result = Value::Bool(sorted);
}
void VArrange(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 1);
  auto code = EnumArg(kgui::listArrangementType(), params.GetValue(0));
  if (!code) V(self).RaiseArgumentsError();
  lv.arrange(*code);
  result = Value::Object(&self);
}
void VFindCaption(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 5);
  TListItem* item = nullptr;
  VCLGuard(V(self), [&] {
    item = lv.findCaption(ValueToInteger(params.GetValue(0)), cp932_to_utf8(ValueToStdString(params.GetValue(1))),
                          ValueToBool(params.GetValue(2)), ValueToBool(params.GetValue(3)),
                          ValueToBool(params.GetValue(4)));
  });
  result = V(self).WrapItem(item);
}
void VFindData(TJObject& self, TJValueList& params, Value& result) {
  ListViewOf(self, params);
  result = Value();
}
void VGetHitTestInfoAt(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 2);
  const uint32_t bits = lv.getHitTestInfoAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)));
  result = FlagSetText(kgui::hitTestType(), bits);
}
void VGetItemAt(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 2);
  result = V(self).WrapItem(lv.getItemAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))));
}
void VGetNearestItem(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 2);
  const kgui::TPoint p = ViewPointArg(V(self), params, 0);
  auto direction = EnumArg(kgui::searchDirectionType(), params.GetValue(1));
  if (!direction) V(self).RaiseArgumentsError();
  result = V(self).WrapItem(lv.getNearestItem(p, *direction));
}
void VGetNextItem(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 3);
  auto* start = dynamic_cast<TJVCLBaseListItem*>(params.GetValue(0).object());
  auto direction = EnumArg(kgui::searchDirectionType(), params.GetValue(1));
  if (!start || !direction) V(self).RaiseArgumentsError();
  start->CheckItem(TJValueList());
  const uint32_t states = NamesToSetOrd(kgui::itemStateType().idents, ValueToStdString(params.GetValue(2)), 1);
  result = V(self).WrapItem(lv.getNextItem(start->Item(), *direction, states));
}
void VGetSearchString(TJObject& self, TJValueList& params, Value& result) {
  result = Value::String(StrRef(utf8_to_cp932(ListViewOf(self, params).getSearchString())));
}
void VIsEditing(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Bool(ListViewOf(self, params).isEditing());
}
void VScroll(TJObject& self, TJValueList& params, Value& result) {
  ListViewOf(self, params, 2).scroll(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)));
  result = Value::Object(&self);
}
void VStringWidth(TJObject& self, TJValueList& params, Value& result) {
  TListView& lv = ListViewOf(self, params, 1);
  result = Value::Integer(lv.stringWidth(cp932_to_utf8(ValueToStdString(params.GetValue(0)))));
}
void VUpdateItems(TJObject& self, TJValueList& params, Value& result) {
  ListViewOf(self, params, 2).updateItems(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)));
  result = Value::Object(&self);
}

// ---- events ----

Value ItemArgValue(TJVCLPersistent& self, TListItem* item) { return V(self).WrapItem(item); }

Value ColumnValue(TJVCLPersistent& self, kgui::TListColumn* column) {
  if (!column) return Value::Null();
  auto* columns = static_cast<TJVCLPersistent*>(V(self).ColumnsWrapper().object());
  return columns->WrapNative(column);
}

void BackText(TJValueList& p, int32_t i, std::string& text) {
  if (auto* s = dynamic_cast<TJStringObject*>(p.GetValue(i).object())) text = cp932_to_utf8(std::string(s->Text().view()));
}
Value BoolRef(TJVCLPersistent& self, bool b) { return NewHostObject<TJBooleanObject>(self.Engine(), b); }
Value IntRef(TJVCLPersistent& self, int n) { return NewHostObject<TJNumberObject>(self.Engine(), Value::Integer(n)); }
Value TextRef(TJVCLPersistent& self, const std::string& text) {
  return NewHostObject<TJStringObject>(self.Engine(), StrRef(utf8_to_cp932(text)));
}
Value Ident(const kgui::EnumInfo& type, int ord) { return Value::String(StrRef(kgui::enumToText(type, ord))); }

kgui::TLVNotifyEvent ItemBridge(TJVCLBaseListView& w, const char* event) {
  return [weak = WeakOf(w), event](kgui::TComponent* sender, TListItem* item) {
    FireVCLEvent(weak, event, sender, [&](TJVCLPersistent& self, TJValueList& p) { p.Add(ItemArgValue(self, item), true); },
                 NoBack);
  };
}

kgui::TLVCompareEvent ListCompareBridge(TJVCLBaseListView& w) {
  return [weak = WeakOf(w)](kgui::TComponent* sender, TListItem* a, TListItem* b, int data, int& compare) {
    FireVCLEvent(weak, "onCompare", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, a), true);
      p.Add(ItemArgValue(self, b), true);
      p.AddInteger(data);
      p.Add(IntRef(self, compare), true);
    }, [&](TJValueList& p) { BackNumber(p, 4, compare); });
  };
}

// The rectangle and draw events of the whole list.
void HookDrawEvents(TJVCLBaseListView& w, TListView& lv) {
  auto weak = WeakOf(w);
  lv.OnCustomDraw = [weak](kgui::TComponent* sender, const kgui::TRect& rect, bool& def) {
    FireVCLEvent(weak, "onCustomDraw", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewRectValue(self.Engine(), rect), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 2, def); });
  };
  lv.OnAdvancedCustomDraw = [weak](kgui::TComponent* sender, const kgui::TRect& rect, int stage, bool& def) {
    FireVCLEvent(weak, "onAdvancedCustomDraw", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(NewRectValue(self.Engine(), rect), true);
      p.Add(Ident(kgui::customDrawStageType(), stage), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 3, def); });
  };
  lv.OnCustomDrawItem = [weak](kgui::TComponent* sender, TListItem* item, uint32_t state, bool& def) {
    FireVCLEvent(weak, "onCustomDrawItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(FlagSetText(kgui::customDrawStateType(), state), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 3, def); });
  };
  lv.OnAdvancedCustomDrawItem = [weak](kgui::TComponent* sender, TListItem* item, uint32_t state, int stage,
                                       bool& def) {
    FireVCLEvent(weak, "onAdvancedCustomDrawItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(FlagSetText(kgui::customDrawStateType(), state), true);
      p.Add(Ident(kgui::customDrawStageType(), stage), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 4, def); });
  };
  lv.OnCustomDrawSubItem = [weak](kgui::TComponent* sender, TListItem* item, int sub, uint32_t state, bool& def) {
    FireVCLEvent(weak, "onCustomDrawSubItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.AddInteger(sub);
      p.Add(FlagSetText(kgui::customDrawStateType(), state), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 4, def); });
  };
  lv.OnAdvancedCustomDrawSubItem = [weak](kgui::TComponent* sender, TListItem* item, int sub, uint32_t state,
                                          int stage, bool& def) {
    FireVCLEvent(weak, "onAdvancedCustomDrawSubItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.AddInteger(sub);
      p.Add(FlagSetText(kgui::customDrawStateType(), state), true);
      p.Add(Ident(kgui::customDrawStageType(), stage), true);
      p.Add(BoolRef(self, def), true);
    }, [&](TJValueList& p) { BackBool(p, 5, def); });
  };
  lv.OnDrawItem = [weak](kgui::TComponent* sender, TListItem* item, const kgui::TRect& rect, uint32_t state) {
    FireVCLEvent(weak, "onDrawItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(NewRectValue(self.Engine(), rect), true);
      p.Add(FlagSetText(kgui::ownerDrawStateType(), state), true);
    }, NoBack);
  };
}

// Changes, columns, editing and the owner-data events.
void HookItemEvents(TJVCLBaseListView& w, TListView& lv) {
  auto weak = WeakOf(w);
  lv.OnChange = [weak](kgui::TComponent* sender, TListItem* item, int change) {
    FireVCLEvent(weak, "onChange", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(Ident(kgui::itemChangeType(), change), true);
    }, NoBack);
  };
  lv.OnChanging = [weak](kgui::TComponent* sender, TListItem* item, int change, bool& allow) {
    FireVCLEvent(weak, "onChanging", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(Ident(kgui::itemChangeType(), change), true);
      p.Add(BoolRef(self, allow), true);
    }, [&](TJValueList& p) { BackBool(p, 3, allow); });
  };
  lv.OnColumnClick = [weak](kgui::TComponent* sender, kgui::TListColumn* column) {
    FireVCLEvent(weak, "onColumnClick", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ColumnValue(self, column), true);
    }, NoBack);
  };
  lv.OnColumnDragged = NotifyBridge(w, "onColumnDragged");
  lv.OnColumnRightClick = [weak](kgui::TComponent* sender, kgui::TListColumn* column, kgui::TPoint point) {
    FireVCLEvent(weak, "onColumnRightClick", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ColumnValue(self, column), true);
      p.Add(PointValue(self.Engine(), point), true);
    }, NoBack);
  };
  lv.OnData = ItemBridge(w, "onData");
  lv.OnDeletion = ItemBridge(w, "onDeletion");
  lv.OnInsert = ItemBridge(w, "onInsert");
  lv.OnGetImageIndex = ItemBridge(w, "onGetImageIndex");
  lv.OnDataHint = [weak](kgui::TComponent* sender, int start, int end) {
    FireVCLEvent(weak, "onDataHint", sender, [&](TJVCLPersistent&, TJValueList& p) {
      p.AddInteger(start);
      p.AddInteger(end);
    }, NoBack);
  };
  lv.OnDataStateChange = [weak](kgui::TComponent* sender, int start, int end, uint32_t old_state, uint32_t new_state) {
    FireVCLEvent(weak, "onDataStateChange", sender, [&](TJVCLPersistent&, TJValueList& p) {
      p.AddInteger(start);
      p.AddInteger(end);
      p.Add(FlagSetText(kgui::itemStateType(), old_state), true);
      p.Add(FlagSetText(kgui::itemStateType(), new_state), true);
    }, NoBack);
  };
  lv.OnDataFind = [weak](kgui::TComponent* sender, int find, const std::string& text, kgui::TPoint position, int data,
                         int start, int direction, bool wrap, int& index) {
    FireVCLEvent(weak, "onDataFind", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(Ident(kgui::itemFindType(), find), true);
      p.Add(Value::String(StrRef(utf8_to_cp932(text))), true);
      p.Add(PointValue(self.Engine(), position), true);
      p.AddInteger(data);
      p.AddInteger(start);
      p.Add(Ident(kgui::searchDirectionType(), direction), true);
      p.Add(Value::Bool(wrap), true);
      p.Add(IntRef(self, index), true);
    }, [&](TJValueList& p) { BackNumber(p, 8, index); });
  };
  lv.OnEdited = [weak](kgui::TComponent* sender, TListItem* item, std::string& text) {
    FireVCLEvent(weak, "onEdited", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(TextRef(self, text), true);
    }, [&](TJValueList& p) { BackText(p, 2, text); });
  };
  lv.OnEditing = [weak](kgui::TComponent* sender, TListItem* item, bool& allow) {
    FireVCLEvent(weak, "onEditing", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(BoolRef(self, allow), true);
    }, [&](TJValueList& p) { BackBool(p, 2, allow); });
  };
  lv.OnGetSubItemImage = [weak](kgui::TComponent* sender, TListItem* item, int sub, int& image) {
    FireVCLEvent(weak, "onGetSubItemImage", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.AddInteger(sub);
      p.Add(IntRef(self, image), true);
    }, [&](TJValueList& p) { BackNumber(p, 3, image); });
  };
  lv.OnInfoTip = [weak](kgui::TComponent* sender, TListItem* item, std::string& tip) {
    FireVCLEvent(weak, "onInfoTip", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(TextRef(self, tip), true);
    }, [&](TJValueList& p) { BackText(p, 2, tip); });
  };
  lv.OnSelectItem = [weak](kgui::TComponent* sender, TListItem* item, bool selected) {
    FireVCLEvent(weak, "onSelectItem", sender, [&](TJVCLPersistent& self, TJValueList& p) {
      p.Add(ItemArgValue(self, item), true);
      p.Add(Value::Bool(selected), true);
    }, NoBack);
  };
}

// The engine's name order of the captions in script text (CP932).
void CaptionKey(std::string_view caption, std::string& out) {
  const bool ascii = std::all_of(caption.begin(), caption.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  AppendLocaleSortKey(ascii ? caption : std::string_view(utf8_to_cp932(std::string(caption))), out);
}

}  // namespace

// ---- TJVCLBaseListItem ----

TJVCLBaseListItem::TJVCLBaseListItem(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLListItem");
  AddOwnProps(kItemProps);
}

TJVCLBaseListItem::~TJVCLBaseListItem() { TJVCLBaseListItem::DetachVCL(); }

const ClassInfo& TJVCLBaseListItem::Class() const {
  static const ClassInfo info(&TJVCLPersistent::Class(),
                              {{"cancelEdit", ICancelEdit}, {"delete", IDelete}, {"displayRect", IDisplayRect},
                               {"editCaption", IEditCaption}, {"makeVisible", IMakeVisible}, {"update", IUpdate},
                               {"workArea", IWorkArea}, {"subItemImages", ISubItemImages}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseListItem::VCLClass() const { return TListItem::staticClassInfo(); }

TListItem* TJVCLBaseListItem::Item() const { return static_cast<TListItem*>(vcl_); }

TJVCLBaseListView* TJVCLBaseListItem::ListView() const { return BaseListViewOf(list_view); }

bool TJVCLBaseListItem::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (TJVCLPersistent::GetValueImpl(name, out, param)) return true;
  if (!vcl_ && VCLClass().findProperty(name.view())) RaiseVCLError("VCL is null");
  return false;
}

bool TJVCLBaseListItem::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  if (!vcl_ && VCLClass().findProperty(name.view())) RaiseVCLError("VCL is null");
  return TJVCLPersistent::SetValueImpl(name, v, param);
}

void TJVCLBaseListItem::AfterAttach() { WrapNative(Item()->subItems()); }

// Detaching releases Data and the sub-item view; an item still pointing here forgets it.
void TJVCLBaseListItem::DetachVCL() {
  if (TListItem* item = Item(); item && item->data() == this) item->setData(nullptr);
  data = Ref<TJObject>();
  TJVCLPersistent::DetachVCL();
}

void TJVCLBaseListItem::CheckItem(const TJValueList& params, int32_t min_count) {
  CheckVCL(params, min_count);
  if (!ListView() || !ListView()->List()) RaiseVCLError("vcl is null");
}

// ---- TJVCLBaseListItems ----

TJVCLBaseListItems::TJVCLBaseListItems(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLListItems");
  AddOwnProps(kItemsProps);
}

const ClassInfo& TJVCLBaseListItems::Class() const {
  static const ClassInfo info(&TJVCLPersistent::Class(),
                              {{"add", LAdd}, {"beginUpdate", LBeginUpdate}, {"clear", ListViewClear}, {"delete", LDelete},
                               {"endUpdate", LEndUpdate}, {"indexOf", LIndexOf}, {"insert", LInsert},
                               {"item", LItem}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseListItems::VCLClass() const { return kgui::TListItems::staticClassInfo(); }

TJVCLBaseListView* TJVCLBaseListItems::ListView() const { return BaseListViewOf(owner); }

bool TJVCLBaseListItems::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

bool TJVCLBaseListItems::SetElement(const StrRef& key, const Value& v) {
  int32_t index = 0;
  if (!ElementIndex(key, index)) return false;
  TJValueList params;
  params.AddInteger(index);
  params.Add(v, true);
  Value result;
  LItem(*this, params, result);
  return true;
}

int32_t TJVCLBaseListItems::GetCount() {
  auto* items = dynamic_cast<kgui::TListItems*>(vcl_);
  return items ? items->count() : 0;
}

void TJVCLBaseListItems::GetItem(int32_t index, Value& out) {
  kgui::TListItems& items = ItemsOf(*this);
  out = ListView()->WrapItem(items.item(index));
}

// ---- TJVCLBaseListColumns ----

TJVCLBaseListColumns::TJVCLBaseListColumns(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLListColumns");
  AddOwnProps(kColumnsProps);
}

const ClassInfo& TJVCLBaseListColumns::Class() const {
  static const ClassInfo info(&TJVCLPersistent::Class(), {{"items", CItems}, {"add", CAdd}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseListColumns::VCLClass() const { return kgui::TListColumns::staticClassInfo(); }

bool TJVCLBaseListColumns::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

int32_t TJVCLBaseListColumns::GetCount() {
  auto* columns = dynamic_cast<kgui::TListColumns*>(vcl_);
  return columns ? columns->count() : 0;
}

// Column wrappers are kept by the columns wrapper, so they are detached with the list.
void TJVCLBaseListColumns::GetItem(int32_t index, Value& out) {
  kgui::TListColumn* column = ColumnsOf(*this).items(index);
  if (!column) RaiseArgumentsError();
  out = WrapNative(column);
}

// ---- TJVCLBaseListView ----

TJVCLBaseListView::TJVCLBaseListView(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLListView");
  AddOwnProps(kListViewProps);
}

// The list may go with the detach: its hook must not reach a wrapper half destroyed.
TJVCLBaseListView::~TJVCLBaseListView() { TJVCLBaseListView::DetachVCL(); }

const ClassInfo& TJVCLBaseListView::Class() const {
  static const ClassInfo info(
      &TJVCLWinControl::Class(),
      {{"alphaSort", VAlphaSort}, {"arrange", VArrange}, {"findCaption", VFindCaption}, {"findData", VFindData},
       {"getHitTestInfoAt", VGetHitTestInfoAt}, {"getItemAt", VGetItemAt}, {"getNearestItem", VGetNearestItem},
       {"getNextItem", VGetNextItem}, {"getSearchString", VGetSearchString}, {"isEditing", VIsEditing},
       {"scroll", VScroll}, {"stringWidth", VStringWidth}, {"updateItems", VUpdateItems}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseListView::VCLClass() const { return TListView::staticClassInfo(); }

TListView* TJVCLBaseListView::List() const { return static_cast<TListView*>(vcl_); }

Value TJVCLBaseListView::ItemsWrapper() {
  Value v = WrapNative(List()->items());
  if (auto* items = dynamic_cast<TJVCLBaseListItems*>(v.object())) items->owner = WeakOf(*this);
  return v;
}

Value TJVCLBaseListView::ColumnsWrapper() { return WrapNative(List()->columns()); }

void TJVCLBaseListView::AfterAttach() {
  TListView& lv = *List();
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus | kEvResize);
  HookDrawEvents(*this, lv);
  HookItemEvents(*this, lv);
  lv.setCaptionOrder(CaptionKey);
  lv.ItemLifecycle = [weak = WeakOf(*this)](TListItem* item, bool inserted) {
    if (auto* w = BaseListViewOf(weak)) w->ItemLifecycle(item, inserted);
  };
  ItemsWrapper();
  ColumnsWrapper();
  // Items already in the list get their wrappers as inserted ones do.
  for (int i = 0; !lv.ownerData() && i < lv.items()->count(); ++i) ItemLifecycle(lv.items()->item(i), true);
}

// A stored wrapper for each new item of a list that is not owner data; a leaving item's
// wrappers are detached.
void TJVCLBaseListView::ItemLifecycle(TListItem* item, bool inserted) {
  if (!item) return;
  if (inserted) {
    if (List() && !List()->ownerData() && !item->data()) WrapItem(item);
    return;
  }
  if (auto* w = static_cast<TJVCLBaseListItem*>(item->data())) DetachItemWrapper(*w);
  DetachHanded(item);
}

Value TJVCLBaseListView::WrapItem(TListItem* item) {
  if (!item) return Value::Null();
  if (item->data()) return Value::Object(static_cast<TJVCLBaseListItem*>(item->data()));
  Value v = CastVCL(item, Engine());
  auto* w = dynamic_cast<TJVCLBaseListItem*>(v.object());
  if (!w) return v;
  w->list_view = WeakOf(*this);
  if (List() && !List()->ownerData() && item->index() >= 0) {
    w->IncRef();
    w->list_counted = true;
    item->setData(w);
    return v;
  }
  // Dead entries go before the list doubles, so it stays near the live count.
  if (handed_.size() >= 64 && handed_.size() == handed_.capacity())
    std::erase_if(handed_, [](const WeakPtr<TJObject>& h) { return h.get() == nullptr; });
  handed_.push_back(WeakOf(*w));
  return v;
}

void TJVCLBaseListView::DetachItemWrapper(TJVCLBaseListItem& w) {
  Ref<TJObject> hold(&w);
  w.list_view.reset();
  w.DetachVCL();
  if (w.list_counted) {
    w.list_counted = false;
    w.DecRef();
  }
}

void TJVCLBaseListView::DetachHanded(TListItem* item) {
  std::vector<WeakPtr<TJObject>> handed;
  handed.swap(handed_);
  for (const WeakPtr<TJObject>& h : handed) {
    auto* w = static_cast<TJVCLBaseListItem*>(h.get());
    if (!w) continue;
    if (!item || w->Item() == item) DetachItemWrapper(*w);
    else handed_.push_back(h);
  }
}

// Detaching the list view detaches every item wrapper it made.
void TJVCLBaseListView::DetachVCL() {
  if (TListView* lv = List()) {
    lv->ItemLifecycle = nullptr;
    for (int i = 0; !lv->ownerData() && i < lv->items()->count(); ++i)
      if (auto* w = static_cast<TJVCLBaseListItem*>(lv->items()->item(i)->data())) DetachItemWrapper(*w);
    DetachHanded(nullptr);
    lv->OnCompare = nullptr;
  }
  TJVCLWinControl::DetachVCL();
}

}  // namespace kestrin::script
