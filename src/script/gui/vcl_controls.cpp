// The form, control, menu and timer wrappers: own properties, methods and event hooks.
#include "script/gui/vcl_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/gui/actions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/drag_drop.h"
#include "platform/gui/find_dialog.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "platform/gui/up_down.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"
#include "script/objects/object_support.h"
#include "script/objects/point_rect.h"

namespace kestrin::script {
namespace {

// ---- actions ----

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

constexpr PropDef kActionProps[] = {{"action", GetActionProp, SetActionProp}};

template <bool (kgui::TBasicAction::*Op)()>
void ActionMethod(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& action = NativeOfSelf<kgui::TBasicAction>(w, params);
  Ref<TJObject> hold(&self);
  bool done = false;
  VCLGuard(w, [&] { done = (action.*Op)(); });
  result = Value::Bool(done);
}

// ---- file dialogs ----

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

// ---- the form ----

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

void FFocusControl(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  auto* c = NativeOf<kgui::TWinControl>(params.GetValue(0));
  if (!c) w.RaiseArgumentsError();
  VCLGuard(w, [&] { c->setFocus(); });
  result = Value::Object(&self);
}

void FSetFocusedControl(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  auto* c = NativeOf<kgui::TWinControl>(params.GetValue(0));
  if (!c) w.RaiseArgumentsError();
  VCLGuard(w, [&] { c->setFocus(); });
  result = Value::Bool(true);
}

// ---- the edit family ----

// The line edit of an edit, or the one inside a spin edit.
QLineEdit* LineEditOf(TJVCLPersistent& w) {
  auto* c = dynamic_cast<kgui::TControl*>(w.VCL());
  if (!c || !c->widget()) return nullptr;
  if (auto* e = qobject_cast<QLineEdit*>(c->widget())) return e;
  return c->widget()->findChild<QLineEdit*>();
}
QPlainTextEdit* TextEditOf(TJVCLPersistent& w) {
  auto* c = dynamic_cast<kgui::TControl*>(w.VCL());
  return c ? qobject_cast<QPlainTextEdit*>(c->widget()) : nullptr;
}

// Selections count script characters: one per character of the text whatever its width
// (a character outside the 16-bit range is one, not two), and a memo's line break two, as
// the CR LF of its text.
int ScriptLength(const QString& text, int from, int to, bool crlf) {
  int n = 0;
  for (int i = from; i < to; ++i) {
    if (text[i].isHighSurrogate() && i + 1 < to && text[i + 1].isLowSurrogate()) ++i;
    n += crlf && text[i] == QLatin1Char('\n') ? 2 : 1;
  }
  return n;
}

// The widget position of script character `chars` (clamped to the text); a position
// between the CR and LF of a line break is the one after it.
int WidgetPosition(const QString& text, int chars, bool crlf) {
  int i = 0;
  while (i < text.size() && chars > 0) {
    chars -= crlf && text[i] == QLatin1Char('\n') ? 2 : 1;
    i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
  }
  return i;
}

struct Selection {
  int start = 0, length = 0;  // script characters
  QString text;               // line breaks as CR LF
};

Selection SelectionOf(TJVCLPersistent& w) {
  w.CheckVCL(TJValueList());
  Selection s;
  if (QLineEdit* e = LineEditOf(w)) {
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const QString text = e->text();
    s.text = e->selectedText();
    s.start = ScriptLength(text, 0, start, false);
    s.length = ScriptLength(text, start, start + static_cast<int>(s.text.size()), false);
  } else if (QPlainTextEdit* m = TextEditOf(w)) {
    const QTextCursor c = m->textCursor();
    const QString text = m->toPlainText();
    s.start = ScriptLength(text, 0, c.selectionStart(), true);
    s.length = ScriptLength(text, c.selectionStart(), c.selectionEnd(), true);
    s.text = c.selectedText().replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  }
  return s;
}

void Select(TJVCLPersistent& w, int start, int length) {
  start = std::max(0, start);
  length = std::max(0, length);
  if (QLineEdit* e = LineEditOf(w)) {
    const QString text = e->text();
    const int from = WidgetPosition(text, start, false);
    const int to = WidgetPosition(text, start + length, false);
    e->setSelection(from, to - from);
  } else if (QPlainTextEdit* m = TextEditOf(w)) {
    const QString text = m->toPlainText();
    QTextCursor c = m->textCursor();
    c.setPosition(WidgetPosition(text, start, true));
    c.setPosition(WidgetPosition(text, start + length, true), QTextCursor::KeepAnchor);
    m->setTextCursor(c);
  }
}

Value GetCanUndo(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  if (QLineEdit* e = LineEditOf(w)) return Value::Bool(e->isUndoAvailable());
  if (QPlainTextEdit* m = TextEditOf(w)) return Value::Bool(m->document()->isUndoAvailable());
  return Value::Bool(false);
}
Value GetModified(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  if (QLineEdit* e = LineEditOf(w)) return Value::Bool(e->isModified());
  if (QPlainTextEdit* m = TextEditOf(w)) return Value::Bool(m->document()->isModified());
  return Value::Bool(false);
}
void SetModified(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  if (QLineEdit* e = LineEditOf(w)) e->setModified(ValueToBool(v));
  if (QPlainTextEdit* m = TextEditOf(w)) m->document()->setModified(ValueToBool(v));
}
Value GetSelStart(TJObject& self) { return Value::Integer(SelectionOf(Self<TJVCLPersistent>(self)).start); }
void SetSelStart(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  Select(w, ValueToInteger(v), 0);
}
Value GetSelLength(TJObject& self) { return Value::Integer(SelectionOf(Self<TJVCLPersistent>(self)).length); }
void SetSelLength(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  Select(w, SelectionOf(w).start, ValueToInteger(v));
}
Value GetSelText(TJObject& self) {
  return Value::String(StrRef(utf8_to_cp932(SelectionOf(Self<TJVCLPersistent>(self)).text.toStdString())));
}
void SetSelText(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  const QString text = QString::fromStdString(cp932_to_utf8(ValueToStdString(v)));
  if (QLineEdit* e = LineEditOf(w)) e->insert(text);
  if (QPlainTextEdit* m = TextEditOf(w)) m->insertPlainText(text);
}
constexpr PropDef kEditProps[] = {{"CanUndo", GetCanUndo, nullptr},
                                  {"Modified", GetModified, SetModified},
                                  {"SelLength", GetSelLength, SetSelLength},
                                  {"SelStart", GetSelStart, SetSelStart},
                                  {"SelText", GetSelText, SetSelText}};

using EditOp = void (*)(QLineEdit* line, QPlainTextEdit* text);

template <EditOp Op>
void EditMethod(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] { Op(LineEditOf(w), TextEditOf(w)); });
  result = Value::Object(&self);
}

