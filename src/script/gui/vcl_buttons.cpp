// The button family: buttons, check boxes, radio buttons, radio groups and up-downs.
#include "script/gui/vcl_controls.h"

#include "platform/gui/std_controls.h"
#include "platform/gui/up_down.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

void BClick(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& button = NativeOfSelf<kgui::TButton>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { button.click(); });
  result = Value::Object(&self);
}


constexpr uint32_t kStandardEvents = kEvMouse | kEvKeys | kEvFocus | kEvContextPopup | kEvDrag;

constexpr MethodDef kButtonMethods[] = {{"click", BClick}};

void HookUpDown(TJVCLPersistent& w) {
  auto* up_down = static_cast<kgui::TUpDown*>(w.VCL());
  up_down->OnChanging = CloseQueryBridge(w, "onChanging");
  up_down->OnChangingEx = ChangingExBridge(w, "onChangingEx");
  up_down->OnButtonClick = UDClickBridge(w, "onClick");
}

}  // namespace

const VCLClassDef kVCLButton{.script_name = "VCLButton",
                             .native = &kgui::TButton::staticClassInfo,
                             .methods = kButtonMethods,
                             .props = {kVCLActionProps},
                             .events = kEvClick | kEvMouse | kEvKeyDown | kEvKeyPress | kEvFocus | kEvContextPopup |
                                       kEvDrag};

const VCLClassDef kVCLCheckBox{.script_name = "VCLCheckBox",
                               .native = &kgui::TCheckBox::staticClassInfo,
                               .props = {kVCLActionProps},
                               .events = kEvClick | kStandardEvents};

const VCLClassDef kVCLRadioButton{.script_name = "VCLRadioButton",
                                  .native = &kgui::TRadioButton::staticClassInfo,
                                  .props = {kVCLActionProps},
                                  .events = kEvClick | kStandardEvents};

const VCLClassDef kVCLRadioGroup{.script_name = "VCLRadioGroup",
                                 .native = &kgui::TRadioGroup::staticClassInfo,
                                 .events = kEvClick | kEvFocus | kEvContextPopup | kEvDrag};

const VCLClassDef kVCLUpDown{.script_name = "VCLUpDown",
                             .native = &kgui::TUpDown::staticClassInfo,
                             .events = kEvMouse | kEvFocus | kEvContextPopup,
                             .hook = HookUpDown};

}  // namespace kestrin::script
