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

constexpr MethodDef kToolBarMethods[] = {{"trackMenu", TBTrackMenu}, {"buttons", TBButtons}};

int32_t ToolBarCount(TJVCLPersistent& w) {
  auto* bar = dynamic_cast<kgui::TToolBar*>(w.VCL());
  return bar ? bar->buttonCount() : 0;
}

// Button i's one wrapper; null out of range.
void ToolBarButton(TJVCLPersistent& w, int32_t index, Value& out) {
  out = CastVCL(BarOf(w, TJValueList()).buttons(index), w.Engine());
}

void HookCoolBar(TJVCLPersistent& w) {
  static_cast<kgui::TCoolBar*>(w.VCL())->OnChange = NotifyBridge(w, "onChange");
}

void HookImage(TJVCLPersistent& w) {
  static_cast<kgui::TImage*>(w.VCL())->OnProgress = ProgressBridge(w, "onProgress");
}

}  // namespace

const VCLClassDef kVCLToolBar{.script_name = "VCLToolBar",
                              .native = &kgui::TToolBar::staticClassInfo,
                              .methods = kToolBarMethods,
                              .props = {kToolBarProps},
                              .events = kEvClick | kEvDblClick | kEvMouse | kEvFocus | kEvResize,
                              .count = ToolBarCount,
                              .item = ToolBarButton};

const VCLClassDef kVCLToolButton{.script_name = "VCLToolButton",
                                 .native = &kgui::TToolButton::staticClassInfo,
                                 .level = VCLLevel::Control,
                                 .props = {kToolButtonProps, kVCLActionProps},
                                 .events = kEvClick | kEvMouse};

const VCLClassDef kVCLCoolBar{.script_name = "VCLCoolBar",
                              .native = &kgui::TCoolBar::staticClassInfo,
                              .events = kEvClick | kEvDblClick | kEvMouse | kEvResize,
                              .hook = HookCoolBar};

const VCLClassDef kVCLImage{.script_name = "VCLImage",
                            .native = &kgui::TImage::staticClassInfo,
                            .level = VCLLevel::Control,
                            .events = kEvClick | kEvDblClick | kEvMouse,
                            .hook = HookImage};

}  // namespace kestrin::script