void OpClear(QLineEdit* e, QPlainTextEdit* m) { e ? e->clear() : m->clear(); }
void OpCopy(QLineEdit* e, QPlainTextEdit* m) { e ? e->copy() : m->copy(); }
void OpCut(QLineEdit* e, QPlainTextEdit* m) { e ? e->cut() : m->cut(); }
void OpPaste(QLineEdit* e, QPlainTextEdit* m) { e ? e->paste() : m->paste(); }
void OpUndo(QLineEdit* e, QPlainTextEdit* m) { e ? e->undo() : m->undo(); }
void OpSelectAll(QLineEdit* e, QPlainTextEdit* m) { e ? e->selectAll() : m->selectAll(); }

void DeleteSelectionLine(QLineEdit& e) { e.del(); }
void EClearSelection(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] {
    if (QLineEdit* e = LineEditOf(w); e && e->hasSelectedText()) DeleteSelectionLine(*e);
    if (QPlainTextEdit* m = TextEditOf(w)) m->textCursor().removeSelectedText();
  });
  result = Value::Object(&self);
}

void EClearUndo(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] {
    if (QLineEdit* e = LineEditOf(w)) {
      // A line edit forgets its history when its text is set.
      const QString text = e->text();
      const int at = e->cursorPosition();
      QSignalBlocker quiet(e);
      e->setText(text);
      e->setCursorPosition(at);
    }
    if (QPlainTextEdit* m = TextEditOf(w)) m->document()->clearUndoRedoStacks();
  });
  result = Value::Object(&self);
}

// The memo's text: its lines joined by CR LF.
Value GetMemoText(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return Value::String(StrRef(utf8_to_cp932(static_cast<kgui::TMemo*>(w.VCL())->text())));
}
void SetMemoText(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  VCLGuard(w, [&] { static_cast<kgui::TMemo*>(w.VCL())->setText(cp932_to_utf8(ValueToStdString(v))); });
}
Value GetMemoLines(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return w.WrapNative(static_cast<kgui::TMemo*>(w.VCL())->lines());
}
Value GetCaretPos(TJObject& self) {
  auto& w = Self<TJVCLBaseMemo>(self);
  w.CheckVCL(TJValueList());
  auto* point = static_cast<TJPoint*>(w.caret.get());
  if (QPlainTextEdit* m = TextEditOf(w)) {
    const QTextCursor c = m->textCursor();
    point->x = c.positionInBlock();
    point->y = c.blockNumber();
  }
  return Value::Object(point);
}
constexpr PropDef kMemoProps[] = {
    {"lines", GetMemoLines, nullptr}, {"caretPos", GetCaretPos, nullptr}, {"text", GetMemoText, SetMemoText}};

// ---- progress bars ----

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

// ---- buttons ----

void BClick(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseButton>(self);
  auto& button = NativeOfSelf<kgui::TButton>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { button.click(); });
  result = Value::Object(&self);
}

// ---- list boxes ----

kgui::TListBox& ListOf(TJVCLPersistent& w, const TJValueList& params, int32_t min_count = 0) {
  return NativeOfSelf<kgui::TListBox>(w, params, min_count);
}

bool ValidIndex(kgui::TListBox& list, int32_t index) { return index >= 0 && index < list.items()->count(); }

void LClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] { list.items()->clear(); });
  result = Value::Object(&self);
}

void LClearSelection(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] {
    for (int i = 0; i < list.items()->count(); ++i) list.setSelected(i, false);
  });
  result = Value::Object(&self);
}

void LSelectAll(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] {
    if (!list.multiSelect()) return;
    for (int i = 0; i < list.items()->count(); ++i) list.setSelected(i, true);
  });
  result = Value::Object(&self);
}

void LDeleteSelected(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params);
  VCLGuard(w, [&] {
    for (int i = list.items()->count() - 1; i >= 0; --i)
      if (list.selected(i)) list.items()->remove(i);
  });
  result = Value::Object(&self);
}

