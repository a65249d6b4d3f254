// TMenuItem and TMainMenu: the item tree mirrored in QActions and QMenus.
#include "platform/gui/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "platform/classes/handles.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/actions.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

const ClassInfo& TMenuItem::staticClassInfo() {
  using T = TMenuItem;
  static const ClassInfo info("TMenuItem", &TComponent::staticClassInfo(),
                              {strProp<T>("Caption", &T::caption, &T::setCaption),
                               boolProp<T>("Checked", &T::checked, &T::setChecked, false),
                               boolProp<T>("Enabled", &T::enabled, &T::setEnabled, true),
                               boolProp<T>("Visible", &T::visible, &T::setVisible, true),
                               eventProp<T>("OnClick", &T::OnClick)});
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), action_(new QAction()) {
  QObject::connect(action_, &QAction::triggered, [this] { click(); });
}

TMenuItem::~TMenuItem() {
  windowHandles().release(this);
  menuCommands().release(this);
  if (parent_) parent_->remove(this);
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  // OnClick may free its own item while the action is still emitting.
  if (handlerDepth() > 0) {
    action_->disconnect();
    action_->deleteLater();
    if (submenu_) submenu_->deleteLater();
  } else {
    delete submenu_;
    delete action_;
  }
}

uint32_t TMenuItem::command() const { return menuCommands().handleOf(this); }

uint32_t TMenuItem::handle() const { return windowHandles().handleOf(this); }

void TMenuItem::click() {
  if (OnClick) fire(OnClick, this);
  else if (linked_action_) linked_action_->execute();
}

void TMenuItem::setLinkedAction(TBasicAction* action) {
  if (linked_action_) linked_action_->unregisterClient(this);
  linked_action_ = action;
  if (linked_action_) linked_action_->registerClient(this);
}

void TMenuItem::notification(TComponent* c, Operation op) {
  TComponent::notification(c, op);
  if (op == Operation::Remove && c == linked_action_) linked_action_ = nullptr;
}

void TMenuItem::setCaption(const std::string& caption) {
  caption_ = caption;
  action_->setSeparator(caption == "-");
  action_->setText(qs(caption));  // Qt reads "&" as the platform does
}

void TMenuItem::setEnabled(bool enabled) {
  enabled_ = enabled;
  action_->setEnabled(enabled);
}

void TMenuItem::setChecked(bool checked) {
  checked_ = checked;
  action_->setCheckable(checked || action_->isCheckable());
  action_->setChecked(checked);
}

void TMenuItem::setVisible(bool visible) {
  visible_ = visible;
  action_->setVisible(visible);
}

void TMenuItem::setParentComponent(TComponent* parent) {
  TMenuItem* into = dynamic_cast<TMenuItem*>(parent);
  if (auto* main = dynamic_cast<TMainMenu*>(parent)) into = main->items();
  if (auto* popup = dynamic_cast<TPopupMenu*>(parent)) into = popup->items();
  if (!into) throw EComponentError("Menu item " + name() + " lies outside a menu");
  into->add(this);
}

void TMenuItem::getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const {
  for (TMenuItem* item : items_)
    if (item->owner() == root) proc(item);
}

void TMenuItem::add(TMenuItem* item) {
  if (item->parent_) item->parent_->remove(item);
  item->parent_ = this;
  items_.push_back(item);
  rebuildMenu();
}

void TMenuItem::remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  rebuildMenu();
}

void TMenuItem::rebuildMenu() {
  if (items_.empty()) {
    action_->setMenu(nullptr);
    delete submenu_;
    submenu_ = nullptr;
  } else {
    if (!submenu_) {
      submenu_ = new QMenu();
      action_->setMenu(submenu_);
    }
    submenu_->clear();
    for (TMenuItem* item : items_) submenu_->addAction(item->action_);
  }
  if (on_top_changed_) on_top_changed_();
}

const ClassInfo& TMainMenu::staticClassInfo() {
  static const ClassInfo info("TMainMenu", &TComponent::staticClassInfo());
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(nullptr)) {
  root_->on_top_changed_ = [this] { rebuildBar(); };
}

TMainMenu::~TMainMenu() {
  attach(nullptr);
  delete root_;
}

void TMainMenu::attach(QMenuBar* bar) {
  if (bar_ && bar_ != bar) bar_->clear();
  bar_ = bar;
  rebuildBar();
}

void TMainMenu::rebuildBar() {
  if (!bar_) return;
  bar_->clear();
  for (int i = 0; i < root_->count(); ++i) bar_->addAction(root_->items(i)->action());
}

// ---- TPopupMenu ----

const ClassInfo& TPopupMenu::staticClassInfo() {
  using T = TPopupMenu;
  static const ClassInfo info("TPopupMenu", &TComponent::staticClassInfo(), {eventProp<T>("OnPopup", &T::OnPopup)});
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() { delete root_; }

void TPopupMenu::popup(int x, int y) {
  fire(OnPopup, this);
  if (root_->submenu_) root_->submenu_->popup(QPoint(x, y));
}

void TPopupMenu::setPopupComponent(TComponent* c) {
  if (popup_component_) removeFreeNotification(popup_component_);
  popup_component_ = c;
  if (c) freeNotification(c);
}

void TPopupMenu::notification(TComponent* c, Operation op) {
  TComponent::notification(c, op);
  if (op == Operation::Remove && c == popup_component_) popup_component_ = nullptr;
}

}  // namespace kgui
