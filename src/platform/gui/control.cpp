// TControl and TWinControl: widget ownership, bounds, align and anchor layout, and the
// translation of Qt's mouse, key and focus events into the platform's single-cast events.
#include "platform/gui/control.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "platform/classes/handles.h"
#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/actions.h"
#include "platform/gui/form.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_convert.h"
#include "platform/system/window_messages.h"

namespace kgui {

extern const char* const kControlProperty;
void forgetDragOf(TControl* c);

// Forwards the events of a control's widgets to the control.
class ControlFilter : public QObject {
public:
  explicit ControlFilter(TControl* c) : control_(c) {}
  bool eventFilter(QObject* target, QEvent* event) override {
    return control_ && control_->handleEvent(target, event);
  }
  void detach() { control_ = nullptr; }

private:
  TControl* control_;
};

PropertyInfo captionProp() {
  PropertyInfo p;
  p.name = "Caption";
  p.kind = PropKind::String;
  p.get = [](const TPersistent& o) { return PropValue(static_cast<const TControl&>(o).caption()); };
  p.set = [](TPersistent& o, const PropValue& v) { static_cast<TControl&>(o).setCaption(detail::toStr(v)); };
  return p;
}

namespace {

// TabOrder: the place in the parent's focus chain, written to the widgets' tab order; the
// windowed siblings follow in the order of their TabOrder values (unset ones by position
// among the siblings). -1 without a parent.
constexpr const char* kTabOrderProperty = "kestrinTabOrder";

int tabOrderOf(const TWinControl& c) {
  const QVariant v = c.widget() ? c.widget()->property(kTabOrderProperty) : QVariant();
  if (v.isValid()) return v.toInt();
  const TWinControl* parent = c.parent();
  if (!parent) return -1;
  int index = 0;
  for (int i = 0; i < parent->controlCount(); ++i) {
    const auto* sibling = dynamic_cast<const TWinControl*>(parent->controls(i));
    if (sibling == &c) return index;
    if (sibling) ++index;
  }
  return -1;
}

void applyTabOrder(TWinControl& c, int order) {
  if (!c.widget()) return;
  c.widget()->setProperty(kTabOrderProperty, order);
  TWinControl* parent = c.parent();
  if (!parent) return;
  std::vector<std::pair<int, QWidget*>> chain;
  for (int i = 0; i < parent->controlCount(); ++i)
    if (auto* sibling = dynamic_cast<TWinControl*>(parent->controls(i)); sibling && sibling->widget())
      chain.emplace_back(tabOrderOf(*sibling), sibling->widget());
  std::stable_sort(chain.begin(), chain.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
}

PropertyInfo tabOrderProp() {
  PropertyInfo p;
  p.name = "TabOrder";
  p.kind = PropKind::Integer;
  p.get = [](const TPersistent& o) { return PropValue(int64_t{tabOrderOf(static_cast<const TWinControl&>(o))}); };
  p.set = [](TPersistent& o, const PropValue& v) {
    applyTabOrder(static_cast<TWinControl&>(o), static_cast<int>(detail::toOrd(v)));
  };
  return p;
}

// TabStop: whether Tab reaches the control (the widget's focus policy).
PropertyInfo tabStopProp() {
  PropertyInfo p;
  p.name = "TabStop";
  p.kind = PropKind::Enumeration;
  p.type = &booleanType();
  p.get = [](const TPersistent& o) {
    const QWidget* w = static_cast<const TWinControl&>(o).widget();
    return PropValue(int64_t{w && (w->focusPolicy() & Qt::TabFocus) ? 1 : 0});
  };
  p.set = [](TPersistent& o, const PropValue& v) {
    QWidget* w = static_cast<TWinControl&>(o).widget();
    if (!w) return;
    const bool stop = detail::toOrd(v) != 0;
    if (stop) w->setFocusPolicy(Qt::StrongFocus);
    else if (w->focusPolicy() & Qt::TabFocus) w->setFocusPolicy(Qt::ClickFocus);
  };
  return p;
}

// The colour a control of the class starts with: the window colour of the controls that
// hold text or items, the face colour of the others.
TColor startColor(const ClassInfo& cls) {
  for (const char* name : {"TEdit", "TMemo", "TListBox", "TComboBox", "TListView", "TTreeView", "TStringGrid"})
    if (cls.inheritsFrom(name)) return clWindow;
  return clBtnFace;
}

}  // namespace

const ClassInfo& TControl::staticClassInfo() {
  using T = TControl;
  static const ClassInfo info(
      "TControl", &TComponent::staticClassInfo(),
      {ordProp<T, int>("Left", PropKind::Integer, &T::left, &T::setLeft),
       ordProp<T, int>("Top", PropKind::Integer, &T::top, &T::setTop),
       ordProp<T, int>("Width", PropKind::Integer, &T::width, &T::setWidth),
       ordProp<T, int>("Height", PropKind::Integer, &T::height, &T::setHeight),
       ordProp<T, int>("Align", PropKind::Enumeration, &T::align, &T::setAlign, &alignType(),
                       alNone),
       ordProp<T, uint32_t>("Anchors", PropKind::Set, &T::anchors, &T::setAnchors,
                            &anchorKindType(), setOf({akLeft, akTop})),
       [] {
         // Written when it is not the colour the class starts with, as the designer writes it.
         auto p = ordProp<T, TColor>("Color", PropKind::Integer, &T::color, &T::setColor);
         p.ident_map = &colorIdents();
         p.stored = [](const TPersistent& o) { return static_cast<const T&>(o).color() != startColor(o.classInfo()); };
         return p;
       }(),
       classProp<T, TSizeConstraints>("Constraints", &T::constraints),
       boolProp<T>("Enabled", &T::enabled, &T::setEnabled, true),
       [] {
         // A font that follows the parent's is the parent's to write.
         auto p = classProp<T, TFont>("Font", &T::font);
         p.stored = [](const TPersistent& o) { return !static_cast<const T&>(o).parentFont(); };
         return p;
       }(),
       keptProp("ParentColor", PropKind::Enumeration, &booleanType()),
       writtenOnceSet(boolProp<T>("ParentFont", &T::parentFont, &T::setParentFont)),
       keptProp("ParentShowHint", PropKind::Enumeration, &booleanType(), nullptr, PropValue(int64_t{1})),
       keptProp("ShowHint", PropKind::Enumeration, &booleanType()),
       ordProp<T, int>("HelpContext", PropKind::Integer, &T::helpContext, &T::setHelpContext, nullptr, 0),
       strProp<T>("Hint", &T::hint, &T::setHint),
       refProp<T, TPopupMenu>("PopupMenu", &T::popupMenu, &T::setPopupMenu),
       ordProp<T, int>("DragMode", PropKind::Enumeration, &T::dragMode, &T::setDragMode, &dragModeType(),
                       dmManual),
       boolProp<T>("Visible", &T::visible, &T::setVisible, true),
       eventProp<T>("OnContextPopup", &T::OnContextPopup), eventProp<T>("OnDragDrop", &T::OnDragDrop),
       eventProp<T>("OnDragOver", &T::OnDragOver), eventProp<T>("OnEndDrag", &T::OnEndDrag),
       eventProp<T>("OnClick", &T::OnClick), eventProp<T>("OnDblClick", &T::OnDblClick),
       eventProp<T>("OnMouseDown", &T::OnMouseDown), eventProp<T>("OnMouseMove", &T::OnMouseMove),
       eventProp<T>("OnMouseUp", &T::OnMouseUp), eventProp<T>("OnResize", &T::OnResize)});
  return info;
}

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget), font_(std::make_unique<TFont>()),
      constraints_(std::make_unique<TSizeConstraints>()) {
  font_->OnChange = [this] {
    if (!adopting_font_) parent_font_ = false;
    applyFont();
  };
  constraints_->OnChange = [this] {
    applyConstraints();
    setBounds(left_, top_, width_, height_);
  };
  widget->hide();
  widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(this)));
  watch(widget);
}

