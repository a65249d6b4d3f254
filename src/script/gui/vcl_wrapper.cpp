// The GUI wrappers' common machinery: binding, property conversion, the caster, the
// method guard and the errors kept from handlers that Qt ran.
#include "script/gui/vcl_wrapper.h"

#include <QTimer>
#include <algorithm>
#include <new>

#include "base/cp932.h"
#include "platform/classes/graphics.h"
#include "platform/gui/control.h"
#include "platform/gui/drag_drop.h"
#include "platform/gui/guard.h"
#include "script/builtins/array_object.h"
#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/hash_table.h"
#include "script/core/value_list.h"
#include "script/objects/object_support.h"
#include "script/objects/point_rect.h"
#include "script/objects/strings_object.h"
#include "script/gui/vcl_events.h"

namespace kestrin::script {
namespace {

using kgui::PropKind;
using kgui::PropValue;

bool SameName(std::string_view a, std::string_view b) { return kgui::sameText(a, b); }

void SortNames(std::vector<StrRef>& names) {
  std::sort(names.begin(), names.end(),
            [](const StrRef& a, const StrRef& b) { return LocaleCompare(a.view(), b.view()) < 0; });
}

// A native string list seen in script text: lines cross as CP932.
class Cp932Strings : public kgui::TStrings {
public:
  explicit Cp932Strings(kgui::TStrings& target) : target_(target) {}
  int count() const override { return target_.count(); }
  std::string get(int index) const override { return utf8_to_cp932(target_.get(index)); }
  void put(int index, const std::string& s) override { target_.put(index, cp932_to_utf8(s)); }
  void insert(int index, const std::string& s) override { target_.insert(index, cp932_to_utf8(s)); }
  void remove(int index) override { target_.remove(index); }
  void clear() override { target_.clear(); }

private:
  kgui::TStrings& target_;
};

// Natives freed while a handler runs wait until the handler has returned: Qt may still be
// inside the control's event and the handler's own function object belongs to it.
class DeferredFree : public kgui::TComponent {
public:
  DeferredFree() : kgui::TComponent(nullptr) {}
  void add(kgui::TComponent* c) {
    if (std::find(pending_.begin(), pending_.end(), c) != pending_.end()) return;
    pending_.push_back(c);
    freeNotification(c);
    if (!scheduled_) {
      scheduled_ = true;
      QTimer::singleShot(0, [this] { flush(); });
    }
  }
  void flush() {
    scheduled_ = false;
    if (kgui::handlerDepth() > 0) return;
    while (!pending_.empty()) {
      kgui::TComponent* c = pending_.back();
      pending_.pop_back();
      removeFreeNotification(c);
      delete c;
    }
  }

protected:
  void notification(kgui::TComponent* c, kgui::Operation op) override {
    if (op == kgui::Operation::Remove) pending_.erase(std::remove(pending_.begin(), pending_.end(), c), pending_.end());
  }

private:
  std::vector<kgui::TComponent*> pending_;
  bool scheduled_ = false;
};

DeferredFree& Deferred() {
  static DeferredFree* d = new DeferredFree;  // lives for the process: flushed, never freed
  return *d;
}

void FreeNative(kgui::TPersistent* obj) {
  auto* c = dynamic_cast<kgui::TComponent*>(obj);
  if (!c || kgui::handlerDepth() == 0) {
    delete obj;
    Deferred().flush();
    return;
  }
  if (auto* control = dynamic_cast<kgui::TControl*>(c)) {
    control->hide();
    control->setParent(nullptr);
  }
  Deferred().add(c);
}

// ---- property conversion ----

[[noreturn]] void InvalidValue(TJVCLPersistent& w) { w.RaiseVCLError("Invalid property value"); }

bool IntegerText(const std::string& text, int64_t& out) {
  size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  size_t end = text.size();
  while (end > at && text[end - 1] == ' ') --end;
  if (at == end) return false;
  std::string t = text.substr(at, end - at);
  bool hex = t[0] == '$';
  char* stop = nullptr;
  long long v = std::strtoll(t.c_str() + (hex ? 1 : 0), &stop, hex ? 16 : 10);
  if (*stop) return false;
  out = v;
  return true;
}

PropValue ToNative(TJVCLPersistent& w, const kgui::PropertyInfo& prop, const Value& v) {
  switch (prop.kind) {
    case PropKind::Integer: {
      if (v.type() == vtInteger || v.type() == vtDouble || v.type() == vtBool) return PropValue(static_cast<int64_t>(ValueToInteger(v)));
      if (!ValueIsString(v)) InvalidValue(w);
      const std::string text = ValueToStdString(v);
      if (prop.ident_map)
        if (auto n = kgui::identToInt(*prop.ident_map, text)) return PropValue(*n);
      int64_t n = 0;
      if (!IntegerText(text, n)) InvalidValue(w);
      return PropValue(static_cast<int64_t>(static_cast<int32_t>(n)));
    }
    case PropKind::Char: {
      if (v.type() == vtInteger || v.type() == vtDouble) return PropValue(static_cast<int64_t>(ValueToInteger(v) & 0xFF));
      const std::string text = ValueToStdString(v);
      if (!ValueIsString(v) || text.size() > 1) InvalidValue(w);
      return PropValue(static_cast<int64_t>(text.empty() ? 0 : static_cast<unsigned char>(text[0])));
    }
    case PropKind::Enumeration: {
      if (!prop.type) InvalidValue(w);
      auto ord = ValueToEnumOrd(prop.type->idents, v);
      if (!ord) InvalidValue(w);
      return PropValue(static_cast<int64_t>(*ord));
    }
    case PropKind::Float: {
      if (!ValueIsNumeric(v) && v.type() != vtBool) InvalidValue(w);
      return PropValue(ValueToNumber(v));
    }
    case PropKind::String:
      if (v.type() == vtObject && !ValueIsString(v)) InvalidValue(w);
      return PropValue(cp932_to_utf8(ValueToStdString(v)));
    case PropKind::Set: {
      if (!prop.type) InvalidValue(w);
      const auto& idents = prop.type->idents;
      if (v.type() == vtInteger || v.type() == vtDouble) return PropValue(static_cast<int64_t>(static_cast<uint32_t>(ValueToInteger(v))));
      if (ValueIsString(v)) return PropValue(static_cast<int64_t>(NamesToSetOrd(idents, ValueToStdString(v), 4)));
      TJObject* obj = v.object();
      if (!obj) InvalidValue(w);
      uint32_t bits = 0;
      for (size_t i = 0; i < idents.size() && i < 32; ++i) {
        Value member;
        if (obj->GetValueImpl(StrRef(idents[i]), member, nullptr) && ValueToBool(member)) bits |= 1u << i;
      }
      return PropValue(static_cast<int64_t>(bits));
    }
    case PropKind::Class: {
      if (ValueIsNullOrUndefined(v)) return PropValue(static_cast<kgui::TPersistent*>(nullptr));
      TJObject* obj = v.object();
      if (auto* wrapper = dynamic_cast<TJVCLPersistent*>(obj)) {
        if (!wrapper->HasVCL()) InvalidValue(w);
        return PropValue(wrapper->VCL());
      }
      InvalidValue(w);
    }
    case PropKind::Method:
      break;
  }
  InvalidValue(w);
}

// A list given to a string-list property: a private copy of its lines in native text.
bool StringsSource(const Value& v, kgui::TStringList& copy) {
  auto* strings = dynamic_cast<TJBaseStringsObject*>(v.object());
  if (!strings || !strings->Strings()) return false;
  std::vector<std::string> lines = strings->Strings()->toVector();
  for (const std::string& line : lines) copy.add(cp932_to_utf8(line));
  return true;
}

// ---- pending errors ----

std::exception_ptr& Pending() {
  static std::exception_ptr pending;
  return pending;
}
void (*g_pending_listener)() = nullptr;

// ---- own properties of the base classes ----

TJVCLPersistent& W(TJObject& self) { return static_cast<TJVCLPersistent&>(self); }

TJVCLComponent& C(TJObject& self) { return static_cast<TJVCLComponent&>(self); }

Value GetVCLClassName(TJObject& self) { return Value::String(StrRef(W(self).VCLClass().name())); }
constexpr PropDef kPersistentProps[] = {{"VCLclassName", GetVCLClassName, nullptr}};

Value GetComponentCount(TJObject& self) {
  kgui::TComponent* c = C(self).Component();
  return Value::Integer(c ? c->componentCount() : 0);
}
Value GetComponentIndex(TJObject& self) {
  kgui::TComponent* c = C(self).Component();
  return Value::Integer(c ? c->componentIndex() : -1);
}
void SetComponentIndex(TJObject& self, const Value& v) {
  kgui::TComponent* c = C(self).Component();
  if (c) VCLGuard(C(self), [&] { c->setComponentIndex(ValueToInteger(v)); });
}
Value GetOwner(TJObject& self) {
  kgui::TComponent* c = C(self).Component();
  if (!c || !c->owner()) return Value::Null();
  return CastVCL(c->owner(), self.Engine());
}
constexpr PropDef kComponentProps[] = {
    {"ComponentCount", GetComponentCount, nullptr},
    {"ComponentIndex", GetComponentIndex, SetComponentIndex},
    {"Owner", GetOwner, nullptr}};

kgui::TControl* ControlOf(TJObject& self) { return static_cast<TJVCLControl&>(self).Control(); }
kgui::TWinControl* WinOf(TJObject& self) { return static_cast<TJVCLWinControl&>(self).WinControl(); }

Value GetParent(TJObject& self) {
  kgui::TControl* c = ControlOf(self);
  if (!c || !c->parent()) return Value::Null();
  return CastVCL(c->parent(), self.Engine());
}
void SetParent(TJObject& self, const Value& v) {
  kgui::TControl* c = ControlOf(self);
  if (!c) W(self).RaiseVCLError("VCL is null");
  if (ValueIsNullOrUndefined(v)) {
    c->setParent(nullptr);
    return;
  }
  auto* parent = NativeOf<kgui::TWinControl>(v);
  if (!parent || parent == c) W(self).RaiseVCLError("Invalid property value");
  VCLGuard(W(self), [&] { c->setParent(parent); });
}
constexpr PropDef kControlProps[] = {{"parent", GetParent, SetParent}};

Value GetControlCount(TJObject& self) {
  kgui::TWinControl* c = WinOf(self);
  return Value::Integer(c ? c->controlCount() : 0);
}
Value GetVisibleDockClientCount(TJObject& self) {
  kgui::TWinControl* c = WinOf(self);
  return Value::Integer(c ? c->visibleDockClientCount() : 0);
}
Value GetHandle(TJObject& self) {
  W(self).CheckVCL(TJValueList());
  return HandleValue(WinOf(self)->handle());
}
Value GetParentWindow(TJObject& self) {
  kgui::TWinControl* c = WinOf(self);
  return HandleValue(c ? c->parentWindow() : 0);
}
void SetParentWindow(TJObject& self, const Value& v) {
  W(self).CheckVCL(TJValueList());
  // A handle is 32 bits, read as signed or unsigned.
  const double d = ValueToNumber(v);
  if (!(d >= -2147483648.0 && d <= 4294967295.0)) W(self).RaiseVCLError("Invalid property value");
  WinOf(self)->setParentWindow(static_cast<uint32_t>(static_cast<int64_t>(d)));
}
Value GetShowing(TJObject& self) {
  kgui::TWinControl* c = WinOf(self);
  return Value::Bool(c && c->showing());
}
// The drop target the control owns for acceptDrop; nil when drops are not taken.
kgui::TDragDropTarget* DropTargetOf(kgui::TControl* c) {
  for (int i = 0; c && i < c->componentCount(); ++i)
    if (auto* t = dynamic_cast<kgui::TDragDropTarget*>(c->components(i)); t && t->target() == c) return t;
  return nullptr;
}
Value GetAcceptDrop(TJObject& self) { return Value::Bool(DropTargetOf(ControlOf(self)) != nullptr); }
// true makes the control take drops for "onDragDropFiles" and "onDragDropText"; false
// gives its drops back.
void SetAcceptDrop(TJObject& self, const Value& v) {
  W(self).CheckVCL(TJValueList());
  kgui::TControl* c = ControlOf(self);
  kgui::TDragDropTarget* target = DropTargetOf(c);
  if (!ValueToBool(v)) {
    delete target;
    return;
  }
  if (target || !c) return;
  target = new kgui::TDragDropTarget(c);
  target->OnDragDropFiles = DropFilesBridge(W(self), "onDragDropFiles");
  target->OnDragDropText = DropTextBridge(W(self), "onDragDropText");
  target->setTarget(c);
}
constexpr PropDef kWinControlProps[] = {
    {"VisibleDockClientCount", GetVisibleDockClientCount, nullptr},
    {"ControlCount", GetControlCount, nullptr},
    {"handle", GetHandle, nullptr},
    {"ParentWindow", GetParentWindow, SetParentWindow},
    {"Showing", GetShowing, nullptr},
    {"acceptDrop", GetAcceptDrop, SetAcceptDrop}};

// ---- methods ----

void MAssign(TJObject& self, TJValueList& params, Value& result) {
  TJVCLPersistent& w = W(self);
  w.CheckVCL(params, 1);
  result = Value::Object(&self);
  auto* source = dynamic_cast<TJVCLPersistent*>(params.GetValue(0).object());
  if (!source || !source->HasVCL()) return;
  VCLGuard(w, [&] { w.VCL()->assign(*source->VCL()); });
}

void MComponents(TJObject& self, TJValueList& params, Value& result) {
  TJVCLComponent& w = C(self);
  w.CheckVCL(params, 1);
  kgui::TComponent* child = nullptr;
  VCLGuard(w, [&] { child = w.Component()->components(ValueToInteger(params.GetValue(0))); });
  result = CastVCL(child, self.Engine());
}

// A point argument: any object with members x and y.
kgui::TPoint PointArg(TJVCLPersistent& w, const TJValueList& params, int32_t i) {
  TJObject* obj = params.GetCount() > i ? params.GetValue(i).object() : nullptr;
  if (!obj) w.RaiseArgumentsError();
  return {ValueToInteger(obj->GetValue("x")), ValueToInteger(obj->GetValue("y"))};
}

template <void (*Op)(kgui::TControl&)>
void ControlMethod(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] { Op(*w.Control()); });
  result = Value::Object(&self);
}

