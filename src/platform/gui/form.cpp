// TForm: outer geometry with a fixed frame, the client area below the menu bar, showing,
// and the close sequence that ends the application only for the main form.
#include "platform/gui/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/app.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/printer.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/std_controls.h"

namespace kgui {

const ClassInfo& TForm::staticClassInfo() {
  using T = TForm;
  static const ClassInfo info(
      "TForm", &TWinControl::staticClassInfo(),
      {strProp<T>("Caption", &T::caption, &T::setCaption),
       // The client size is written only while the outer size holds the whole frame (and the
       // menu): below that it reads 0 and would not give the outer size back; Width and
       // Height alone do.
       [] {
         auto p = ordProp<T, int>("ClientWidth", PropKind::Integer, &T::clientWidth, &T::setClientWidth);
         p.stored = [](const TPersistent& o) { return static_cast<const T&>(o).width() >= kFormFrameWidth; };
         return p;
       }(),
       [] {
         auto p = ordProp<T, int>("ClientHeight", PropKind::Integer, &T::clientHeight, &T::setClientHeight);
         p.stored = [](const TPersistent& o) {
           const T& form = static_cast<const T&>(o);
           return form.height() >= kFormFrameHeight + form.menuHeight();
         };
         return p;
       }(),
       [] {
         // Written always, as the designer writes a form's colour.
         auto p = ordProp<T, TColor>("Color", PropKind::Integer, &T::color, &T::setColor);
         p.ident_map = &colorIdents();
         return p;
       }(),
       boolProp<T>("Visible", &T::visible, &T::setVisible, false),
       [] {
         // A reference: writing sets the form's menu (nil removes it), never copies one.
         PropertyInfo p;
         p.name = "Menu";
         p.kind = PropKind::Class;
         p.get = [](const TPersistent& o) { return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).menu())); };
         p.set = [](TPersistent& o, const PropValue& v) {
           auto* const* menu = std::get_if<TPersistent*>(&v);
           TPersistent* target = menu ? *menu : nullptr;
           if (target && !dynamic_cast<TMainMenu*>(target)) throw EPropertyError("Invalid property value");
           static_cast<T&>(o).setMenu(static_cast<TMainMenu*>(target));
         };
         return p;
       }(),
       [] {
         PropertyInfo p;
         p.name = "ActiveControl";
         p.kind = PropKind::Class;
         p.get = [](const TPersistent& o) {
           return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).activeControl()));
         };
         p.set = [](TPersistent& o, const PropValue& v) {
           auto* const* target = std::get_if<TPersistent*>(&v);
           auto* control = target ? dynamic_cast<TWinControl*>(*target) : nullptr;
           if (target && *target && !control) throw EPropertyError("Invalid property value");
           static_cast<T&>(o).setActiveControl(control);
         };
         return p;
       }(),
       // The designer's settings Kestrin's windows have no use for are kept and written back;
       // Position also places the window when it is first shown.
       keptProp("AutoScroll", PropKind::Enumeration, &booleanType(), nullptr, PropValue(int64_t{1})),
       keptProp("BorderIcons", PropKind::Set, &borderIconType(), nullptr, PropValue(int64_t{7})),
       keptProp("BorderStyle", PropKind::Enumeration, &formBorderStyleType(), nullptr, PropValue(int64_t{bsSizeable})),
       keptProp("OldCreateOrder", PropKind::Enumeration, &booleanType()),
       keptProp("Position", PropKind::Enumeration, &positionType()),
       keptProp("PixelsPerInch", PropKind::Integer, nullptr, nullptr, PropValue(int64_t{96})),
       keptProp("Scaled", PropKind::Enumeration, &booleanType(), nullptr, PropValue(int64_t{1})),
       keptProp("TextHeight", PropKind::Integer, nullptr, nullptr, PropValue(int64_t{13})),
       keptProp("WindowState", PropKind::Enumeration, &windowStateType()),
       eventProp<T>("OnActivate", &T::OnActivate), eventProp<TControl>("OnCanResize", &TControl::OnCanResize),
       eventProp<T>("OnClose", &T::OnClose), eventProp<T>("OnCloseQuery", &T::OnCloseQuery),
       eventProp<TControl>("OnConstrainedResize", &TControl::OnConstrainedResize),
       eventProp<T>("OnCreate", &T::OnCreate), eventProp<T>("OnDeactivate", &T::OnDeactivate),
       eventProp<T>("OnDestroy", &T::OnDestroy), eventProp<T>("OnHelp", &T::OnHelp),
       eventProp<T>("OnHide", &T::OnHide), eventProp<TControl>("OnMouseWheel", &TControl::OnMouseWheel),
       eventProp<TControl>("OnMouseWheelDown", &TControl::OnMouseWheelDown),
       eventProp<TControl>("OnMouseWheelUp", &TControl::OnMouseWheelUp), eventProp<T>("OnShow", &T::OnShow)});
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner, new QWidget(nullptr, Qt::Window)) {
  client_ = new QWidget(widget());
  client_->show();
  watch(client_);
  click_on_release_ = true;
  TControl::setVisible(false);
  applyColor();
  applyFont();
  setBounds(0, 0, 320 + kFormFrameWidth, 240 + kFormFrameHeight);
}