TControl::~TControl() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    parent_->childrenChanged();
  }
  font_->OnChange = nullptr;
  constraints_->OnChange = nullptr;
  if (message_target_) kestrin::platform::UnregisterWindow(windowHandles().find(this));
  windowHandles().release(this);
  forgetDragOf(this);
  // A handler may free its own sender; Qt may still be inside that widget's event, so the
  // widget and the filter go later, and the filter stops forwarding at once.
  bool later = handlerDepth() > 0;
  if (filter_) {
    static_cast<ControlFilter*>(filter_)->detach();
    later ? filter_->deleteLater() : delete filter_;
  }
  if (QWidget* w = widget_) {
    w->setProperty(kControlProperty, QVariant());
    w->hide();
    if (later) {
      w->setParent(nullptr);
      w->deleteLater();
    } else {
      delete w;
    }
  }
}

void TControl::setName(const std::string& name) {
  TComponent::setName(name);
  if (widget_) widget_->setObjectName(qs(name));
}

void TControl::watch(QWidget* w) {
  if (!filter_) filter_ = new ControlFilter(this);
  w->installEventFilter(filter_);
  if (w == mouseWidget()) w->setMouseTracking(true);
}

void TControl::setParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (align_ != alNone) parent_->realign(nullptr);
    parent_->childrenChanged();
  }
  parent_ = parent;
  if (!widget_) return;
  widget_->setParent(parent ? parent->container() : nullptr);
  if (parent) {
    parent->insertControl(this);
    if (parent_font_) adoptFont(*parent->font());
    applyBounds();
    widget_->setVisible(visible_);
    if (align_ != alNone) parent->realign(this);
    parent->childrenChanged();
  } else {
    widget_->hide();
  }
}

