// The dialog components: the open and save dialogs and the font dialog ask and wait; the
// find and replace dialogs are modeless and report through their events.
#include "script/gui/vcl_controls.h"

#include "base/cp932.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/find_dialog.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

// Shows the dialog and waits for the answer; an error kept from a handler meanwhile (the
// dialog's own events run during the call) ends the run with its own report.
template <class Dialog>
void DExecute(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& dialog = NativeOfSelf<Dialog>(w, params);
  Ref<TJObject> hold(&self);
  bool chosen = false;
  try {
    chosen = dialog.execute();
  } catch (const std::exception& e) {
    w.RaiseVCLError(utf8_to_cp932(e.what()));
  }
  RaiseVCLPendingError();
  result = Value::Bool(chosen);
}

// The font dialog has its Apply button only while the script has an "onApply" handler.
void FontExecute(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& dialog = NativeOfSelf<kgui::TFontDialog>(w, params);
  dialog.OnApply = w.HasEventHandler(StrRef("onApply")) ? ApplyBridge(w, "onApply") : nullptr;
  DExecute<kgui::TFontDialog>(self, params, result);
}

void FDExecute(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& dialog = NativeOfSelf<kgui::TFindDialog>(w, params);
  bool shown = false;
  VCLGuard(w, [&] { shown = dialog.execute(); });
  result = Value::Bool(shown);
}

void FDCloseDialog(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& dialog = NativeOfSelf<kgui::TFindDialog>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { dialog.closeDialog(); });
  result = Value::Object(&self);
}


constexpr MethodDef kFileDialogMethods[] = {{"execute", DExecute<kgui::TOpenDialog>}};
constexpr MethodDef kFontDialogMethods[] = {{"execute", FontExecute}};
constexpr MethodDef kFindDialogMethods[] = {{"execute", FDExecute}, {"closeDialog", FDCloseDialog}};

void HookFileDialog(TJVCLPersistent& w) {
  auto* dialog = static_cast<kgui::TOpenDialog*>(w.VCL());
  dialog->OnShow = NotifyBridge(w, "onShow");
  dialog->OnClose = NotifyBridge(w, "onClose");
  dialog->OnCanClose = CloseQueryBridge(w, "onCanClose");
  dialog->OnFolderChange = NotifyBridge(w, "onFolderChange");
  dialog->OnSelectionChange = NotifyBridge(w, "onSelectionChange");
  dialog->OnTypeChange = NotifyBridge(w, "onTypeChange");
}

void HookFontDialog(TJVCLPersistent& w) {
  auto* dialog = static_cast<kgui::TFontDialog*>(w.VCL());
  dialog->OnShow = NotifyBridge(w, "onShow");
  dialog->OnClose = NotifyBridge(w, "onClose");
}

void HookFindDialog(TJVCLPersistent& w) {
  auto* dialog = static_cast<kgui::TFindDialog*>(w.VCL());
  dialog->OnFind = NotifyBridge(w, "onFind");
  dialog->OnReplace = NotifyBridge(w, "onReplace");
  dialog->OnShow = NotifyBridge(w, "onShow");
  dialog->OnClose = NotifyBridge(w, "onClose");
}

}  // namespace

const VCLClassDef kVCLOpenDialog{.script_name = "VCLOpenDialog",
                                 .native = &kgui::TOpenDialog::staticClassInfo,
                                 .level = VCLLevel::Component,
                                 .methods = kFileDialogMethods,
                                 .hook = HookFileDialog};

const VCLClassDef kVCLSaveDialog{
    .script_name = "VCLSaveDialog", .native = &kgui::TSaveDialog::staticClassInfo, .base = &kVCLOpenDialog};

const VCLClassDef kVCLFontDialog{.script_name = "VCLFontDialog",
                                 .native = &kgui::TFontDialog::staticClassInfo,
                                 .level = VCLLevel::Component,
                                 .methods = kFontDialogMethods,
                                 .hook = HookFontDialog};

const VCLClassDef kVCLFindDialog{.script_name = "VCLFindDialog",
                                 .native = &kgui::TFindDialog::staticClassInfo,
                                 .level = VCLLevel::Component,
                                 .methods = kFindDialogMethods,
                                 .hook = HookFindDialog};

const VCLClassDef kVCLReplaceDialog{
    .script_name = "VCLReplaceDialog", .native = &kgui::TReplaceDialog::staticClassInfo, .base = &kVCLFindDialog};

}  // namespace kestrin::script