TForm::~TForm() {
  fire(OnDestroy, this);
  if (menu_) menu_->attach(nullptr);
}

// The outer size for a client size: a negative client size counts as none, and the sum stays
// within int.
static int outerSize(int client, int frame) {
  return static_cast<int>(std::min<int64_t>(int64_t{std::max(0, client)} + frame, INT_MAX));
}

void TForm::setClientWidth(int w) {
  if (loading()) pending_client_w_ = w;
  else setWidth(outerSize(w, kFormFrameWidth));
}

void TForm::setClientHeight(int h) {
  if (loading()) pending_client_h_ = h;
  else setHeight(outerSize(h, kFormFrameHeight + menuHeight()));
}

// The TabOrder values read with the controls, set again once every control has its parent,
// so each parent's focus chain follows them.
static void reapplyTabOrder(TWinControl* parent) {
  for (int i = 0; i < parent->controlCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(parent->controls(i));
    if (!c) continue;
    const PropertyInfo* p = c->classInfo().findProperty("TabOrder");
    if (p && p->stored && p->stored(*c)) p->set(*c, p->get(*c));
    reapplyTabOrder(c);
  }
}

void TForm::loaded() {
  TWinControl::loaded();
  if (pending_client_w_) setClientWidth(*pending_client_w_);
  if (pending_client_h_) setClientHeight(*pending_client_h_);
  pending_client_w_.reset();
  pending_client_h_.reset();
  reapplyTabOrder(this);
}

void TForm::getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const {
  TWinControl::getChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < componentCount(); ++i)
    if (!components(i)->hasParent()) proc(components(i));
}

int TForm::menuHeight() const { return menu_bar_ ? menu_bar_->sizeHint().height() : 0; }

int TForm::clientWidth() const { return std::max(0, width() - kFormFrameWidth); }

int TForm::clientHeight() const {
  return std::max(0, height() - kFormFrameHeight - menuHeight());
}

void TForm::layoutClient() {
  int mh = menuHeight();
  int w = clientWidth();
  if (menu_bar_) menu_bar_->setGeometry(0, 0, w, mh);
  client_->setGeometry(0, mh, w, clientHeight());
}

void TForm::applyBounds() {
  QWidget* w = widget();
  if (!w) return;
  syncing_ = true;
  w->move(left(), top());
  w->resize(clientWidth(), clientHeight() + menuHeight());
  layoutClient();
  syncing_ = false;
}

void TForm::windowGeometryChanged() {
  QWidget* w = widget();
  if (!w || syncing_) return;
  int outer_w = w->width() + kFormFrameWidth;
  int outer_h = w->height() + kFormFrameHeight;
  if (outer_w == width() && outer_h == height() && w->x() == left() && w->y() == top()) return;
  storeBounds(w->x(), w->y(), outer_w, outer_h);
}

void TForm::applyCaption() {
  if (widget()) widget()->setWindowTitle(qs(caption()));
}

void TForm::applyColor() {
  if (!widget()) return;
  QPalette pal = client_->palette();
  pal.setColor(QPalette::Window, toQColor(color()));
  client_->setPalette(pal);
  client_->setAutoFillBackground(true);
}