void TControl::setParentComponent(TComponent* parent) {
  auto* win = dynamic_cast<TWinControl*>(parent);
  if (!win) throw EComponentError("Control " + name() + " has no parent window");
  setParent(win);
}

void TControl::setBoundsQuietly(int left, int top, int width, int height) {
  if (!checkNewSize(width, height)) {
    width = width_;
    height = height_;
  }
  storeBounds(left, top, width, height);
}

void TControl::storeBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  applyBounds();
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->clientResized();
}

void TControl::setBounds(int left, int top, int width, int height) {
  setBoundsQuietly(left, top, width, height);
  if (parent_ && align_ != alNone) parent_->realign(this);
}

void TControl::applyBounds() {
  if (!widget_) return;
  syncing_ = true;
  widget_->setGeometry(left_, top_, width_, height_);
  syncing_ = false;
}

void TControl::setAlign(int align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->realign(this);
}

void TControl::setVisible(bool visible) {
  visible_ = visible;
  if (widget_ && parent_) widget_->setVisible(visible);
  if (parent_ && align_ != alNone) parent_->realign(this);
}

bool TControl::showing() const { return widget_ && widget_->isVisible(); }

void TControl::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (widget_) widget_->setEnabled(enabled);
}

void TControl::setColor(TColor color) {
  color_ = color;
  applyColor();
}

void TControl::applyColor() {
  if (!widget_) return;
  QPalette pal = widget_->palette();
  pal.setColor(QPalette::Window, toQColor(color_));
  widget_->setPalette(pal);
  widget_->setAutoFillBackground(true);
}

void TControl::applyFont() {
  if (!widget_) return;
  widget_->setFont(toQFont(*font_));
  QPalette pal = widget_->palette();
  QColor c = toQColor(font_->color());
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    pal.setColor(role, c);
  widget_->setPalette(pal);
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < w->controlCount(); ++i)
      if (w->controls(i)->parent_font_) w->controls(i)->adoptFont(*font_);
}