void OpBringToFront(kgui::TControl& c) { c.bringToFront(); }
void OpSendToBack(kgui::TControl& c) { c.sendToBack(); }
void OpHide(kgui::TControl& c) { c.hide(); }
void OpShow(kgui::TControl& c) { c.show(); }
void OpInvalidate(kgui::TControl& c) { c.invalidate(); }
void OpRepaint(kgui::TControl& c) { c.repaint(); }

void MHasParent(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params);
  result = Value::Bool(w.Control()->parent() != nullptr);
}

void MSetBounds(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params, 4);
  VCLGuard(w, [&] {
    w.Control()->setBounds(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1)),
                           ValueToInteger(params.GetValue(2)), ValueToInteger(params.GetValue(3)));
  });
  result = Value::Object(&self);
}

void MClientToScreen(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params, 1);
  result = NewPointValue(self.Engine(), w.Control()->clientToScreen(PointArg(w, params, 0)));
}

void MScreenToClient(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params, 1);
  result = NewPointValue(self.Engine(), w.Control()->screenToClient(PointArg(w, params, 0)));
}

// perform(message, wParam, lParam): the text messages count and take script (CP932) text;
// WM_SETTEXT takes its text from lParam, WM_GETTEXT answers the length it would copy into
// a buffer of wParam characters (a script has no buffer to fill).
void MPerform(TJObject& self, TJValueList& params, Value& result) {
  TJVCLControl& w = static_cast<TJVCLControl&>(self);
  w.CheckVCL(params, 1);
  const auto msg = static_cast<unsigned>(ValueToInteger(params.GetValue(0)));
  const int32_t wparam = params.GetCount() > 1 ? ValueToInteger(params.GetValue(1)) : 0;
  kgui::TControl& c = *w.Control();
  Ref<TJObject> hold(&self);  // WM_CLOSE may run handlers that drop the wrapper
  intptr_t answer = 0;
  VCLGuard(w, [&] {
    switch (msg) {
      case kgui::WM_SETTEXT: {
        const std::string text = params.GetCount() > 2 ? cp932_to_utf8(ValueToStdString(params.GetValue(2))) : "";
        answer = c.perform(msg, 0, reinterpret_cast<intptr_t>(text.c_str()));
        break;
      }
      case kgui::WM_GETTEXTLENGTH: answer = static_cast<intptr_t>(utf8_to_cp932(c.windowText()).size()); break;
      case kgui::WM_GETTEXT:
        answer = wparam > 0 ? std::min<intptr_t>(static_cast<intptr_t>(utf8_to_cp932(c.windowText()).size()), wparam - 1)
                            : 0;
        break;
      default: answer = c.perform(msg, static_cast<uintptr_t>(wparam), 0); break;
    }
  });
  result = Value::Integer(static_cast<int32_t>(answer));
}

