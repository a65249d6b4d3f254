// The control operations scripts and forms call by name: window handles and messages,
// coordinates, size checks with constraints, context menus, the mouse wheel, and the
// windowed controls' child operations (search, hit test, scaling, mirroring, scrolling,
// align suspension).
#include <QContextMenuEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/classes/handles.h"
#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/window_text_messages.h"

namespace kgui {

namespace {

// The platform's MulDiv: a * m / d rounded, halves away from zero, in 64 bits.
int mulDiv(int a, int m, int d) {
  const double q = static_cast<double>(a) * m / d;
  const double r = std::round(q);
  return static_cast<int>(std::clamp(r, -2147483648.0, 2147483647.0));
}

// The property that holds a control's window text: Text where the class has one.
const PropertyInfo* textProperty(const TControl& c) {
  const PropertyInfo* p = c.classInfo().findProperty("Text");
  return p && p->kind == PropKind::String ? p : nullptr;
}

}  // namespace

// ---- TControl ----

uint32_t TControl::handle() const {
  const uint32_t h = windowHandles().handleOf(this);
  if (!message_target_) {
    auto* self = const_cast<TControl*>(this);
    message_target_ = std::make_unique<AnsiMessageTarget>(
        [self](unsigned msg, uintptr_t wparam, intptr_t lparam) { return self->perform(msg, wparam, lparam); },
        [self] { return self->windowText(); });
    kestrin::platform::RegisterWindowAt(h, *message_target_);
  }
  return h;
}

std::string TControl::windowText() const {
  if (const PropertyInfo* p = textProperty(*this)) {
    PropValue v = p->get(*this);
    if (auto* s = std::get_if<std::string>(&v)) return *s;
  }
  return caption();
}

void TControl::setWindowText(const std::string& text) {
  const PropertyInfo* p = textProperty(*this);
  if (p && !p->readOnly()) p->set(*this, PropValue(text));
  else setCaption(text);
}

intptr_t TControl::perform(unsigned msg, uintptr_t wparam, intptr_t lparam) {
  switch (msg) {
    case WM_SETTEXT:
      setWindowText(lparam ? reinterpret_cast<const char*>(lparam) : "");
      return 1;
    case WM_GETTEXTLENGTH: return static_cast<intptr_t>(windowText().size());
    case WM_GETTEXT: {
      if (wparam == 0 || lparam == 0) return 0;
      const std::string text = windowText();
      const size_t n = std::min<size_t>(text.size(), wparam - 1);
      auto* buffer = reinterpret_cast<char*>(lparam);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
      return static_cast<intptr_t>(n);
    }
    default: return 0;  // WM_CLOSE closes forms only
  }
}

TPoint TControl::clientOrigin() const {
  auto* win = dynamic_cast<const TWinControl*>(this);
  QWidget* w = win ? win->container() : widget();
  if (w && w->isVisible()) {
    const QPoint p = w->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
  }
  TPoint p{0, 0};
  for (const TControl* at = this; at; at = at->parent()) {
    p.x += at->left();
    p.y += at->top();
  }
  return p;
}

TPoint TControl::clientToScreen(TPoint p) const {
  const TPoint o = clientOrigin();
  return {p.x + o.x, p.y + o.y};
}

TPoint TControl::screenToClient(TPoint p) const {
  const TPoint o = clientOrigin();
  return {p.x - o.x, p.y - o.y};
}

void TControl::setPopupMenu(TPopupMenu* menu) {
  if (popup_menu_) popup_menu_->removeFreeNotification(this);
  popup_menu_ = menu;
  if (menu) menu->freeNotification(this);
}

bool TControl::checkNewSize(int& width, int& height) {
  int w = width, h = height;
  bool resize = true;
  if (OnCanResize) fire(OnCanResize, this, w, h, resize);
  if (!resize) return false;
  // OnConstrainedResize may move the limits for this one size; they stay consistent.
  TSizeConstraints limits;
  limits.assign(*constraints_);
  if (OnConstrainedResize) {
    int min_w = limits.minWidth(), min_h = limits.minHeight(), max_w = limits.maxWidth(), max_h = limits.maxHeight();
    fire(OnConstrainedResize, this, min_w, min_h, max_w, max_h);
    limits.setMaxWidth(max_w);
    limits.setMaxHeight(max_h);
    limits.setMinWidth(min_w);
    limits.setMinHeight(min_h);
  }
  limits.constrain(w, h);
  width = w;
  height = h;
  return true;
}

void TControl::applyConstraints() {}

void TControl::changeScale(int multiplier, int divisor) {
  if (multiplier == divisor) return;
  const int x = mulDiv(left_, multiplier, divisor), y = mulDiv(top_, multiplier, divisor);
  const int w = mulDiv(left_ + width_, multiplier, divisor) - x;
  const int h = mulDiv(top_ + height_, multiplier, divisor) - y;
  setBounds(x, y, w, h);
  if (!parent_font_) font_->setSize(mulDiv(font_->size(), multiplier, divisor));
}

bool TControl::doMouseWheel(TShiftState shift, int wheel_delta, TPoint mouse_pos) {
  bool handled = false;
  if (OnMouseWheel) fire(OnMouseWheel, this, shift, wheel_delta, mouse_pos, handled);
  if (handled) return true;
  // Whole notches only; what is left waits for the next turn.
  constexpr int kWheelDelta = 120;
  wheel_accumulator_ += wheel_delta;
  while (std::abs(wheel_accumulator_) >= kWheelDelta) {
    const bool down = wheel_accumulator_ < 0;
    wheel_accumulator_ += down ? kWheelDelta : -kWheelDelta;
    handled = false;
    fire(down ? OnMouseWheelDown : OnMouseWheelUp, this, shift, mouse_pos, handled);
  }
  return handled;
}

bool TControl::wheelEvent(QEvent* event) {
  auto* we = static_cast<QWheelEvent*>(event);
  // Qt offers an event nobody took to each parent widget in turn, and the controls have
  // seen it already, from the one under the mouse up to its form: an event seen last,
  // arriving at a parent of the control that took it first, is that same event.
  static const QEvent* last_event = nullptr;
  static const TControl* last_origin = nullptr;
  static std::weak_ptr<char> last_alive;
  if (event == last_event && !last_alive.expired()) {
    for (const TControl* c = last_origin->parent(); c; c = c->parent())
      if (c == this) return false;
  }
  last_event = event;
  last_origin = this;
  last_alive = alive_;
  const TShiftState shift = shiftState(we->modifiers(), we->buttons());
  const QPoint g = we->globalPosition().toPoint();
  const int delta = we->angleDelta().y();
  if (delta == 0) return false;
  std::weak_ptr<char> alive(alive_);
  for (TControl* c = this; c; c = c->parent()) {
    std::weak_ptr<char> c_alive(c->alive_);
    const bool handled = c->doMouseWheel(shift, delta, {g.x(), g.y()});
    if (handled || c_alive.expired()) return true;
  }
  return alive.expired();
}

bool TControl::contextMenuEvent(QEvent* event) {
  auto* ce = static_cast<QContextMenuEvent*>(event);
  const bool by_keyboard = ce->reason() == QContextMenuEvent::Keyboard;
  const TPoint at = by_keyboard ? TPoint{-1, -1} : TPoint{ce->pos().x(), ce->pos().y()};
  std::weak_ptr<char> alive(alive_);
  bool handled = false;
  if (OnContextPopup) fire(OnContextPopup, this, at, handled);
  if (alive.expired()) return true;
  if (handled) return true;
  if (!popup_menu_) return false;  // the parent's menu, or the widget's own
  popup_menu_->setPopupComponent(this);
  const QPoint g = ce->globalPos();
  popup_menu_->popup(g.x(), g.y());
  return true;
}

// ---- TWinControl ----

void TWinControl::insertControl(TControl* c) {
  if (dynamic_cast<TWinControl*>(c)) {
    controls_.push_back(c);
    return;
  }
  auto first_win = std::find_if(controls_.begin(), controls_.end(),
                                [](TControl* x) { return dynamic_cast<TWinControl*>(x) != nullptr; });
  controls_.insert(first_win, c);
}

void TWinControl::disableAlign() { ++align_level_; }

void TWinControl::enableAlign() {
  if (align_level_ == 0 || --align_level_ > 0 || !align_due_) return;
  align_due_ = false;
  realign();
}

bool TWinControl::canFocus() const {
  TForm* form = parentForm(const_cast<TWinControl*>(this));
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->parent())
    if (!c->visible() || !c->enabled()) return false;
  return true;
}

