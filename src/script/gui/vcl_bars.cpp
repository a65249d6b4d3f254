// The tab control, page control and tab sheet wrappers: own properties, methods and
// event hooks.
#include "script/gui/vcl_bars.h"

#include <string>

#include "platform/classes/type_tables.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/tab_controls.h"
#include "script/builtins/array_object.h"
#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_controls.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

kgui::TCustomTabControl& TabsOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TCustomTabControl>(w, params, min_count);
}

// ---- tab controls ----

Value GetTabs(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  if (auto* pc = dynamic_cast<kgui::TPageControl*>(w.VCL())) return w.WrapNative(pc->tabs());
  return w.WrapNative(static_cast<kgui::TTabControl*>(w.VCL())->tabs());
}
Value GetRowCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(TabsOf(w, TJValueList()).rowCount());
}
Value GetDisplayRect(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return NewRectValue(self.Engine(), TabsOf(w, TJValueList()).displayRect());
}
constexpr PropDef kTabControlProps[] = {
    {"tabs", GetTabs, nullptr}, {"RowCount", GetRowCount, nullptr}, {"DisplayRect", GetDisplayRect, nullptr}};

void TIndexOfTabAt(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& tabs = TabsOf(w, params, 2);
  result = Value::Integer(tabs.indexOfTabAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))));
}

void TGetHitTestInfoAt(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& tabs = TabsOf(w, params, 2);
  const uint32_t bits = tabs.hitTestInfoAt(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)));
  result = Value::String(StrRef(kgui::setToNames(kgui::hitTestType(), bits)));
}

void TTabRect(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& tabs = TabsOf(w, params, 1);
  result = NewRectValue(self.Engine(), tabs.tabRect(ValueToInteger(params.GetValue(0))));
}

void TScrollTabs(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& tabs = TabsOf(w, params, 1);
  VCLGuard(w, [&] { tabs.scrollTabs(ValueToInteger(params.GetValue(0))); });
  result = Value::Object(&self);
}

// ---- page controls ----

kgui::TPageControl& PagesOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TPageControl>(w, params, min_count);
}

Value GetActivePageIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(PagesOf(w, TJValueList()).activePageIndex());
}
// From code: neither onChanging nor onChange.
void SetActivePageIndex(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& pc = PagesOf(w, TJValueList());
  VCLGuard(w, [&] { pc.setActivePageIndex(ValueToInteger(v)); });
}
Value GetPageCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(PagesOf(w, TJValueList()).pageCount());
}
constexpr PropDef kPageControlProps[] = {{"ActivePageIndex", GetActivePageIndex, SetActivePageIndex},
                                         {"PageCount", GetPageCount, nullptr}};

void PCPages(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params, 1);
  self.GetItem(ValueToInteger(params.GetValue(0)), result);
}

void PCFindNextPage(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& pc = PagesOf(w, params, 3);
  kgui::TTabSheet* current = NativeOf<kgui::TTabSheet>(params.GetValue(0));
  result = CastVCL(pc.findNextPage(current, ValueToBool(params.GetValue(1)), ValueToBool(params.GetValue(2))),
                   self.Engine());
}

void PCSelectNextPage(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& pc = PagesOf(w, params, 1);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { pc.selectNextPage(ValueToBool(params.GetValue(0)), true); });
  result = Value::Object(&self);
}

// ---- tab sheets ----

Value GetPageControl(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return CastVCL(static_cast<kgui::TTabSheet*>(w.VCL())->pageControl(), self.Engine());
}
// A page-control wrapper makes the sheet its last page; null takes it off its control.
void SetPageControl(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  auto* pc = NativeOf<kgui::TPageControl>(v);
  if (!pc && !ValueIsNullOrUndefined(v)) w.RaiseVCLError("Invalid property value");
  VCLGuard(w, [&] { static_cast<kgui::TTabSheet*>(w.VCL())->setPageControl(pc); });
}
Value GetTabIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return Value::Integer(static_cast<kgui::TTabSheet*>(w.VCL())->tabIndex());
}
constexpr PropDef kTabSheetProps[] = {{"PageControl", GetPageControl, SetPageControl},
                                      {"TabIndex", GetTabIndex, nullptr}};

// ---- status bars ----

Value GetPanels(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return w.WrapNative(static_cast<kgui::TStatusBar*>(w.VCL())->panels());
}
constexpr PropDef kStatusBarProps[] = {{"panels", GetPanels, nullptr}};

kgui::TStatusPanels& PanelsOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TStatusPanels>(w, params, min_count);
}

Value GetPanelCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(PanelsOf(w, TJValueList()).count());
}
constexpr PropDef kStatusPanelsProps[] = {{"Count", GetPanelCount, nullptr}};

void SPAdd(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  result = w.WrapNative(PanelsOf(w, params).add());
}

void SPItems(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseStatusPanels>(self);
  w.CheckVCL(params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (params.GetCount() > 1) w.PutItem(index, params.GetValue(1));
  w.GetItem(index, result);
}

}  // namespace

// ---- TJVCLBaseTabControl ----

TJVCLBaseTabControl::TJVCLBaseTabControl(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLTabControl");
  AddOwnProps(kTabControlProps);
}