void MCanFocus(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  result = Value::Bool(w.WinControl()->canFocus());
}

void MFocused(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  result = Value::Bool(w.WinControl()->focused());
}

void MSetFocus(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] { w.WinControl()->setFocus(); });
  result = Value::Object(&self);
}

void MHandleAllocated(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  result = Value::Bool(true);
}

void MHandleNeeded(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  result = Value::Object(&self);
}

void MContainsControl(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 1);
  auto* c = NativeOf<kgui::TControl>(params.GetValue(0));
  if (!c) w.RaiseArgumentsError();
  result = Value::Bool(w.WinControl()->containsControl(c));
}

void MControlAtPos(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 1);
  const kgui::TPoint p = PointArg(w, params, 0);
  const bool allow_disabled = params.GetCount() > 1 && ValueToBool(params.GetValue(1));
  const bool allow_windowed = params.GetCount() > 2 && ValueToBool(params.GetValue(2));
  result = CastVCL(w.WinControl()->controlAtPos(p, allow_disabled, allow_windowed), self.Engine());
}

void MFindChildControl(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 1);
  const std::string name = cp932_to_utf8(ValueToStdString(params.GetValue(0)));
  result = CastVCL(w.WinControl()->findChildControl(name), self.Engine());
}

template <void (*Op)(kgui::TWinControl&)>
void WinControlMethod(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params);
  VCLGuard(w, [&] { Op(*w.WinControl()); });
  result = Value::Object(&self);
}

