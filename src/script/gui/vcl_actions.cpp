// Actions and timers, the components that run a script handler without a window, and the
// `action` property by which controls and menu items link an action.
#include "script/gui/vcl_controls.h"

#include "platform/gui/actions.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

// A control's or menu item's action: with an action its own OnClick goes (the click runs
// the action); null links none and hooks onClick again.
Value GetActionProp(TJObject& self) {
  auto& w = Self<TJVCLComponent>(self);
  w.CheckVCL(TJValueList());
  kgui::TBasicAction* action = nullptr;
  if (auto* c = dynamic_cast<kgui::TControl*>(w.VCL())) action = c->action();
  if (auto* m = dynamic_cast<kgui::TMenuItem*>(w.VCL())) action = m->linkedAction();
  return CastVCL(action, self.Engine());
}

void SetActionProp(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLComponent>(self);
  w.CheckVCL(TJValueList());
  kgui::TBasicAction* action = nullptr;
  if (!ValueIsNullOrUndefined(v)) {
    action = NativeOf<kgui::TBasicAction>(v);
    if (!action) w.RaiseVCLError("Invalid property value");
  }
  if (auto* c = dynamic_cast<kgui::TControl*>(w.VCL())) {
    if (action) c->OnClick = nullptr;
    c->setAction(action);
    if (!action) c->OnClick = NotifyBridge(w, "onClick");
  } else if (auto* m = dynamic_cast<kgui::TMenuItem*>(w.VCL())) {
    if (action) m->OnClick = nullptr;
    m->setLinkedAction(action);
    if (!action) m->OnClick = NotifyBridge(w, "onClick");
  }
}

template <bool (kgui::TBasicAction::*Op)()>
void ActionMethod(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& action = NativeOfSelf<kgui::TBasicAction>(w, params);
  Ref<TJObject> hold(&self);
  bool done = false;
  VCLGuard(w, [&] { done = (action.*Op)(); });
  result = Value::Bool(done);
}


constexpr MethodDef kActionMethods[] = {{"execute", ActionMethod<&kgui::TBasicAction::execute>},
                                       {"update", ActionMethod<&kgui::TBasicAction::update>}};

void HookAction(TJVCLPersistent& w) {
  auto* action = static_cast<kgui::TBasicAction*>(w.VCL());
  action->OnExecute = NotifyBridge(w, "onExecute");
  action->OnUpdate = NotifyBridge(w, "onUpdate");
  // A created action also answers "onHint" (an action made by the caster does not).
  if (auto* full = dynamic_cast<kgui::TAction*>(action); full && w.Owns()) full->OnHint = HintBridge(w, "onHint");
}

void HookTimer(TJVCLPersistent& w) { static_cast<kgui::TTimer*>(w.VCL())->setOnTimer(NotifyBridge(w, "onTimer")); }

}  // namespace

const PropDef kVCLActionProps[1] = {{"action", GetActionProp, SetActionProp}};

const VCLClassDef kVCLAction{.script_name = "VCLAction",
                             .native = &kgui::TBasicAction::staticClassInfo,
                             .level = VCLLevel::Component,
                             .methods = kActionMethods,
                             .hook = HookAction};

const VCLClassDef kVCLTimer{.script_name = "VCLTimer",
                            .native = &kgui::TTimer::staticClassInfo,
                            .level = VCLLevel::Component,
                            .hook = HookTimer};

}  // namespace kestrin::script
