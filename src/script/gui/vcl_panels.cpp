// The containers and display controls: panels, group boxes, labels, progress bars and
// splitters.
#include "script/gui/vcl_controls.h"

#include "platform/gui/list_controls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/std_controls.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

void PStepIt(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& bar = NativeOfSelf<kgui::TProgressBar>(w, params);
  VCLGuard(w, [&] { bar.stepIt(); });
  result = Value::Object(&self);
}

void PStepBy(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& bar = NativeOfSelf<kgui::TProgressBar>(w, params, 1);
  VCLGuard(w, [&] { bar.stepBy(ValueToInteger(params.GetValue(0))); });
  result = Value::Object(&self);
}


constexpr MethodDef kProgressBarMethods[] = {{"stepIt", PStepIt}, {"stepBy", PStepBy}};

void HookSplitter(TJVCLPersistent& w) {
  auto* splitter = static_cast<kgui::TSplitter*>(w.VCL());
  splitter->OnCanResize = CanResizeBridge(w, "onCanResize");
  splitter->OnMoved = NotifyBridge(w, "onMoved");
  splitter->OnPaint = NotifyBridge(w, "onPaint");
}

}  // namespace

const VCLClassDef kVCLPanel{.script_name = "VCLPanel",
                            .native = &kgui::TPanel::staticClassInfo,
                            .events = kEvClick | kEvDblClick | kEvResize | kEvMouse | kEvFocus | kEvContextPopup |
                                      kEvCanResize | kEvDrag};

const VCLClassDef kVCLGroupBox{.script_name = "VCLGroupBox",
                               .native = &kgui::TGroupBox::staticClassInfo,
                               .events = kEvClick | kEvDblClick | kEvMouse | kEvFocus | kEvContextPopup | kEvDrag};

const VCLClassDef kVCLLabel{.script_name = "VCLLabel",
                            .native = &kgui::TLabel::staticClassInfo,
                            .level = VCLLevel::Control,
                            .events = kEvClick | kEvDblClick | kEvMouse | kEvContextPopup | kEvDrag};

const VCLClassDef kVCLProgressBar{.script_name = "VCLProgressBar",
                                  .native = &kgui::TProgressBar::staticClassInfo,
                                  .methods = kProgressBarMethods,
                                  .events = kEvMouse | kEvFocus | kEvContextPopup | kEvDrag};

const VCLClassDef kVCLSplitter{.script_name = "VCLSplitter",
                               .native = &kgui::TSplitter::staticClassInfo,
                               .level = VCLLevel::Control,
                               .hook = HookSplitter};

}  // namespace kestrin::script