void OpDisableAlign(kgui::TWinControl& c) { c.disableAlign(); }
void OpEnableAlign(kgui::TWinControl& c) { c.enableAlign(); }
void OpRealign(kgui::TWinControl& c) { c.realign(); }

// Two integer arguments to a native operation: scaleBy (multiplier, divisor), scrollBy
// (deltaX, deltaY).
template <void (kgui::TWinControl::*Op)(int, int)>
void WinControlPairMethod(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 2);
  VCLGuard(w, [&] { (w.WinControl()->*Op)(ValueToInteger(params.GetValue(0)), ValueToInteger(params.GetValue(1))); });
  result = Value::Object(&self);
}

void MFlipChildren(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 1);
  VCLGuard(w, [&] { w.WinControl()->flipChildren(ValueToBool(params.GetValue(0))); });
  result = Value::Object(&self);
}

void MControls(TJObject& self, TJValueList& params, Value& result) {
  TJVCLWinControl& w = static_cast<TJVCLWinControl&>(self);
  w.CheckVCL(params, 1);
  kgui::TControl* c = nullptr;
  VCLGuard(w, [&] {
    const int32_t i = ValueToInteger(params.GetValue(0));
    if (i < 0 || i >= w.WinControl()->controlCount())
      throw kgui::EPropertyError("List index out of bounds (" + std::to_string(i) + ")");
    c = w.WinControl()->controls(i);
  });
  result = CastVCL(c, self.Engine());
}