// Position: a centred form goes to the middle of the screen (or of the main form) when it
// is first shown; the others stay where their bounds put them.
void TForm::placeOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  const PropertyInfo* position = classInfo().findProperty("Position");
  const PropValue kept = position ? position->get(*this) : PropValue();
  const auto* at = std::get_if<int64_t>(&kept);
  const int64_t value = at ? *at : int64_t{poDesigned};
  TApplication* app = TApplication::instance();
  TForm* main = app ? app->mainForm() : nullptr;
  QRect area;
  if (value == poMainFormCenter && main && main != this && main->widget()) area = main->widget()->frameGeometry();
  else if (value == poScreenCenter || value == poDesktopCenter || value == poMainFormCenter || value == poOwnerFormCenter)
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
  if (area.isEmpty()) return;
  setBounds(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2, width(), height());
}

void TForm::setVisible(bool visible) {
  if (visible) placeOnFirstShow();
  TControl::setVisible(visible);
  QWidget* w = widget();
  if (!w) return;
  if (visible) {
    w->show();
    w->raise();
    w->activateWindow();
  } else {
    w->hide();
  }
}

void TForm::showForm() { setVisible(true); }

void TForm::doCreate() { fire(OnCreate, this); }

void TForm::close() {
  if (widget()) widget()->close();
}

bool TForm::closeRequested() {
  bool can_close = true;
  fire(OnCloseQuery, this, can_close);
  if (!can_close) return false;
  // Closing a dialog answers it as cancelled.
  if (modal_result_ == mrNone) setModalResult(mrCancel);
  if (modal_loop_) {
    TControl::setVisible(false);
    return true;
  }
  int action = caHide;
  fire(OnClose, this, action);
  if (action == caNone) return false;
  TApplication* app = TApplication::instance();
  if (app && app->mainForm() == this) {
    app->terminate();
    return true;
  }
  if (action == caMinimize) {
    widget()->showMinimized();
    return false;
  }
  TControl::setVisible(false);
  if (action == caFree) {
    // Freed once the close event is over, as the platform's Release.
    QTimer::singleShot(0, widget(), [this] { delete this; });
  }
  return true;
}

// Walks the form's controls for the first visible, enabled button of the kind asked.
static TButton* findButton(TWinControl* parent, bool want_default) {
  for (int i = 0; i < parent->controlCount(); ++i) {
    TControl* c = parent->controls(i);
    if (auto* b = dynamic_cast<TButton*>(c)) {
      if ((want_default ? b->isDefault() : b->cancel()) && b->visible() && b->enabled()) return b;
    } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TButton* found = findButton(w, want_default)) return found;
    }
  }
  return nullptr;
}

bool TForm::dialogKey(QEvent* event) {
  auto* ke = static_cast<QKeyEvent*>(event);
  const int key = ke->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (!enter && key != Qt::Key_Escape) return false;
  TButton* button = findButton(this, enter);
  if (!button) return false;
  ke->accept();
  button->click();
  return true;
}

int TForm::showModal() {
  QWidget* w = widget();
  modal_result_ = mrNone;
  if (w->isVisible()) w->hide();  // the modality of a shown window cannot change
  w->setWindowModality(Qt::ApplicationModal);
  showForm();
  QEventLoop loop;
  modal_loop_ = &loop;
  TApplication* app = TApplication::instance();
  while (modal_result_ == mrNone && !(app && app->terminated())) loop.exec();
  modal_loop_ = nullptr;
  TControl::setVisible(false);
  w->hide();
  w->setWindowModality(Qt::NonModal);
  return modal_result_;
}

void TForm::print() {
  QWidget* w = widget();
  if (!w) return;
  const QPixmap image = w->grab();
  TPrinter& p = printer();
  p.beginDoc();
  double scale = p.qprinter().resolution() / 96.0;
  if (image.width() * scale > p.pageWidth()) scale = p.pageWidth() / static_cast<double>(std::max(1, image.width()));
  p.painter().drawPixmap(QRectF(0, 0, image.width() * scale, image.height() * scale), image, QRectF(image.rect()));
  p.endDoc();
}