// selected(index[, value]) and its kin: the item's flag, or with a value, set it and
// return the value; false for an index outside the items.
template <class N, bool (N::*Get)(int) const, void (N::*Set)(int, bool)>
void ItemFlagMethod(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = NativeOfSelf<N>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (!ValidIndex(list, index)) {
    result = Value::Bool(false);
    return;
  }
  if (params.GetCount() < 2) {
    result = Value::Bool((list.*Get)(index));
    return;
  }
  VCLGuard(w, [&] { (list.*Set)(index, ValueToBool(params.GetValue(1))); });
  result = params.GetValue(1);
}

// state(index[, value]): the check state's identifier; with a value naming a state (by
// identifier or ordinal), set it and return the value; "" for an index outside the items.
void CLState(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = NativeOfSelf<kgui::TCheckListBox>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (!ValidIndex(list, index)) {
    result = Value::String(StrRef(""));
    return;
  }
  if (params.GetCount() < 2) {
    result = Value::String(StrRef(kgui::enumToText(kgui::checkBoxStateType(), list.state(index))));
    return;
  }
  const Value& v = params.GetValue(1);
  std::optional<int64_t> state;
  if (v.type() == vtInteger) state = ValueToInteger(v);
  else state = kgui::textToEnum(kgui::checkBoxStateType(), ValueToStdString(v));
  if (state && *state >= kgui::cbUnchecked && *state <= kgui::cbGrayed)
    VCLGuard(w, [&] { list.setState(index, static_cast<int>(*state)); });
  result = v;
}

void LItemAtPos(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params, 2);
  TJObject* point = params.GetValue(0).object();
  if (!point) w.RaiseArgumentsError();
  const int x = ValueToInteger(point->GetValue("x")), y = ValueToInteger(point->GetValue("y"));
  const bool existing = ValueToBool(params.GetValue(1));
  auto* lw = static_cast<QListWidget*>(list.widget());
  QListWidgetItem* item = lw->itemAt(x, y);
  int32_t index = item ? lw->row(item) : -1;
  // Below the last item: the count, unless only existing items are asked for.
  if (index < 0 && !existing) index = list.items()->count();
  result = Value::Integer(index);
}

void LItemRect(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  result = Value::Null();
  if (!ValidIndex(list, index)) return;
  auto* lw = static_cast<QListWidget*>(list.widget());
  const QRect r = lw->visualItemRect(lw->item(index));
  result = NewRectValue(self.Engine(), {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

Value GetSelCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, TJValueList());
  return Value::Integer(list.multiSelect() ? list.selCount() : -1);
}
Value GetTopIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Integer(ListOf(w, TJValueList()).topIndex());
}
void SetTopIndex(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& list = ListOf(w, TJValueList());
  const int32_t index = ValueToInteger(v);
  if (!ValidIndex(list, index)) return;
  auto* lw = static_cast<QListWidget*>(list.widget());
  lw->scrollToItem(lw->item(index), QAbstractItemView::PositionAtTop);
}
constexpr PropDef kListBoxProps[] = {{"SelCount", GetSelCount, nullptr}, {"TopIndex", GetTopIndex, SetTopIndex}};

// ---- combo boxes ----

void CClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, params);
  VCLGuard(w, [&] { combo.items()->clear(); });
  result = Value::Object(&self);
}

void CSelectAll(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, params);
  if (QLineEdit* e = qobject_cast<QComboBox*>(combo.widget())->lineEdit()) e->selectAll();
  result = Value::Object(&self);
}

Value GetDroppedDown(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  return Value::Bool(NativeOfSelf<kgui::TComboBox>(w, TJValueList()).droppedDown());
}
void SetDroppedDown(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& combo = NativeOfSelf<kgui::TComboBox>(w, TJValueList());
  VCLGuard(w, [&] { combo.setDroppedDown(ValueToBool(v)); });
}
constexpr PropDef kComboBoxProps[] = {{"DroppedDown", GetDroppedDown, SetDroppedDown},
                                      {"SelLength", GetSelLength, SetSelLength},
                                      {"SelStart", GetSelStart, SetSelStart},
                                      {"SelText", GetSelText, SetSelText}};

// ---- menus ----

kgui::TMenuItem* MenuItemArg(const Value& v) { return NativeOf<kgui::TMenuItem>(v); }

void MIAdd(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  VCLGuard(w, [&] {
    for (int32_t i = 0; i < params.GetCount(); ++i)
      if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(i)); sub && sub != &item) item.add(sub);
  });
  result = Value::Object(&self);
}

void MIRemove(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0)))
    VCLGuard(w, [&] { item.remove(sub); });
  result = Value::Object(&self);
}

void MIDelete(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (index >= 0 && index < item.count()) {
    kgui::TMenuItem* sub = item.items(index);
    VCLGuard(w, [&] {
      item.remove(sub);
      // An item no wrapper owns belongs to the menu: deleting frees it.
      auto* sub_wrapper = static_cast<TJVCLPersistent*>(sub->wrapperLink());
      if (!sub_wrapper || !sub_wrapper->Owns()) delete sub;
    });
  }
  result = Value::Object(&self);
}

void MIClear(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  VCLGuard(w, [&] {
    while (item.count() > 0) {
      kgui::TMenuItem* sub = item.items(item.count() - 1);
      item.remove(sub);
      auto* sub_wrapper = static_cast<TJVCLPersistent*>(sub->wrapperLink());
      if (!sub_wrapper || !sub_wrapper->Owns()) delete sub;
    }
  });
  result = Value::Object(&self);
}