// ---- the caster list ----

std::vector<VCLCasterFn>& Casters() {
  static std::vector<VCLCasterFn> list{DefaultVCLCaster};
  return list;
}

}  // namespace

// ---- VCLNativeProps ----

void VCLNativeProps::ListNames(std::vector<StrRef>& out, bool events) {
  kgui::TPersistent* obj = owner_.VCL();
  if (!obj) return;
  std::vector<StrRef> names;
  for (const kgui::PropertyInfo* p : obj->classInfo().properties())
    if ((p->kind == PropKind::Method) == events) names.emplace_back(p->name);
  SortNames(names);
  out.insert(out.end(), names.begin(), names.end());
}

bool VCLNativeProps::Has(std::string_view name) {
  kgui::TPersistent* obj = owner_.VCL();
  const kgui::PropertyInfo* p = obj ? obj->classInfo().findProperty(name) : nullptr;
  return p && p->kind != PropKind::Method;
}

bool VCLNativeProps::Get(std::string_view name, Value& out) {
  kgui::TPersistent* obj = owner_.VCL();
  const kgui::PropertyInfo* p = obj ? obj->classInfo().findProperty(name) : nullptr;
  if (!p || p->kind == PropKind::Method) return false;
  PropValue v;
  VCLGuard(owner_, [&] { v = p->get(*obj); });
  const int64_t* ord = std::get_if<int64_t>(&v);
  switch (p->kind) {
    case PropKind::Integer:
    case PropKind::Char:
      out = Value::Integer(ord ? static_cast<int32_t>(*ord) : 0);
      break;
    case PropKind::Enumeration:
      out = p->type ? EnumOrdToValue(p->type->idents, ord ? static_cast<int32_t>(*ord) : 0) : Value::Integer(0);
      break;
    case PropKind::Float: {
      const double* d = std::get_if<double>(&v);
      out = Value::Double(d ? *d : 0.0);
      break;
    }
    case PropKind::String: {
      const std::string* s = std::get_if<std::string>(&v);
      out = Value::String(StrRef(utf8_to_cp932(s ? *s : std::string())));
      break;
    }
    case PropKind::Set:
      out = Value::String(StrRef(p->type ? SetOrdToNames(p->type->idents, ord ? static_cast<uint32_t>(*ord) : 0) : std::string()));
      break;
    case PropKind::Class: {
      kgui::TPersistent* const* sub = std::get_if<kgui::TPersistent*>(&v);
      out = sub && *sub ? owner_.WrapNative(*sub) : Value::Null();
      break;
    }
    case PropKind::Method:
      return false;
  }
  return true;
}

bool VCLNativeProps::Set(std::string_view name, const Value& v) {
  kgui::TPersistent* obj = owner_.VCL();
  const kgui::PropertyInfo* p = obj ? obj->classInfo().findProperty(name) : nullptr;
  if (!p || p->kind == PropKind::Method) return false;
  if (p->readOnly()) owner_.RaiseVCLError("Property " + p->name + " is read-only");
  kgui::TStringList lines;
  PropValue native;
  if (p->kind == PropKind::Class && StringsSource(v, lines)) native = PropValue(static_cast<kgui::TPersistent*>(&lines));
  else native = ToNative(owner_, *p, v);
  VCLGuard(owner_, [&] { p->set(*obj, native); });
  return true;
}

void VCLNativeProps::ClearEvents() {
  kgui::TPersistent* obj = owner_.VCL();
  if (!obj) return;
  for (const kgui::PropertyInfo* p : obj->classInfo().properties())
    if (p->kind == PropKind::Method && p->set) p->set(*obj, PropValue());
}

// ---- VCLOwnProps ----

const PropDef* VCLOwnProps::Find(std::string_view name) const {
  for (auto table = tables_.rbegin(); table != tables_.rend(); ++table)
    for (const PropDef& d : *table)
      if (SameName(name, d.name)) return &d;
  return nullptr;
}

void VCLOwnProps::ListNames(std::vector<StrRef>& out, bool events) {
  if (events) return;
  std::vector<StrRef> names;
  for (const auto& table : tables_)
    for (const PropDef& d : table) names.emplace_back(d.name);
  SortNames(names);
  out.insert(out.end(), names.begin(), names.end());
}

