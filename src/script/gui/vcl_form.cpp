// The form wrapper: showing (modal or not), closing and releasing forms, focus, dragging
// files and text out of a form, and the form's events. Its descriptions and printing are
// in vcl_form_text.cpp.
#include "script/gui/vcl_controls.h"

#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/drag_drop.h"
#include "platform/gui/form.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

// Forms whose showModal a script runs, innermost last: an error kept from a handler
// ends the innermost one.
std::vector<kgui::TForm*>& ModalForms() {
  static std::vector<kgui::TForm*> forms;
  return forms;
}

void EndModalOnError() {
  if (!ModalForms().empty()) ModalForms().back()->setModalResult(kgui::mrCancel);
}

void Terminate(BaseEngine* engine) {
  auto* e = dynamic_cast<TJEngine*>(engine);
  if (!e || !e->GlobalObject()) return;
  Value ignored;
  TJValueList none;
  e->GlobalObject()->CallEvent(StrRef(), "terminate", ignored, &none);
}

Value GetMain(TJObject& self) { return Value::Bool(Self<TJVCLBaseForm>(self).main); }
void SetMain(TJObject& self, const Value& v) { Self<TJVCLBaseForm>(self).main = ValueToBool(v); }
Value GetActive(TJObject& self) {
  auto* form = static_cast<kgui::TForm*>(Self<TJVCLBaseForm>(self).VCL());
  return Value::Bool(form && form->widget() && form->widget()->isActiveWindow());
}
constexpr PropDef kFormProps[] = {{"main", GetMain, SetMain}, {"Active", GetActive, nullptr}};

void FShowModal(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  int modal = 0;
  // The wrapper's native form may be freed by a handler while the loop runs.
  Ref<TJObject> hold(&self);
  ModalForms().push_back(&form);
  try {
    modal = form.showModal();
  } catch (...) {
    ModalForms().erase(std::find(ModalForms().begin(), ModalForms().end(), &form));
    throw;
  }
  ModalForms().erase(std::find(ModalForms().begin(), ModalForms().end(), &form));
  // An error of a handler ends the run with its own report.
  RaiseVCLPendingError();
  result = Value::Integer(modal);
}

void FShow(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  VCLGuard(w, [&] { form.showForm(); });
  result = Value::Object(&self);
}

// doDragDropFiles([folder,] files): files is a collection of names or one name; script
// paths become the system's before the drag.
void FDoDragDropFiles(TJObject& self, TJValueList& params, Value&) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  const int32_t n = params.GetCount();
  const std::string dir = n > 1 ? ScriptPathToOs(ValueToStdString(params.GetValue(0))) : std::string();
  const Value& list = params.GetValue(n > 1 ? 1 : 0);
  std::vector<std::string> files;
  auto add = [&files](const Value& v) { files.push_back(ScriptPathToOs(ValueToStdString(v))); };
  if (TJObject* obj = list.object(); obj && obj->IsCollection()) {
    for (int32_t i = 0; i < obj->GetCount(); ++i) {
      Value item;
      obj->GetItem(i, item);
      add(item);
    }
  } else {
    add(list);
  }
  kgui::TDragDropSource source(nullptr);
  VCLGuard(w, [&] { source.doDragFiles(dir, files); });
}

void FDoDragDropText(TJObject& self, TJValueList& params, Value&) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  // Unowned: the drag's own event loop may run a handler that frees the form.
  kgui::TDragDropSource source(nullptr);
  const std::string text = cp932_to_utf8(ValueToStdString(params.GetValue(0)));
  VCLGuard(w, [&] { source.doDragText(text); });
}

void FClose(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] {
    // A form never shown has no window to close: its close sequence runs directly.
    if (form.widget() && form.widget()->isVisible()) form.close();
    else form.closeRequested();
  });
  result = Value::Object(&self);
}

void FCloseQuery(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  bool can_close = true;
  VCLGuard(w, [&] {
    if (form.OnCloseQuery) form.OnCloseQuery(&form, can_close);
  });
  result = Value::Bool(can_close);
}