void MIClick(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { item.click(); });
  result = Value::Object(&self);
}

// Captions compare without case and without the "&" accelerator marks.
std::string PlainCaption(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

void MIFind(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  const std::string caption = PlainCaption(cp932_to_utf8(ValueToStdString(params.GetValue(0))));
  result = Value::Null();
  for (int i = 0; i < item.count(); ++i)
    if (kgui::sameText(PlainCaption(item.items(i)->caption()), caption)) {
      result = CastVCL(item.items(i), self.Engine());
      return;
    }
}

void MIIndexOf(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  int32_t index = -1;
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0)))
    for (int i = 0; i < item.count(); ++i)
      if (item.items(i) == sub) index = i;
  result = Value::Integer(index);
}

void MIIsLine(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  result = Value::Bool(item.caption() == "-");
}

void MIItems(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(params, 1);
  self.GetItem(ValueToInteger(params.GetValue(0)), result);
}

void MIInsert(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 2);
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(1)); sub && sub != &item)
    VCLGuard(w, [&] {
      if (index < 0 || index > item.count())
        throw kgui::EPropertyError("List index out of bounds (" + std::to_string(index) + ")");
      item.insert(index, sub);
    });
  result = Value::Object(&self);
}

void MIGetParentMenu(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  result = CastVCL(item.parentMenu(), self.Engine());
}

// The separator operations: an integer result; an argument that is no menu item gives -1.
template <int (kgui::TMenuItem::*op)()>
void MILine(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  int answer = 0;
  VCLGuard(w, [&] { answer = (item.*op)(); });
  result = Value::Integer(answer);
}
template <int (kgui::TMenuItem::*op)(kgui::TMenuItem*)>
void MILineAt(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params, 1);
  int answer = -1;
  if (kgui::TMenuItem* sub = MenuItemArg(params.GetValue(0))) VCLGuard(w, [&] { answer = (item.*op)(sub); });
  result = Value::Integer(answer);
}
template <bool (kgui::TMenuItem::*op)()>
void MIRethink(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  bool changed = false;
  VCLGuard(w, [&] { changed = (item.*op)(); });
  result = Value::Bool(changed);
}

void MIInitiateAction(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& item = NativeOfSelf<kgui::TMenuItem>(w, params);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { item.initiateAction(); });
  result = Value::Object(&self);
}

// ---- main and popup menus ----

void MnDispatch(TJObject& self, TJValueList& params, Value& result, bool by_command) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 1);
  const auto value = static_cast<uint32_t>(ValueToInteger(params.GetValue(0)));
  Ref<TJObject> hold(&self);
  bool found = false;
  VCLGuard(w, [&] { found = by_command ? menu.dispatchCommand(value) : menu.dispatchPopup(value); });
  result = Value::Bool(found);
}
void MnDispatchCommand(TJObject& self, TJValueList& params, Value& result) { MnDispatch(self, params, result, true); }
void MnDispatchPopup(TJObject& self, TJValueList& params, Value& result) { MnDispatch(self, params, result, false); }

// findItem(value, kind): kind by identifier or ordinal; null when it names no kind.
void MnFindItem(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 2);
  result = Value::Null();
  const auto kind = EnumArg(kgui::findItemKindType(), params.GetValue(1));
  if (!kind) return;
  const int64_t value = ValueToInteger(params.GetValue(0));
  result = CastVCL(menu.findItem(value, static_cast<kgui::TFindItemKind>(*kind)), self.Engine());
}

void MnGetHelpContext(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMenu>(w, params, 2);
  result = Value::Integer(menu.getHelpContext(ValueToInteger(params.GetValue(0)), ValueToBool(params.GetValue(1))));
}

// merge(menu) and unmerge(menu): anything but a main menu with its native menu does nothing.
template <void (kgui::TMainMenu::*op)(kgui::TMainMenu*)>
void MnMerge(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TMainMenu>(w, params, 1);
  if (auto* other = NativeOf<kgui::TMainMenu>(params.GetValue(0))) VCLGuard(w, [&] { (menu.*op)(other); });
  result = Value::Object(&self);
}

// The root item of a main or popup menu: the same wrapper on every read.
Value GetMenuItems(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  kgui::TMenuItem* root = nullptr;
  if (auto* menu = dynamic_cast<kgui::TMenu*>(w.VCL())) root = menu->items();
  return CastVCL(root, self.Engine());
}
Value GetMenuHandle(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return HandleValue(static_cast<kgui::TMenu*>(w.VCL())->handle());
}
Value GetMenuWindowHandle(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return HandleValue(static_cast<kgui::TMenu*>(w.VCL())->windowHandle());
}
void SetMenuWindowHandle(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  static_cast<kgui::TMenu*>(w.VCL())->setWindowHandle(static_cast<uint32_t>(ValueToInteger(v)));
}
constexpr PropDef kMenuProps[] = {{"items", GetMenuItems, nullptr}, {"Handle", GetMenuHandle, nullptr},
                                  {"WindowHandle", GetMenuWindowHandle, SetMenuWindowHandle}};