bool VCLOwnProps::Get(std::string_view name, Value& out) {
  const PropDef* d = Find(name);
  if (!d) return false;
  out = d->get(owner_);
  return true;
}

bool VCLOwnProps::Set(std::string_view name, const Value& v) {
  const PropDef* d = Find(name);
  if (!d) return false;
  if (!d->set) owner_.RaiseVCLError("Property " + std::string(d->name) + " is read-only");
  d->set(owner_, v);
  return true;
}

// ---- TJVCLPersistent ----

struct TJVCLPersistent::Kept {
  kgui::TPersistent* native;
  Value value;
  std::unique_ptr<kgui::TStrings> view;
};

TJVCLPersistent::TJVCLPersistent(BaseEngine* engine) : TJObject(engine), native_(*this), own_(*this) {
  SetObjectName("VCL");
  AddOwnProps(kPersistentProps);
}

TJVCLPersistent::~TJVCLPersistent() { TJVCLPersistent::DetachVCL(); }

const ClassInfo& TJVCLPersistent::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"assign", MAssign}});
  return info;
}

const kgui::ClassInfo& TJVCLPersistent::VCLClass() const { return kgui::TPersistent::staticClassInfo(); }

bool TJVCLPersistent::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (TJObject::GetValueImpl(name, out, param)) return true;
  return vcl_ && native_.Get(name.view(), out);
}

bool TJVCLPersistent::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  if (TJObject::SetValueImpl(name, v, param)) return true;
  return !Dead() && vcl_ && native_.Set(name.view(), v);
}

bool TJVCLPersistent::HasKey(const StrRef& name) {
  return TJObject::HasKey(name) || (vcl_ && native_.Has(name.view()));
}

void TJVCLPersistent::GetPropertyNames(std::vector<StrRef>& out) {
  native_.ListNames(out, false);
  own_.ListNames(out, false);
}

bool TJVCLPersistent::AttachVCL(kgui::TPersistent* obj, bool owns) {
  DetachVCL();
  if (!obj || !obj->inheritsFrom(VCLClass().name())) return false;
  vcl_ = obj;
  owns_ = owns;
  AfterAttach();
  return true;
}

void TJVCLPersistent::DetachVCL() {
  ReleaseKept();
  kgui::TPersistent* obj = vcl_;
  vcl_ = nullptr;
  if (obj && owns_) FreeNative(obj);
  owns_ = false;
}

void TJVCLPersistent::ReleaseKept() {
  std::vector<std::unique_ptr<Kept>> kept;
  kept.swap(kept_);
  for (auto& k : kept) {
    TJObject* obj = k->value.object();
    if (auto* strings = dynamic_cast<TJBaseStringsObject*>(obj)) strings->SetStrings(nullptr);
    if (auto* wrapper = dynamic_cast<TJVCLPersistent*>(obj)) wrapper->DetachVCL();
  }
}

void TJVCLPersistent::CheckVCL(const TJValueList& params, int32_t min_count) {
  if (!vcl_) RaiseVCLError("VCL is null");
  if (min_count > 0 && params.GetCount() < min_count) RaiseArgumentsError();
}

void TJVCLPersistent::RaiseVCLError(std::string_view message) {
  RaiseError(ScriptError::VCLError, {VCLClass().name(), message});
}

Value TJVCLPersistent::WrapNative(kgui::TPersistent* obj) {
  if (!obj) return Value::Null();
  if (dynamic_cast<kgui::TComponent*>(obj)) return CastVCL(obj, Engine());
  for (auto& k : kept_)
    if (k->native == obj && k->value.object() && !k->value.object()->Dead()) return k->value;
  auto kept = std::make_unique<Kept>();
  kept->native = obj;
  if (auto* list = dynamic_cast<kgui::TStrings*>(obj)) {
    kept->view = std::make_unique<Cp932Strings>(*list);
    kept->value = NewHostObject<TJBaseStringsObject>(Engine());
    static_cast<TJBaseStringsObject*>(kept->value.object())->SetStrings(kept->view.get());
  } else {
    kept->value = CastVCL(obj, Engine());
  }
  Value v = kept->value;
  kept_.push_back(std::move(kept));
  return v;
}

bool GetIndexedElement(TJObject& obj, const StrRef& key, Value& out) {
  int32_t index = 0;
  if (!ElementIndex(key, index)) return false;
  obj.GetItem(index, out);
  return true;
}

Value NewPointValue(BaseEngine* engine, const kgui::TPoint& p) {
  Value v = NewHostObject<TJPoint>(engine);
  auto* point = static_cast<TJPoint*>(v.object());
  point->x = p.x;
  point->y = p.y;
  return v;
}

Value NewRectValue(BaseEngine* engine, const kgui::TRect& r) {
  Value v = NewHostObject<TJRect>(engine);
  static_cast<TJRect*>(v.object())->SetRect({r.left, r.top, r.right, r.bottom});
  return v;
}

