// The tab control, page control, tab sheet, status bar and status panel wrappers: own
// properties, methods and event hooks.
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

// Copies the panel of a panel wrapper into item index; false when either is missing.
bool PutPanel(TJVCLPersistent& w, int32_t index, const Value& v) {
  kgui::TStatusPanel* target = PanelsOf(w, TJValueList()).items(index);
  kgui::TStatusPanel* source = NativeOf<kgui::TStatusPanel>(v);
  if (!target || !source) return false;
  target->assign(*source);
  return true;
}

void SPItems(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (params.GetCount() > 1) PutPanel(w, index, params.GetValue(1));
  w.GetItem(index, result);
}

constexpr MethodDef kTabControlMethods[] = {{"indexOfTabAt", TIndexOfTabAt},
                                            {"getHitTestInfoAt", TGetHitTestInfoAt},
                                            {"tabRect", TTabRect},
                                            {"scrollTabs", TScrollTabs}};
constexpr MethodDef kPageControlMethods[] = {
    {"findNextPage", PCFindNextPage}, {"selectNextPage", PCSelectNextPage}, {"pages", PCPages}};
constexpr MethodDef kStatusPanelsMethods[] = {{"add", SPAdd}, {"items", SPItems}};

void HookTabControl(TJVCLPersistent& w) {
  auto* tabs = static_cast<kgui::TCustomTabControl*>(static_cast<kgui::TControl*>(w.VCL()));
  tabs->OnChange = NotifyBridge(w, "onChange");
  tabs->OnChanging = CloseQueryBridge(w, "onChanging");
}

int32_t PageCount(TJVCLPersistent& w) {
  auto* pc = dynamic_cast<kgui::TPageControl*>(w.VCL());
  return pc ? pc->pageCount() : 0;
}

// Page i's one wrapper; out of range the result stays as it was.
void PageItem(TJVCLPersistent& w, int32_t index, Value& out) {
  auto& pc = PagesOf(w, TJValueList());
  if (index >= 0 && index < pc.pageCount()) out = CastVCL(pc.pages(index), w.Engine());
}

void HookTabSheet(TJVCLPersistent& w) {
  auto* sheet = static_cast<kgui::TTabSheet*>(w.VCL());
  sheet->OnShow = NotifyBridge(w, "onShow");
  sheet->OnHide = NotifyBridge(w, "onHide");
}

void HookStatusBar(TJVCLPersistent& w) {
  auto* bar = static_cast<kgui::TStatusBar*>(w.VCL());
  bar->OnHint = NotifyBridge(w, "onHint");
  bar->OnDrawPanel = DrawPanelBridge(w, "onDrawPanel");
}

int32_t PanelCount(TJVCLPersistent& w) {
  auto* panels = dynamic_cast<kgui::TStatusPanels*>(w.VCL());
  return panels ? panels->count() : 0;
}

// The panel's wrapper, the same on every read while the panels are bound; null out of range.
void PanelItem(TJVCLPersistent& w, int32_t index, Value& out) {
  out = w.WrapNative(PanelsOf(w, TJValueList()).items(index));
}

}  // namespace

const VCLClassDef kVCLTabControl{.script_name = "VCLTabControl",
                                 .native = &kgui::TTabControl::staticClassInfo,
                                 .methods = kTabControlMethods,
                                 .props = {kTabControlProps},
                                 .events = kEvMouse | kEvFocus | kEvResize,
                                 .hook = HookTabControl};

const VCLClassDef kVCLPageControl{.script_name = "VCLPageControl",
                                  .native = &kgui::TPageControl::staticClassInfo,
                                  .base = &kVCLTabControl,
                                  .methods = kPageControlMethods,
                                  .props = {kPageControlProps},
                                  .count = PageCount,
                                  .item = PageItem};

const VCLClassDef kVCLTabSheet{.script_name = "VCLTabSheet",
                               .native = &kgui::TTabSheet::staticClassInfo,
                               .props = {kTabSheetProps},
                               .events = kEvMouse | kEvFocus | kEvResize,
                               .hook = HookTabSheet};

const VCLClassDef kVCLStatusBar{.script_name = "VCLStatusBar",
                                .native = &kgui::TStatusBar::staticClassInfo,
                                .props = {kStatusBarProps, kVCLActionProps},
                                .events = kEvClick | kEvDblClick | kEvMouse | kEvResize,
                                .hook = HookStatusBar};

const VCLClassDef kVCLStatusPanels{.script_name = "VCLStatusPanels",
                                   .native = &kgui::TStatusPanels::staticClassInfo,
                                   .level = VCLLevel::Persistent,
                                   .methods = kStatusPanelsMethods,
                                   .props = {kStatusPanelsProps},
                                   .count = PanelCount,
                                   .item = PanelItem,
                                   .put = PutPanel};

}  // namespace kestrin::script