void TControl::adoptFont(const TFont& font) {
  adopting_font_ = true;
  font_->assign(font);
  adopting_font_ = false;
}

void TControl::setParentFont(bool p) {
  parent_font_ = p;
  if (p && parent_) adoptFont(*parent_->font());
}

void TControl::setHint(const std::string& hint) {
  hint_ = hint;
  if (widget_) widget_->setToolTip(qs(hint));
}

void TControl::setCursor(int cursor) {
  cursor_ = cursor;
  QWidget* w = mouseWidget();
  if (!w) return;
  switch (cursor) {
    case crDefault: w->unsetCursor(); break;
    case crNone: w->setCursor(Qt::BlankCursor); break;
    case crCross: w->setCursor(Qt::CrossCursor); break;
    case crIBeam: w->setCursor(Qt::IBeamCursor); break;
    default: w->setCursor(Qt::ArrowCursor); break;
  }
}

void TControl::setCaption(const std::string& caption) {
  caption_ = caption;
  applyCaption();
}

void TControl::invalidate() {
  if (widget_) widget_->update();
}

void TControl::invalidateRect(const TRect& r) {
  if (widget_ && r.width() > 0 && r.height() > 0) widget_->update(r.left, r.top, r.width(), r.height());
}

void TControl::repaint() {
  if (widget_) widget_->repaint();
}

void TControl::bringToFront() {
  if (widget_) widget_->raise();
}

void TControl::sendToBack() {
  if (widget_) widget_->lower();
}

void TControl::click() {
  if (OnClick) fire(OnClick, this);
  else if (action_) action_->execute();
}

void TControl::setAction(TBasicAction* action) {
  if (action_) action_->unregisterClient(this);
  action_ = action;
  if (action_) action_->registerClient(this);
}

void TControl::notification(TComponent* c, Operation op) {
  TComponent::notification(c, op);
  if (op == Operation::Remove && c == action_) action_ = nullptr;
  if (op == Operation::Remove && c == popup_menu_) popup_menu_ = nullptr;
}

static TMouseButton mouseButton(Qt::MouseButton b) {
  return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

void TControl::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  fire(OnMouseDown, this, button, shift, x, y);
}

void TControl::mouseMove(TShiftState shift, int x, int y) { fire(OnMouseMove, this, shift, x, y); }

void TControl::mouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  fire(OnMouseUp, this, button, shift, x, y);
}

bool TControl::mouseEvent(QEvent* event) {
  if (dragMouseEvent(event)) return true;
  std::weak_ptr<char> alive(alive_);  // a handler may free this control
  auto* me = static_cast<QMouseEvent*>(event);
  QPoint p = me->position().toPoint();
  TShiftState shift = shiftState(me->modifiers(), me->buttons());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (me->button() == Qt::LeftButton) pressed_ = true;
      mouseDown(mouseButton(me->button()), shift, p.x(), p.y());
      break;
    case QEvent::MouseButtonDblClick:
      fire(OnDblClick, this);
      if (alive.expired()) return true;
      mouseDown(mouseButton(me->button()), shift | (1u << ssDouble), p.x(), p.y());
      break;
    case QEvent::MouseButtonRelease: {
      if (redelivering_) return false;  // the widget's own handling: a push button's click
      bool was_pressed = pressed_ && me->button() == Qt::LeftButton;
      if (me->button() == Qt::LeftButton) pressed_ = false;
      // The platform clicks before it reports the button up.
      if (click_on_release_ && was_pressed && mouseWidget() && mouseWidget()->rect().contains(p)) {
        click();
        if (alive.expired()) return true;
      }
      if (qobject_cast<QAbstractButton*>(mouseWidget())) {
        // A button clicks in its own release handling: that runs first, then the button up.
        std::unique_ptr<QMouseEvent> copy(static_cast<QMouseEvent*>(me->clone()));
        redelivering_ = true;
        QCoreApplication::sendEvent(mouseWidget(), copy.get());
        if (alive.expired()) return true;
        redelivering_ = false;
        mouseUp(mouseButton(me->button()), shift, p.x(), p.y());
        return true;
      }
      // The button that went up is no longer in buttons(); the platform still reports it.
      mouseUp(mouseButton(me->button()), shift, p.x(), p.y());
      break;
    }
    case QEvent::MouseMove: mouseMove(shift, p.x(), p.y()); break;
    default: break;
  }
  return alive.expired();
}