// ---- TJVCLNotify ----

void TJVCLNotify::notification(kgui::TComponent* c, kgui::Operation op) {
  kgui::TComponent::notification(c, op);
  if (op == kgui::Operation::Remove && c && c == wrapper_.Component()) wrapper_.NativeFreed();
}

// ---- TJVCLComponent ----

TJVCLComponent::TJVCLComponent(BaseEngine* engine) : TJVCLPersistent(engine) {
  SetObjectName("VCLComponent");
  AddOwnProps(kComponentProps);
}

TJVCLComponent::~TJVCLComponent() { TJVCLComponent::DetachVCL(); }

const ClassInfo& TJVCLComponent::Class() const {
  static const ClassInfo info(&TJVCLPersistent::Class(), {{"components", MComponents}});
  return info;
}

const kgui::ClassInfo& TJVCLComponent::VCLClass() const { return kgui::TComponent::staticClassInfo(); }

bool TJVCLComponent::AttachVCL(kgui::TPersistent* obj, bool owns) {
  DetachVCL();
  if (!obj || !obj->inheritsFrom(VCLClass().name())) return false;
  auto* c = static_cast<kgui::TComponent*>(obj);
  c->setWrapperLink(this);
  c->freeNotification(&notify_);
  if (!owns) {
    link_counted_ = true;
    IncRef();
  }
  TJVCLPersistent::AttachVCL(obj, owns);
  RegisterChildren();
  return true;
}

void TJVCLComponent::DetachVCL() {
  kgui::TComponent* c = Component();
  if (!c) return;
  children_.clear();
  if (!owns_) native_.ClearEvents();
  c->removeFreeNotification(&notify_);
  if (c->wrapperLink() == this) c->setWrapperLink(nullptr);
  TJVCLPersistent::DetachVCL();
  if (link_counted_) {
    link_counted_ = false;
    DecRef();  // may free this wrapper: nothing after it
  }
}

void TJVCLComponent::NativeFreed() {
  // Gone already: nothing to free or clear.
  kgui::TComponent* c = Component();
  if (!c) return;
  owns_ = false;
  children_.clear();
  if (c->wrapperLink() == this) c->setWrapperLink(nullptr);
  vcl_ = nullptr;
  TJVCLPersistent::DetachVCL();
  if (link_counted_) {
    link_counted_ = false;
    DecRef();
  }
}

void TJVCLComponent::RegisterChildren() {
  children_.clear();
  kgui::TComponent* c = Component();
  if (!c) return;
  for (int i = 0; i < c->componentCount(); ++i) {
    kgui::TComponent* child = c->components(i);
    if (child->name().empty()) continue;
    children_.emplace_back(StrRef(utf8_to_cp932(child->name())), CastVCL(child, Engine()));
  }
}

bool TJVCLComponent::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (TJVCLPersistent::GetValueImpl(name, out, param)) return true;
  for (auto& [child, wrapper] : children_)
    if (child == name && wrapper.object()) {
      out = wrapper;
      return true;
    }
  return false;
}

bool TJVCLComponent::HasKey(const StrRef& name) {
  if (TJVCLPersistent::HasKey(name)) return true;
  for (auto& [child, wrapper] : children_)
    if (child == name) return true;
  return false;
}

void TJVCLComponent::GetPropertyNames(std::vector<StrRef>& out) {
  TJVCLPersistent::GetPropertyNames(out);
  for (auto& [child, wrapper] : children_) out.push_back(child);
}

void TJVCLComponent::GetEventNames(std::vector<StrRef>& out) {
  std::vector<StrRef> events;
  native_.ListNames(events, true);
  for (StrRef& e : events) {
    std::string name(e.view());
    if (name.rfind("On", 0) == 0) name[0] = 'o';
    out.emplace_back(name);
  }
}

// ---- TJVCLControl, TJVCLWinControl ----

TJVCLControl::TJVCLControl(BaseEngine* engine) : TJVCLComponent(engine) {
  SetObjectName("VCLControl");
  AddOwnProps(kControlProps);
}

const ClassInfo& TJVCLControl::Class() const {
  static const ClassInfo info(
      &TJVCLComponent::Class(),
      {{"bringToFront", ControlMethod<OpBringToFront>}, {"clientToScreen", MClientToScreen},
       {"hasParent", MHasParent}, {"hide", ControlMethod<OpHide>},
       {"invalidate", ControlMethod<OpInvalidate>}, {"perform", MPerform},
       {"refresh", ControlMethod<OpRepaint>}, {"repaint", ControlMethod<OpRepaint>},
       {"screenToClient", MScreenToClient}, {"sendToBack", ControlMethod<OpSendToBack>},
       {"show", ControlMethod<OpShow>}, {"update", ControlMethod<OpRepaint>},
       {"setBounds", MSetBounds}});
  return info;
}

