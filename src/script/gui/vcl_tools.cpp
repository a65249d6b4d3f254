// The tool bar, tool button, cool bar and image wrappers: own properties, methods and
// event hooks.
#include "script/gui/vcl_tools.h"

#include "platform/gui/image.h"
#include "platform/gui/tool_bars.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_controls.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

kgui::TToolBar& BarOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TToolBar>(w, params, min_count);
}

Value GetButtonCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(BarOf(w, TJValueList()).buttonCount());
}
Value GetBarRowCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(BarOf(w, TJValueList()).rowCount());
}
constexpr PropDef kToolBarProps[] = {{"ButtonCount", GetButtonCount, nullptr}, {"RowCount", GetBarRowCount, nullptr}};

void TBButtons(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params, 1);
  self.GetItem(ValueToInteger(params.GetValue(0)), result);
}

void TBTrackMenu(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& bar = BarOf(w, params, 1);
  kgui::TToolButton* button = NativeOf<kgui::TToolButton>(params.GetValue(0));
  Ref<TJObject> hold(&self);
  bool shown = false;
  VCLGuard(w, [&] { shown = bar.trackMenu(button); });
  result = Value::Bool(shown);
}

Value GetButtonIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(NativeOfSelf<kgui::TToolButton>(w, TJValueList()).index());
}
constexpr PropDef kToolButtonProps[] = {{"Index", GetButtonIndex, nullptr}};

}  // namespace

// ---- TJVCLToolWindow ----

TJVCLToolWindow::TJVCLToolWindow(BaseEngine* engine) : TJVCLWinControl(engine) { SetObjectName("VCLToolWindow"); }

const kgui::ClassInfo& TJVCLToolWindow::VCLClass() const { return kgui::TToolWindow::staticClassInfo(); }

// ---- TJVCLBaseToolBar ----

TJVCLBaseToolBar::TJVCLBaseToolBar(BaseEngine* engine) : TJVCLToolWindow(engine) {
  SetObjectName("VCLToolBar");
  AddOwnProps(kToolBarProps);
}

const ClassInfo& TJVCLBaseToolBar::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(), {{"trackMenu", TBTrackMenu}, {"buttons", TBButtons}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseToolBar::VCLClass() const { return kgui::TToolBar::staticClassInfo(); }

bool TJVCLBaseToolBar::GetElement(const StrRef& key, Value& out) { return GetIndexedElement(*this, key, out); }

int32_t TJVCLBaseToolBar::GetCount() {
  auto* bar = dynamic_cast<kgui::TToolBar*>(vcl_);
  return bar ? bar->buttonCount() : 0;
}

// Button i's one wrapper; null out of range.
void TJVCLBaseToolBar::GetItem(int32_t index, Value& out) {
  out = CastVCL(BarOf(*this, TJValueList()).buttons(index), Engine());
}

void TJVCLBaseToolBar::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvFocus | kEvResize);
}

// ---- TJVCLBaseToolButton ----

TJVCLBaseToolButton::TJVCLBaseToolButton(BaseEngine* engine) : TJVCLControl(engine) {
  SetObjectName("VCLToolButton");
  AddOwnProps(kToolButtonProps);
  AddOwnProps(VCLActionProps());
}

const kgui::ClassInfo& TJVCLBaseToolButton::VCLClass() const { return kgui::TToolButton::staticClassInfo(); }

void TJVCLBaseToolButton::AfterAttach() { HookControlEvents(*this, kEvClick | kEvMouse); }

// ---- TJVCLBaseCoolBar ----

TJVCLBaseCoolBar::TJVCLBaseCoolBar(BaseEngine* engine) : TJVCLToolWindow(engine) { SetObjectName("VCLCoolBar"); }

const kgui::ClassInfo& TJVCLBaseCoolBar::VCLClass() const { return kgui::TCoolBar::staticClassInfo(); }

void TJVCLBaseCoolBar::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvResize);
  static_cast<kgui::TCoolBar*>(vcl_)->OnChange = NotifyBridge(*this, "onChange");
}

// ---- TJVCLBaseImage ----

TJVCLBaseImage::TJVCLBaseImage(BaseEngine* engine) : TJVCLControl(engine) { SetObjectName("VCLImage"); }

const kgui::ClassInfo& TJVCLBaseImage::VCLClass() const { return kgui::TImage::staticClassInfo(); }

void TJVCLBaseImage::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse);
  static_cast<kgui::TImage*>(vcl_)->OnProgress = ProgressBridge(*this, "onProgress");
}

}  // namespace kestrin::script