bool TControl::handleEvent(QObject* target, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      if (target == mouseWidget()) return mouseEvent(event);
      return false;
    case QEvent::Resize:
      if (target == widget_) fire(OnResize, this);
      return false;
    case QEvent::ToolTip: return target == widget_ && showActionHint(static_cast<QHelpEvent*>(event));
    case QEvent::Wheel: return target == mouseWidget() && wheelEvent(event);
    case QEvent::ContextMenu: return target == mouseWidget() && contextMenuEvent(event);
    default: return false;
  }
}

// A linked action has its say on the hint before it shows: its OnHint may change the text
// or show none.
bool TControl::showActionHint(QHelpEvent* event) {
  auto* a = dynamic_cast<TAction*>(action_);
  if (!a || !a->OnHint) return false;
  std::string text = hint_;
  if (!a->doHint(text) || text.empty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(event->globalPos(), qs(text), widget_);
  }
  return true;
}

// ---- TWinControl ----

const ClassInfo& TWinControl::staticClassInfo() {
  using T = TWinControl;
  static const ClassInfo info("TWinControl", &TControl::staticClassInfo(),
                              {writtenOnceSet(tabOrderProp()), writtenOnceSet(tabStopProp()),
                               eventProp<T>("OnEnter", &T::OnEnter),
                               eventProp<T>("OnExit", &T::OnExit),
                               eventProp<T>("OnKeyDown", &T::OnKeyDown),
                               eventProp<T>("OnKeyPress", &T::OnKeyPress),
                               eventProp<T>("OnKeyUp", &T::OnKeyUp)});
  return info;
}

TWinControl::TWinControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {}

TWinControl::~TWinControl() {
  // The platform destroys child controls with their parent, before its own window.
  while (!controls_.empty()) delete controls_.back();
}

void TWinControl::getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const {
  for (TControl* c : controls_)
    if (c->owner() == root) proc(c);
}

int TWinControl::clientWidth() const { return width(); }
int TWinControl::clientHeight() const { return height(); }

TRect TWinControl::alignRect() const { return {0, 0, clientWidth(), clientHeight()}; }

bool TWinControl::focused() const { return widget() && widget()->hasFocus(); }