const ClassInfo& TJVCLBaseTabControl::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(), {{"indexOfTabAt", TIndexOfTabAt},
                                                          {"getHitTestInfoAt", TGetHitTestInfoAt},
                                                          {"tabRect", TTabRect},
                                                          {"scrollTabs", TScrollTabs}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseTabControl::VCLClass() const { return kgui::TTabControl::staticClassInfo(); }

void TJVCLBaseTabControl::AfterAttach() {
  HookControlEvents(*this, kEvMouse | kEvFocus | kEvResize);
  auto* tabs = static_cast<kgui::TCustomTabControl*>(static_cast<kgui::TControl*>(vcl_));
  tabs->OnChange = NotifyBridge(*this, "onChange");
  tabs->OnChanging = CloseQueryBridge(*this, "onChanging");
}

// ---- TJVCLBasePageControl ----

TJVCLBasePageControl::TJVCLBasePageControl(BaseEngine* engine) : TJVCLBaseTabControl(engine) {
  SetObjectName("VCLPageControl");
  AddOwnProps(kPageControlProps);
}

const ClassInfo& TJVCLBasePageControl::Class() const {
  static const ClassInfo info(&TJVCLBaseTabControl::Class(), {{"findNextPage", PCFindNextPage},
                                                              {"selectNextPage", PCSelectNextPage},
                                                              {"pages", PCPages}});
  return info;
}

const kgui::ClassInfo& TJVCLBasePageControl::VCLClass() const { return kgui::TPageControl::staticClassInfo(); }

bool TJVCLBasePageControl::GetElement(const StrRef& key, Value& out) {
  return GetIndexedElement(*this, key, out);
}

int32_t TJVCLBasePageControl::GetCount() {
  auto* pc = dynamic_cast<kgui::TPageControl*>(vcl_);
  return pc ? pc->pageCount() : 0;
}

// Page i's one wrapper; out of range the result stays as it was.
void TJVCLBasePageControl::GetItem(int32_t index, Value& out) {
  auto& pc = PagesOf(*this, TJValueList());
  if (index >= 0 && index < pc.pageCount()) out = CastVCL(pc.pages(index), Engine());
}

// ---- TJVCLBaseTabSheet ----

TJVCLBaseTabSheet::TJVCLBaseTabSheet(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLTabSheet");
  AddOwnProps(kTabSheetProps);
}

const kgui::ClassInfo& TJVCLBaseTabSheet::VCLClass() const { return kgui::TTabSheet::staticClassInfo(); }

void TJVCLBaseTabSheet::AfterAttach() {
  HookControlEvents(*this, kEvMouse | kEvFocus | kEvResize);
  auto* sheet = static_cast<kgui::TTabSheet*>(vcl_);
  sheet->OnShow = NotifyBridge(*this, "onShow");
  sheet->OnHide = NotifyBridge(*this, "onHide");
}

}  // namespace kestrin::script

namespace kestrin::script {

// ---- TJVCLBaseStatusBar ----

TJVCLBaseStatusBar::TJVCLBaseStatusBar(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLStatusBar");
  AddOwnProps(kStatusBarProps);
  AddOwnProps(VCLActionProps());
}

const kgui::ClassInfo& TJVCLBaseStatusBar::VCLClass() const { return kgui::TStatusBar::staticClassInfo(); }

void TJVCLBaseStatusBar::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvResize);
  auto* bar = static_cast<kgui::TStatusBar*>(vcl_);
  bar->OnHint = NotifyBridge(*this, "onHint");
  bar->OnDrawPanel = DrawPanelBridge(*this, "onDrawPanel");
}

// ---- TJVCLBaseStatusPanels ----

TJVCLBaseStatusPanels::TJVCLBaseStatusPanels(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLStatusPanels");
  AddOwnProps(kStatusPanelsProps);
}

const ClassInfo& TJVCLBaseStatusPanels::Class() const {
  static const ClassInfo info(&TJVCLPersistent::Class(), {{"add", SPAdd}, {"items", SPItems}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseStatusPanels::VCLClass() const { return kgui::TStatusPanels::staticClassInfo(); }

bool TJVCLBaseStatusPanels::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

bool TJVCLBaseStatusPanels::SetElement(const StrRef& key, const Value& v) {
  int32_t index = 0;
  if (!ElementIndex(key, index)) return false;
  PutItem(index, v);
  return true;
}

int32_t TJVCLBaseStatusPanels::GetCount() {
  auto* panels = dynamic_cast<kgui::TStatusPanels*>(vcl_);
  return panels ? panels->count() : 0;
}

// The panel's wrapper, the same on every read while the panels are bound; null out of range.
void TJVCLBaseStatusPanels::GetItem(int32_t index, Value& out) {
  out = WrapNative(PanelsOf(*this, TJValueList()).items(index));
}

bool TJVCLBaseStatusPanels::PutItem(int32_t index, const Value& v) {
  kgui::TStatusPanel* target = PanelsOf(*this, TJValueList()).items(index);
  kgui::TStatusPanel* source = NativeOf<kgui::TStatusPanel>(v);
  if (!target || !source) return false;
  target->assign(*source);
  return true;
}

}  // namespace kestrin::script