const kgui::ClassInfo& TJVCLControl::VCLClass() const { return kgui::TControl::staticClassInfo(); }

kgui::TControl* TJVCLControl::Control() const { return static_cast<kgui::TControl*>(vcl_); }

TJVCLWinControl::TJVCLWinControl(BaseEngine* engine) : TJVCLControl(engine) {
  SetObjectName("VCLWinControl");
  AddOwnProps(kWinControlProps);
}

const ClassInfo& TJVCLWinControl::Class() const {
  static const ClassInfo info(
      &TJVCLControl::Class(),
      {{"canFocus", MCanFocus}, {"containsControl", MContainsControl}, {"controlAtPos", MControlAtPos},
       {"disableAlign", WinControlMethod<OpDisableAlign>}, {"enableAlign", WinControlMethod<OpEnableAlign>},
       {"realign", WinControlMethod<OpRealign>}, {"findChildControl", MFindChildControl},
       {"flipChildren", MFlipChildren}, {"focused", MFocused}, {"handleAllocated", MHandleAllocated},
       {"handleNeeded", MHandleNeeded}, {"setFocus", MSetFocus},
       {"scaleBy", WinControlPairMethod<&kgui::TWinControl::scaleBy>},
       {"scrollBy", WinControlPairMethod<&kgui::TWinControl::scrollBy>}, {"controls", MControls}});
  return info;
}

const kgui::ClassInfo& TJVCLWinControl::VCLClass() const { return kgui::TWinControl::staticClassInfo(); }

kgui::TWinControl* TJVCLWinControl::WinControl() const { return static_cast<kgui::TWinControl*>(vcl_); }

void TJVCLWinControl::GetEventNames(std::vector<StrRef>& out) {
  TJVCLControl::GetEventNames(out);
  out.emplace_back("onDragDropText");
  out.emplace_back("onDragDropFiles");
}

// ---- the caster ----

TJVCLPersistent* DefaultVCLCaster(kgui::TPersistent* obj, BaseEngine* engine) {
  if (!obj) return nullptr;
  for (const VCLCastRow& row : DefaultVCLCastRows())
    if (obj->inheritsFrom(row.native().name())) return row.make(engine);
  return nullptr;
}

int32_t AddVCLCaster(VCLCasterFn fn) {
  Casters().push_back(fn);
  return static_cast<int32_t>(Casters().size()) - 1;
}

Value CastVCL(kgui::TPersistent* obj, BaseEngine* engine) {
  if (!obj) return Value::Null();
  if (auto* c = dynamic_cast<kgui::TComponent*>(obj))
    if (void* link = c->wrapperLink()) return Value::Object(static_cast<TJVCLComponent*>(link));
  const auto& casters = Casters();
  for (auto fn = casters.rbegin(); fn != casters.rend(); ++fn) {
    TJVCLPersistent* w = (*fn)(obj, engine);
    if (!w) continue;
    Value held = Value::Object(w);
    if (engine) engine->Factory().Register(w);
    w->AttachVCL(obj, false);
    return held;
  }
  return Value::Null();
}

void FlushDeferredNatives() { Deferred().flush(); }

std::optional<int> EnumArg(const kgui::EnumInfo& type, const Value& v) {
  if (v.type() == vtInteger || v.type() == vtDouble) {
    const int ord = ValueToInteger(v);
    if (ord >= 0 && static_cast<size_t>(ord) < type.idents.size()) return ord;
    return std::nullopt;
  }
  if (auto ord = kgui::textToEnum(type, ValueToStdString(v))) return static_cast<int>(*ord);
  return std::nullopt;
}

Value HandleValue(uint32_t h) {
  return h <= INT32_MAX ? Value::Integer(static_cast<int32_t>(h)) : Value::Double(static_cast<double>(h));
}

// ---- pending errors and the guard ----

void KeepVCLPendingError(std::exception_ptr error) {
  if (!Pending()) Pending() = error;
  if (g_pending_listener) g_pending_listener();
}

bool HasVCLPendingError() { return static_cast<bool>(Pending()); }

void RaiseVCLPendingError() {
  if (!Pending()) return;
  std::exception_ptr error = Pending();
  Pending() = nullptr;
  std::rethrow_exception(error);
}

void SetVCLPendingErrorListener(void (*listener)()) { g_pending_listener = listener; }

void VCLGuardImpl(TJVCLPersistent& w, void (*call)(void*), void* data) {
  std::string message;
  try {
    call(data);
    RaiseVCLPendingError();
    return;
  } catch (const EJStatement&) {
    throw;
  } catch (const EJAbort&) {
    throw;
  } catch (const EJException& e) {
    message = e.Message();
  } catch (const std::bad_alloc&) {
    message = "out of memory";
  } catch (const std::exception& e) {
    message = utf8_to_cp932(e.what());
  }
  w.RaiseVCLError(message);
}

}  // namespace kestrin::script
