// The edit family (edits, memos, spin edits): selections counted in script characters,
// the clipboard and undo methods, and a memo's text, lines and caret.
#include "script/gui/vcl_controls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

#include "base/cp932.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_events.h"
#include "script/objects/object_support.h"
#include "script/objects/point_rect.h"

namespace kestrin::script {
namespace {

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

// CanUndo and Modified: the flag of the line edit, or of the memo's document.
template <bool (QLineEdit::*Line)() const, bool (QTextDocument::*Document)() const>
Value GetTextFlag(TJObject& self) {
  auto& w = Self<TJVCLPersistent>(self);
  w.CheckVCL(TJValueList());
  if (QLineEdit* e = LineEditOf(w)) return Value::Bool((e->*Line)());
  if (QPlainTextEdit* m = TextEditOf(w)) return Value::Bool((m->document()->*Document)());
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
constexpr PropDef kEditProps[] = {
    {"CanUndo", GetTextFlag<&QLineEdit::isUndoAvailable, &QTextDocument::isUndoAvailable>, nullptr},
    {"Modified", GetTextFlag<&QLineEdit::isModified, &QTextDocument::isModified>, SetModified}};

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


constexpr MethodDef kEditMethods[] = {
    {"clear", EditMethod<OpClear>}, {"clearSelection", EClearSelection},
    {"copyToClipboard", EditMethod<OpCopy>}, {"cutToClipboard", EditMethod<OpCut>},
    {"pasteFromClipboard", EditMethod<OpPaste>}, {"undo", EditMethod<OpUndo>},
    {"clearUndo", EClearUndo}, {"selectAll", EditMethod<OpSelectAll>}};

void HookEdit(TJVCLPersistent& w) {
  // A spin edit has no context menu event.
  const bool spin = dynamic_cast<kgui::TSpinEdit*>(w.VCL()) != nullptr;
  HookControlEvents(static_cast<TJVCLControl&>(w), kEvClick | kEvDblClick | kEvMouse | kEvKeys | kEvFocus | kEvDrag |
                                                       (spin ? 0u : uint32_t{kEvContextPopup}));
  if (auto* edit = dynamic_cast<kgui::TEdit*>(w.VCL())) edit->OnChange = NotifyBridge(w, "onChange");
  if (auto* memo = dynamic_cast<kgui::TMemo*>(w.VCL())) memo->OnChange = NotifyBridge(w, "onChange");
  if (auto* spin_edit = dynamic_cast<kgui::TSpinEdit*>(w.VCL())) spin_edit->OnChange = NotifyBridge(w, "onChange");
}

}  // namespace

const PropDef kVCLSelectionProps[3] = {{"SelLength", GetSelLength, SetSelLength},
                                       {"SelStart", GetSelStart, SetSelStart},
                                       {"SelText", GetSelText, SetSelText}};

const VCLClassDef kVCLEdit{.script_name = "VCLEdit",
                           .native = &kgui::TEdit::staticClassInfo,
                           .methods = kEditMethods,
                           .props = {kEditProps, kVCLSelectionProps},
                           .hook = HookEdit};

const VCLClassDef kVCLMemo{
    .script_name = "VCLMemo", .native = &kgui::TMemo::staticClassInfo, .base = &kVCLEdit, .props = {kMemoProps}};

const VCLClassDef kVCLSpinEdit{
    .script_name = "VCLSpinEdit", .native = &kgui::TSpinEdit::staticClassInfo, .base = &kVCLEdit};

TJVCLBaseMemo::TJVCLBaseMemo(BaseEngine* engine) : TJVCLClass(engine, kVCLMemo) {
  Value point = NewHostObject<TJPoint>(engine);
  caret = point.object();
}

}  // namespace kestrin::script