void TWinControl::setFocus() {
  if (widget()) widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::clientResized() {
  int cw = clientWidth(), ch = clientHeight();
  if (last_client_w_ >= 0 && (cw != last_client_w_ || ch != last_client_h_)) {
    int dx = cw - last_client_w_, dy = ch - last_client_h_;
    for (TControl* c : controls_) {
      if (c->align_ != alNone) continue;
      uint32_t a = c->anchors_;
      int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
      if (a & (1u << akRight)) (a & (1u << akLeft)) ? w += dx : l += dx;
      if (a & (1u << akBottom)) (a & (1u << akTop)) ? h += dy : t += dy;
      if (l != c->left_ || t != c->top_ || w != c->width_ || h != c->height_)
        c->setBoundsQuietly(l, t, w, h);
    }
  }
  const bool changed = cw != last_client_w_ || ch != last_client_h_;
  last_client_w_ = cw;
  last_client_h_ = ch;
  realign();
  if (changed) clientSizeChanged();
}

// The platform's order within one align kind: the control whose layout just changed keeps
// its place ahead of ties; another goes before a listed one only when strictly above (alTop,
// alLeft) or at least as low (alBottom, alRight).
static bool insertBefore(const TControl* c1, const TControl* c2, int kind) {
  switch (kind) {
    case alTop: return c1->top() < c2->top();
    case alBottom: return c1->top() + c1->height() >= c2->top() + c2->height();
    case alLeft: return c1->left() < c2->left();
    case alRight: return c1->left() + c1->width() >= c2->left() + c2->width();
    default: return false;
  }
}

void TWinControl::realign(TControl* changed) {
  if (align_level_ > 0 || loading()) {
    align_due_ = true;
    return;
  }
  if (aligning_) return;
  aligning_ = true;
  TRect r = alignRect();
  for (int kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (changed && changed->align_ == kind && changed->visible_) list.push_back(changed);
    for (TControl* c : controls_) {
      if (c == changed || c->align_ != kind || !c->visible_) continue;
      size_t j = 0;
      while (j < list.size() && !insertBefore(c, list[j], kind)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) {
      int w = c->width_, h = c->height_;
      switch (kind) {
        case alTop: c->setBoundsQuietly(r.left, r.top, r.width(), h); r.top += h; break;
        case alBottom: r.bottom -= h; c->setBoundsQuietly(r.left, r.bottom, r.width(), h); break;
        case alLeft: c->setBoundsQuietly(r.left, r.top, w, r.height()); r.left += w; break;
        case alRight: r.right -= w; c->setBoundsQuietly(r.right, r.top, w, r.height()); break;
        default: c->setBoundsQuietly(r.left, r.top, r.width(), r.height()); break;
      }
    }
  }
  aligning_ = false;
}

void TWinControl::loaded() {
  TControl::loaded();
  if (align_due_ && align_level_ == 0) {
    align_due_ = false;
    realign();
  }
}

bool TWinControl::keyEvent(QEvent* event) {
  auto* ke = static_cast<QKeyEvent*>(event);
  TShiftState shift = shiftState(ke->modifiers(), Qt::NoButton);
  int key = virtualKey(ke->key());
  if (event->type() == QEvent::KeyRelease) {
    if (key && OnKeyUp) {
      fire(OnKeyUp, this, key, shift);
      return key == 0;
    }
    return false;
  }
  if (key && OnKeyDown) {
    std::weak_ptr<char> alive(alive_);
    fire(OnKeyDown, this, key, shift);
    if (key == 0 || alive.expired()) return true;  // the handler swallowed the key
  }
  constexpr int kVkF1 = 0x70;
  if (key == kVkF1)
    if (TForm* form = parentForm(this); form && form->helpFor(this)) return true;
  if (OnKeyPress) {
    // The character the platform passes: Ctrl+letter gives 1..26, Return 13, Escape 27.
    char ch = 0;
    int k = ke->key();
    if ((ke->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z)
      ch = static_cast<char>(k - Qt::Key_A + 1);
    else if (k == Qt::Key_Return || k == Qt::Key_Enter) ch = 13;
    else if (k == Qt::Key_Escape) ch = 27;
    else if (k == Qt::Key_Backspace) ch = 8;
    else if (ke->text().size() == 1 && ke->text()[0].unicode() < 128)
      ch = static_cast<char>(ke->text()[0].unicode());
    if (ch) {
      fire(OnKeyPress, this, ch);
      if (ch == 0) return true;
    }
  }
  return false;
}

bool TWinControl::handleEvent(QObject* target, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (target == widget()) return keyEvent(event);
      return false;
    case QEvent::FocusIn:
      if (target == widget()) fire(OnEnter, this);
      return false;
    case QEvent::FocusOut:
      if (target == widget()) fire(OnExit, this);
      return false;
    default: return TControl::handleEvent(target, event);
  }
}

}  // namespace kgui