Value GetPopupComponent(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return CastVCL(static_cast<kgui::TPopupMenu*>(w.VCL())->popupComponent(), self.Engine());
}
// Writing null, or while nothing is attached, does nothing.
void SetPopupComponent(TJObject& self, const Value& v) {
  auto& w = Self<TJVCLPersistent>(self);
  auto* c = NativeOf<kgui::TComponent>(v);
  if (w.HasVCL() && c) static_cast<kgui::TPopupMenu*>(w.VCL())->setPopupComponent(c);
}
constexpr PropDef kPopupMenuProps[] = {{"PopupComponent", GetPopupComponent, SetPopupComponent}};

void PMPopup(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLPersistent>(self);
  auto& menu = NativeOfSelf<kgui::TPopupMenu>(w, params, 2);
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { menu.popup(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))); });
  result = Value::Object(&self);
}

Value GetItemCount(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return Value::Integer(static_cast<kgui::TMenuItem*>(w.VCL())->count());
}
Value GetItemParent(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return CastVCL(static_cast<kgui::TMenuItem*>(w.VCL())->parentItem(), self.Engine());
}
Value GetMenuIndex(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  auto* item = static_cast<kgui::TMenuItem*>(w.VCL());
  kgui::TMenuItem* parent = item->parentItem();
  if (parent)
    for (int i = 0; i < parent->count(); ++i)
      if (parent->items(i) == item) return Value::Integer(i);
  return Value::Integer(-1);
}
Value GetItemCommand(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return HandleValue(static_cast<kgui::TMenuItem*>(w.VCL())->command());
}
Value GetItemHandle(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  return HandleValue(static_cast<kgui::TMenuItem*>(w.VCL())->handle());
}
constexpr PropDef kMenuItemProps[] = {{"Command", GetItemCommand, nullptr}, {"Handle", GetItemHandle, nullptr},
                                      {"Count", GetItemCount, nullptr}, {"Parent", GetItemParent, nullptr},
                                      {"MenuIndex", GetMenuIndex, nullptr}};

}  // namespace

// ---- TJVCLBaseForm ----

TJVCLBaseForm::TJVCLBaseForm(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLForm");
  AddOwnProps(kFormProps);
}