bool TWinControl::containsControl(const TControl* c) const {
  for (const TControl* at = c; at; at = at->parent())
    if (at == this) return true;
  return false;
}

// Windowed children lie above the others: with Controls[] holding them last, the walk from
// the end meets them first, each kind from the top-most down.
TControl* TWinControl::controlAtPos(TPoint p, bool allow_disabled, bool allow_windowed) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->visible() || (!c->enabled() && !allow_disabled)) continue;
    if (!allow_windowed && dynamic_cast<TWinControl*>(c)) continue;
    const TRect r = c->boundsRect();
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return c;
  }
  return nullptr;
}

TControl* TWinControl::findChildControl(std::string_view name) const {
  for (TControl* c : controls_)
    if (!c->name().empty() && sameText(c->name(), name)) return c;
  return nullptr;
}

void TWinControl::scaleBy(int multiplier, int divisor) {
  if (divisor == 0) throw EPropertyError("Division by zero");
  changeScale(multiplier, divisor);
}

void TWinControl::changeScale(int multiplier, int divisor) {
  if (multiplier == divisor) return;
  disableAlign();
  for (TControl* c : std::vector<TControl*>(controls_)) c->changeScale(multiplier, divisor);
  TControl::changeScale(multiplier, divisor);
  enableAlign();
}

void TWinControl::flipChildren(bool all_levels) {
  if (controls_.empty()) return;
  disableAlign();
  const int cw = clientWidth();
  for (TControl* c : controls_) {
    if (c->align_ == alLeft) c->align_ = alRight;
    else if (c->align_ == alRight) c->align_ = alLeft;
    else if (c->align_ == alNone) c->storeBounds(cw - c->left_ - c->width_, c->top_, c->width_, c->height_);
    if (auto* w = dynamic_cast<TWinControl*>(c); w && all_levels) w->flipChildren(true);
  }
  align_due_ = true;
  enableAlign();
}

void TWinControl::scrollBy(int dx, int dy) {
  for (TControl* c : controls_) c->storeBounds(c->left_ + dx, c->top_ + dy, c->width_, c->height_);
}

}  // namespace kgui