void FRelease(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  kgui::TForm* f = &form;
  // Freed after the events already queued, so a handler of the form may call it.
  form.hide();
  QTimer::singleShot(0, form.widget(), [f] { delete f; });
  result = Value::Object(&self);
}

// The multiple-document operations: a form here is never a frame of child windows.
void FNothing(TJObject& self, TJValueList& params, Value& result) {
  Self<TJVCLBaseForm>(self).CheckVCL(params);
  result = Value::Object(&self);
}

// sendCancelMode(control): the platform's cancel of a mouse capture; Qt keeps none after
// the button's release, so only the argument is checked.
void FSendCancelMode(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  if (!NativeOf<kgui::TControl>(params.GetValue(0))) w.RaiseArgumentsError();
  result = Value::Object(&self);
}

// Focuses the windowed control of the first argument; anything else is an arguments error.
void FocusArgument(TJObject& self, TJValueList& params) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  auto* c = NativeOf<kgui::TWinControl>(params.GetValue(0));
  if (!c) w.RaiseArgumentsError();
  VCLGuard(w, [&] { c->setFocus(); });
}

void FFocusControl(TJObject& self, TJValueList& params, Value& result) {
  FocusArgument(self, params);
  result = Value::Object(&self);
}

void FSetFocusedControl(TJObject& self, TJValueList& params, Value& result) {
  FocusArgument(self, params);
  result = Value::Bool(true);
}


constexpr MethodDef kFormMethods[] = {
    {"showModal", FShowModal}, {"show", FShow}, {"close", FClose}, {"closeQuery", FCloseQuery},
    {"release", FRelease}, {"focusControl", FFocusControl}, {"setFocusedControl", FSetFocusedControl},
    {"doDragDropFiles", FDoDragDropFiles}, {"doDragDropText", FDoDragDropText},
    {"loadFromFile", FLoadFromFile}, {"saveToFile", FSaveToFile}, {"loadFromText", FLoadFromText},
    {"saveToText", FSaveToText}, {"print", FPrint}, {"sendCancelMode", FSendCancelMode},
    {"arrangeIcons", FNothing}, {"cascade", FNothing}, {"next", FNothing}, {"previous", FNothing},
    {"tile", FNothing}};

void HookForm(TJVCLPersistent& self) {
  auto& w = static_cast<TJVCLBaseForm&>(self);
  auto* form = static_cast<kgui::TForm*>(w.VCL());
  form->OnHelp = HelpBridge(w, "onHelp");
  form->OnShow = NotifyBridge(w, "onShow");
  form->OnHide = NotifyBridge(w, "onHide");
  form->OnActivate = NotifyBridge(w, "onActivate");
  form->OnDeactivate = NotifyBridge(w, "onDeactivate");
  form->OnCreate = NotifyBridge(w, "onCreate");
  form->OnDestroy = NotifyBridge(w, "onDestroy");
  form->OnCloseQuery = CloseQueryBridge(w, "onCloseQuery");
  // Hooked whether or not the script has "onClose": the main form's closing ends the
  // script's event loop, once the handler has let the form close.
  form->OnClose = [bridge = CloseBridge(w, "onClose"), weak = WeakPtr<TJObject>(w.WeakHandle())](
                      kgui::TComponent* sender, int& action) {
    bridge(sender, action);
    auto* form_wrapper = static_cast<TJVCLBaseForm*>(weak.get());
    if (form_wrapper && form_wrapper->main && (action == kgui::caHide || action == kgui::caFree))
      Terminate(form_wrapper->Engine());
  };
}

}  // namespace

const VCLClassDef kVCLForm{.script_name = "VCLForm",
                           .native = &kgui::TForm::staticClassInfo,
                           .methods = kFormMethods,
                           .props = {kFormProps},
                           .events = kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvResize | kEvContextPopup |
                                     kEvCanResize | kEvWheel | kEvDragTarget,
                           .hook = HookForm};

void InstallVCLModalErrorListener() { SetVCLPendingErrorListener(EndModalOnError); }

}  // namespace kestrin::script