const ClassInfo& TJVCLBaseForm::Class() const {
  static const ClassInfo info(
      &TJVCLWinControl::Class(),
      {{"showModal", FShowModal}, {"show", FShow}, {"close", FClose}, {"closeQuery", FCloseQuery},
       {"release", FRelease}, {"focusControl", FFocusControl}, {"setFocusedControl", FSetFocusedControl},
       {"doDragDropFiles", FDoDragDropFiles}, {"doDragDropText", FDoDragDropText},
       {"loadFromFile", FLoadFromFile}, {"saveToFile", FSaveToFile}, {"loadFromText", FLoadFromText},
       {"saveToText", FSaveToText}, {"print", FPrint}, {"sendCancelMode", FSendCancelMode},
       {"arrangeIcons", FNothing}, {"cascade", FNothing}, {"next", FNothing}, {"previous", FNothing},
       {"tile", FNothing}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseForm::VCLClass() const { return kgui::TForm::staticClassInfo(); }

void TJVCLBaseForm::AfterAttach() {
  auto* form = static_cast<kgui::TForm*>(vcl_);
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvResize | kEvContextPopup |
                               kEvCanResize | kEvWheel | kEvDragTarget);
  form->OnHelp = HelpBridge(*this, "onHelp");
  form->OnShow = NotifyBridge(*this, "onShow");
  form->OnHide = NotifyBridge(*this, "onHide");
  form->OnActivate = NotifyBridge(*this, "onActivate");
  form->OnDeactivate = NotifyBridge(*this, "onDeactivate");
  form->OnCreate = NotifyBridge(*this, "onCreate");
  form->OnDestroy = NotifyBridge(*this, "onDestroy");
  form->OnCloseQuery = CloseQueryBridge(*this, "onCloseQuery");
  // Hooked whether or not the script has "onClose": the main form's closing ends the
  // script's event loop, once the handler has let the form close.
  form->OnClose = [bridge = CloseBridge(*this, "onClose"), weak = WeakPtr<TJObject>(WeakHandle())](
                      kgui::TComponent* sender, int& action) {
    bridge(sender, action);
    auto* w = static_cast<TJVCLBaseForm*>(weak.get());
    if (w && w->main && (action == kgui::caHide || action == kgui::caFree)) Terminate(w->Engine());
  };
}

// ---- the edit family ----

TJVCLBaseEdit::TJVCLBaseEdit(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLEdit");
  AddOwnProps(kEditProps);
}

const ClassInfo& TJVCLBaseEdit::Class() const {
  static const ClassInfo info(
      &TJVCLWinControl::Class(),
      {{"clear", EditMethod<OpClear>}, {"clearSelection", EClearSelection},
       {"copyToClipboard", EditMethod<OpCopy>}, {"cutToClipboard", EditMethod<OpCut>},
       {"pasteFromClipboard", EditMethod<OpPaste>}, {"undo", EditMethod<OpUndo>},
       {"clearUndo", EClearUndo}, {"selectAll", EditMethod<OpSelectAll>}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseEdit::VCLClass() const { return kgui::TEdit::staticClassInfo(); }

void TJVCLBaseEdit::AfterAttach() {
  // A spin edit has no context menu event.
  const bool spin = dynamic_cast<kgui::TSpinEdit*>(vcl_) != nullptr;
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus | kEvDrag | (spin ? 0u : uint32_t{kEvContextPopup}));
  if (auto* edit = dynamic_cast<kgui::TEdit*>(vcl_)) edit->OnChange = NotifyBridge(*this, "onChange");
  if (auto* memo = dynamic_cast<kgui::TMemo*>(vcl_)) memo->OnChange = NotifyBridge(*this, "onChange");
  if (auto* spin = dynamic_cast<kgui::TSpinEdit*>(vcl_)) spin->OnChange = NotifyBridge(*this, "onChange");
}

TJVCLBaseSpinEdit::TJVCLBaseSpinEdit(BaseEngine* engine) : TJVCLBaseEdit(engine) { SetObjectName("VCLSpinEdit"); }

const kgui::ClassInfo& TJVCLBaseSpinEdit::VCLClass() const { return kgui::TSpinEdit::staticClassInfo(); }

TJVCLBaseProgressBar::TJVCLBaseProgressBar(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLProgressBar");
}

const ClassInfo& TJVCLBaseProgressBar::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(), {{"stepIt", PStepIt}, {"stepBy", PStepBy}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseProgressBar::VCLClass() const { return kgui::TProgressBar::staticClassInfo(); }

void TJVCLBaseProgressBar::AfterAttach() { HookControlEvents(*this, kEvMouse | kEvFocus | kEvContextPopup | kEvDrag); }

TJVCLBaseMemo::TJVCLBaseMemo(BaseEngine* engine) : TJVCLBaseEdit(engine) {
  SetObjectName("VCLMemo");
  AddOwnProps(kMemoProps);
  Value point = NewHostObject<TJPoint>(engine);
  caret = point.object();
}

const kgui::ClassInfo& TJVCLBaseMemo::VCLClass() const { return kgui::TMemo::staticClassInfo(); }

// ---- buttons, boxes, panels, labels ----

TJVCLBaseButton::TJVCLBaseButton(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLButton");
  AddOwnProps(kActionProps);
}

const ClassInfo& TJVCLBaseButton::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(), {{"click", BClick}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseButton::VCLClass() const { return kgui::TButton::staticClassInfo(); }

void TJVCLBaseButton::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvMouse | kEvKeyDown | kEvKeyPress | kEvFocus | kEvContextPopup | kEvDrag);
}

TJVCLSimpleControl::TJVCLSimpleControl(BaseEngine* engine, const char* script_name,
                                       const kgui::ClassInfo& (*native)(), uint32_t events, bool with_action)
    : TJVCLWinControl(engine), native_(native), events_(events) {
  SetObjectName(script_name);
  if (with_action) AddOwnProps(kActionProps);
}

void TJVCLSimpleControl::AfterAttach() { HookControlEvents(*this, events_); }

TJVCLBaseLabel::TJVCLBaseLabel(BaseEngine* engine) : TJVCLControl(engine) { SetObjectName("VCLLabel"); }

const kgui::ClassInfo& TJVCLBaseLabel::VCLClass() const { return kgui::TLabel::staticClassInfo(); }

void TJVCLBaseLabel::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvContextPopup | kEvDrag);
}

TJVCLBaseSplitter::TJVCLBaseSplitter(BaseEngine* engine) : TJVCLControl(engine) { SetObjectName("VCLSplitter"); }

const kgui::ClassInfo& TJVCLBaseSplitter::VCLClass() const { return kgui::TSplitter::staticClassInfo(); }

void TJVCLBaseSplitter::AfterAttach() {
  auto* splitter = static_cast<kgui::TSplitter*>(vcl_);
  splitter->OnCanResize = CanResizeBridge(*this, "onCanResize");
  splitter->OnMoved = NotifyBridge(*this, "onMoved");
  splitter->OnPaint = NotifyBridge(*this, "onPaint");
}

TJVCLBaseUpDown::TJVCLBaseUpDown(BaseEngine* engine) : TJVCLToolWindow(engine) { SetObjectName("VCLUpDown"); }

const kgui::ClassInfo& TJVCLBaseUpDown::VCLClass() const { return kgui::TUpDown::staticClassInfo(); }

void TJVCLBaseUpDown::AfterAttach() {
  HookControlEvents(*this, kEvMouse | kEvFocus | kEvContextPopup);
  auto* up_down = static_cast<kgui::TUpDown*>(vcl_);
  up_down->OnChanging = CloseQueryBridge(*this, "onChanging");
  up_down->OnChangingEx = ChangingExBridge(*this, "onChangingEx");
  up_down->OnButtonClick = UDClickBridge(*this, "onClick");
}

// ---- lists ----

TJVCLBaseListBox::TJVCLBaseListBox(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLListBox");
  AddOwnProps(kListBoxProps);
}

const ClassInfo& TJVCLBaseListBox::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(),
                              {{"clear", LClear}, {"clearSelection", LClearSelection},
                               {"deleteSelected", LDeleteSelected}, {"selectAll", LSelectAll},
                               {"itemAtPos", LItemAtPos}, {"itemRect", LItemRect},
                               {"selected", ItemFlagMethod<kgui::TListBox, &kgui::TListBox::selected,
                                                           &kgui::TListBox::setSelected>}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseListBox::VCLClass() const { return kgui::TListBox::staticClassInfo(); }

void TJVCLBaseListBox::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus | kEvContextPopup | kEvDrag);
}

TJVCLBaseCheckListBox::TJVCLBaseCheckListBox(BaseEngine* engine) : TJVCLBaseListBox(engine) {
  SetObjectName("VCLCheckListBox");
}

const ClassInfo& TJVCLBaseCheckListBox::Class() const {
  using N = kgui::TCheckListBox;
  static const ClassInfo info(&TJVCLBaseListBox::Class(),
                              {{"checked", ItemFlagMethod<N, &N::checked, &N::setChecked>},
                               {"itemEnabled", ItemFlagMethod<N, &N::itemEnabled, &N::setItemEnabled>},
                               {"state", CLState}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseCheckListBox::VCLClass() const { return kgui::TCheckListBox::staticClassInfo(); }

void TJVCLBaseCheckListBox::AfterAttach() {
  TJVCLBaseListBox::AfterAttach();
  static_cast<kgui::TCheckListBox*>(vcl_)->OnClickCheck = NotifyBridge(*this, "onClickCheck");
}

TJVCLBaseComboBox::TJVCLBaseComboBox(BaseEngine* engine) : TJVCLWinControl(engine) {
  SetObjectName("VCLComboBox");
  AddOwnProps(kComboBoxProps);
}

const ClassInfo& TJVCLBaseComboBox::Class() const {
  static const ClassInfo info(&TJVCLWinControl::Class(), {{"clear", CClear}, {"selectAll", CSelectAll}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseComboBox::VCLClass() const { return kgui::TComboBox::staticClassInfo(); }

void TJVCLBaseComboBox::AfterAttach() {
  HookControlEvents(*this, kEvClick | kEvKeys | kEvFocus | kEvContextPopup | kEvDrag);
  auto* combo = static_cast<kgui::TComboBox*>(vcl_);
  combo->OnChange = NotifyBridge(*this, "onChange");
  combo->OnDropDown = NotifyBridge(*this, "onDropDown");
}

// ---- timers and menus ----

TJVCLBaseTimer::TJVCLBaseTimer(BaseEngine* engine) : TJVCLComponent(engine) { SetObjectName("VCLTimer"); }

const kgui::ClassInfo& TJVCLBaseTimer::VCLClass() const { return kgui::TTimer::staticClassInfo(); }

void TJVCLBaseTimer::AfterAttach() { static_cast<kgui::TTimer*>(vcl_)->setOnTimer(NotifyBridge(*this, "onTimer")); }

TJVCLBaseMenu::TJVCLBaseMenu(BaseEngine* engine) : TJVCLComponent(engine) {
  SetObjectName("VCLMenu");
  AddOwnProps(kMenuProps);
}

const ClassInfo& TJVCLBaseMenu::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(),
                              {{"dispatchCommand", MnDispatchCommand}, {"dispatchPopup", MnDispatchPopup},
                               {"findItem", MnFindItem}, {"getHelpContext", MnGetHelpContext}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseMenu::VCLClass() const { return kgui::TMenu::staticClassInfo(); }

void TJVCLBaseMenu::AfterAttach() { static_cast<kgui::TMenu*>(vcl_)->OnChange = MenuChangeBridge(*this, "onChange"); }

TJVCLBaseMainMenu::TJVCLBaseMainMenu(BaseEngine* engine) : TJVCLBaseMenu(engine) { SetObjectName("VCLMainMenu"); }

const ClassInfo& TJVCLBaseMainMenu::Class() const {
  static const ClassInfo info(&TJVCLBaseMenu::Class(), {{"merge", MnMerge<&kgui::TMainMenu::merge>},
                                                        {"unmerge", MnMerge<&kgui::TMainMenu::unmerge>}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseMainMenu::VCLClass() const { return kgui::TMainMenu::staticClassInfo(); }

TJVCLBasePopupMenu::TJVCLBasePopupMenu(BaseEngine* engine) : TJVCLBaseMenu(engine) {
  SetObjectName("VCLPopupMenu");
  AddOwnProps(kPopupMenuProps);
}

const ClassInfo& TJVCLBasePopupMenu::Class() const {
  static const ClassInfo info(&TJVCLBaseMenu::Class(), {{"popup", PMPopup}});
  return info;
}

const kgui::ClassInfo& TJVCLBasePopupMenu::VCLClass() const { return kgui::TPopupMenu::staticClassInfo(); }

void TJVCLBasePopupMenu::AfterAttach() {
  TJVCLBaseMenu::AfterAttach();
  static_cast<kgui::TPopupMenu*>(vcl_)->OnPopup = NotifyBridge(*this, "onPopup");
}

TJVCLBaseMenuItem::TJVCLBaseMenuItem(BaseEngine* engine) : TJVCLComponent(engine) {
  SetObjectName("VCLMenuItem");
  AddOwnProps(kMenuItemProps);
  AddOwnProps(kActionProps);
}

const ClassInfo& TJVCLBaseMenuItem::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(),
                              {{"add", MIAdd}, {"insert", MIInsert}, {"delete", MIDelete}, {"remove", MIRemove},
                               {"clear", MIClear}, {"click", MIClick}, {"find", MIFind}, {"indexOf", MIIndexOf},
                               {"isLine", MIIsLine}, {"items", MIItems}, {"getParentMenu", MIGetParentMenu},
                               {"newTopLine", MILine<&kgui::TMenuItem::newTopLine>},
                               {"newBottomLine", MILine<&kgui::TMenuItem::newBottomLine>},
                               {"insertNewLineBefore", MILineAt<&kgui::TMenuItem::insertNewLineBefore>},
                               {"insertNewLineAfter", MILineAt<&kgui::TMenuItem::insertNewLineAfter>},
                               {"rethinkHotkeys", MIRethink<&kgui::TMenuItem::rethinkHotkeys>},
                               {"rethinkLines", MIRethink<&kgui::TMenuItem::rethinkLines>},
                               {"initiateAction", MIInitiateAction}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseMenuItem::VCLClass() const { return kgui::TMenuItem::staticClassInfo(); }

// "onClick" is hooked only while no action is linked: the action keeps its own handling.
void TJVCLBaseMenuItem::AfterAttach() {
  auto* item = static_cast<kgui::TMenuItem*>(vcl_);
  if (!item->linkedAction()) item->OnClick = NotifyBridge(*this, "onClick");
}

TJVCLBaseFileDialog::TJVCLBaseFileDialog(BaseEngine* engine, bool save) : TJVCLComponent(engine), save_(save) {
  SetObjectName(save ? "VCLSaveDialog" : "VCLOpenDialog");
}

const ClassInfo& TJVCLBaseFileDialog::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(), {{"execute", DExecute<kgui::TOpenDialog>}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseFileDialog::VCLClass() const {
  return save_ ? kgui::TSaveDialog::staticClassInfo() : kgui::TOpenDialog::staticClassInfo();
}

void TJVCLBaseFileDialog::AfterAttach() {
  auto* dialog = static_cast<kgui::TOpenDialog*>(vcl_);
  dialog->OnShow = NotifyBridge(*this, "onShow");
  dialog->OnClose = NotifyBridge(*this, "onClose");
  dialog->OnCanClose = CloseQueryBridge(*this, "onCanClose");
  dialog->OnFolderChange = NotifyBridge(*this, "onFolderChange");
  dialog->OnSelectionChange = NotifyBridge(*this, "onSelectionChange");
  dialog->OnTypeChange = NotifyBridge(*this, "onTypeChange");
}

TJVCLBaseFontDialog::TJVCLBaseFontDialog(BaseEngine* engine) : TJVCLComponent(engine) {
  SetObjectName("VCLFontDialog");
}

const ClassInfo& TJVCLBaseFontDialog::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(), {{"execute", FontExecute}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseFontDialog::VCLClass() const { return kgui::TFontDialog::staticClassInfo(); }

void TJVCLBaseFontDialog::AfterAttach() {
  auto* dialog = static_cast<kgui::TFontDialog*>(vcl_);
  dialog->OnShow = NotifyBridge(*this, "onShow");
  dialog->OnClose = NotifyBridge(*this, "onClose");
}

TJVCLBaseFindDialog::TJVCLBaseFindDialog(BaseEngine* engine, bool replace)
    : TJVCLComponent(engine), replace_(replace) {
  SetObjectName(replace ? "VCLReplaceDialog" : "VCLFindDialog");
}

const ClassInfo& TJVCLBaseFindDialog::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(), {{"execute", FDExecute}, {"closeDialog", FDCloseDialog}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseFindDialog::VCLClass() const {
  return replace_ ? kgui::TReplaceDialog::staticClassInfo() : kgui::TFindDialog::staticClassInfo();
}

void TJVCLBaseFindDialog::AfterAttach() {
  auto* dialog = static_cast<kgui::TFindDialog*>(vcl_);
  dialog->OnFind = NotifyBridge(*this, "onFind");
  dialog->OnReplace = NotifyBridge(*this, "onReplace");
  dialog->OnShow = NotifyBridge(*this, "onShow");
  dialog->OnClose = NotifyBridge(*this, "onClose");
}

TJVCLBaseAction::TJVCLBaseAction(BaseEngine* engine) : TJVCLComponent(engine) { SetObjectName("VCLAction"); }

const ClassInfo& TJVCLBaseAction::Class() const {
  static const ClassInfo info(&TJVCLComponent::Class(), {{"execute", ActionMethod<&kgui::TBasicAction::execute>},
                                                          {"update", ActionMethod<&kgui::TBasicAction::update>}});
  return info;
}

const kgui::ClassInfo& TJVCLBaseAction::VCLClass() const { return kgui::TBasicAction::staticClassInfo(); }

void TJVCLBaseAction::AfterAttach() {
  auto* action = static_cast<kgui::TBasicAction*>(vcl_);
  action->OnExecute = NotifyBridge(*this, "onExecute");
  action->OnUpdate = NotifyBridge(*this, "onUpdate");
  // A created action also answers "onHint" (an action made by the caster does not).
  if (auto* full = dynamic_cast<kgui::TAction*>(action); full && owns_) full->OnHint = HintBridge(*this, "onHint");
}

// item[i]: the sub-item's one wrapper; an index outside the items raises "arguments error".
bool TJVCLBaseMenuItem::GetElement(const StrRef& key, Value& out) {
  return GetIndexedElement(*this, key, out);
}

int32_t TJVCLBaseMenuItem::GetCount() {
  auto* item = static_cast<kgui::TMenuItem*>(vcl_);
  return item ? item->count() : 0;
}

void TJVCLBaseMenuItem::GetItem(int32_t index, Value& out) {
  CheckVCL(TJValueList());
  auto* item = static_cast<kgui::TMenuItem*>(vcl_);
  if (index < 0 || index >= item->count()) RaiseArgumentsError();
  out = CastVCL(item->items(index), Engine());
}

std::span<const PropDef> VCLActionProps() { return kActionProps; }

void InstallVCLModalErrorListener() { SetVCLPendingErrorListener(EndModalOnError); }

}  // namespace kestrin::script