void TForm::setModalResult(int result) {
  modal_result_ = result;
  if (modal_loop_ && result != mrNone) modal_loop_->quit();
}

TForm* parentForm(TControl* control) {
  for (TControl* c = control; c; c = c->parent())
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  return nullptr;
}

// The window limits follow the constraints, which are outer sizes (the window widget is
// the form less its frame).
void TForm::applyConstraints() {
  QWidget* w = widget();
  if (!w) return;
  const TSizeConstraints& c = *constraints();
  const int extra_h = kFormFrameHeight;
  w->setMinimumSize(std::max(0, c.minWidth() - kFormFrameWidth), std::max(0, c.minHeight() - extra_h));
  w->setMaximumSize(c.maxWidth() > 0 ? std::max(0, c.maxWidth() - kFormFrameWidth) : QWIDGETSIZE_MAX,
                    c.maxHeight() > 0 ? std::max(0, c.maxHeight() - extra_h) : QWIDGETSIZE_MAX);
}

intptr_t TForm::perform(unsigned msg, uintptr_t wparam, intptr_t lparam) {
  if (msg != WM_CLOSE) return TWinControl::perform(msg, wparam, lparam);
  if (widget() && widget()->isVisible()) close();
  else closeRequested();
  return 0;
}

bool TForm::requestHelp(int context) {
  if (!OnHelp) return false;
  bool call_help = true, taken = false;
  guarded([&] { taken = OnHelp(HELP_CONTEXT, context, call_help); });
  return taken;
}

bool TForm::helpFor(TControl* control) {
  int context = 0;
  for (TControl* c = control; c && !context; c = c->parent()) context = c->helpContext();
  return context != 0 && requestHelp(context);
}

bool TForm::handleEvent(QObject* target, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (target == client_ || target == widget()) && dialogKey(event)) return true;

  if (target == widget()) {
    switch (event->type()) {
      case QEvent::Close:
        if (!closeRequested()) {
          event->ignore();
          return true;
        }
        return false;
      case QEvent::Resize:
      case QEvent::Move:
        windowGeometryChanged();
        if (event->type() == QEvent::Resize) fire(OnResize, this);
        return false;
      case QEvent::Show: fire(OnShow, this); return false;
      case QEvent::Hide: fire(OnHide, this); return false;
      case QEvent::WindowActivate: fire(OnActivate, this); return false;
      case QEvent::WindowDeactivate: fire(OnDeactivate, this); return false;
      default: break;
    }
  }
  return TWinControl::handleEvent(target, event);
}

void TForm::setMenu(TMainMenu* menu) {
  if (menu_) menu_->attach(nullptr);
  menu_ = menu;
  if (menu) {
    if (!menu_bar_) menu_bar_ = new QMenuBar(widget());
    menu_bar_->show();
    menu->attach(menu_bar_);
    menu->setWindowHandle(handle());  // the form gets the menu's commands
    menu->freeNotification(this);
  } else if (menu_bar_) {
    delete menu_bar_;
    menu_bar_ = nullptr;
  }
  applyBounds();
  clientResized();
}

// The control among the form's that owns the widget, searched through every level.
static TWinControl* controlOfWidget(TWinControl* parent, QWidget* w) {
  for (int i = 0; i < parent->controlCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(parent->controls(i));
    if (!c) continue;
    if (c->widget() == w || (c->widget() && c->widget()->isAncestorOf(w) && c->controlCount() == 0)) return c;
    if (TWinControl* inner = controlOfWidget(c, w)) return inner;
  }
  return nullptr;
}

TWinControl* TForm::activeControl() const {
  QWidget* focus = widget() ? widget()->focusWidget() : nullptr;
  return focus ? controlOfWidget(const_cast<TForm*>(this), focus) : nullptr;
}

void TForm::setActiveControl(TWinControl* control) {
  if (control && parentForm(control) == this) control->setFocus();
}

void TForm::notification(TComponent* c, Operation op) {
  TWinControl::notification(c, op);
  if (op == Operation::Remove && c == menu_) {
    menu_ = nullptr;
    delete menu_bar_;
    menu_bar_ = nullptr;
  }
}

}  // namespace kgui
