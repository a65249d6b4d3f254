// TMenuItem and TMainMenu: the item tree mirrored in QActions and QMenus.
#include "platform/gui/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cctype>

#include "platform/classes/handles.h"
#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/actions.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

const EnumInfo& findItemKindType() {
  static const EnumInfo info{"TFindItemKind", {"fkCommand", "fkHandle", "fkShortCut"}};
  return info;
}

const ClassInfo& TMenuItem::staticClassInfo() {
  using T = TMenuItem;
  static const ClassInfo info("TMenuItem", &TComponent::staticClassInfo(),
                              {strProp<T>("Caption", &T::caption, &T::setCaption),
                               boolProp<T>("Checked", &T::checked, &T::setChecked, false),
                               boolProp<T>("Enabled", &T::enabled, &T::setEnabled, true),
                               ordProp<T, int>("GroupIndex", PropKind::Integer, &T::groupIndex, &T::setGroupIndex, nullptr, 0),
                               ordProp<T, int>("HelpContext", PropKind::Integer, &T::helpContext, &T::setHelpContext, nullptr, 0),
                               strProp<T>("Hint", &T::hint, &T::setHint),
                               ordProp<T, int>("ShortCut", PropKind::Integer, &T::shortCut, &T::setShortCut, nullptr, 0),
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
  changed(false);
}

void TMenuItem::setEnabled(bool enabled) {
  enabled_ = enabled;
  action_->setEnabled(enabled);
  changed(false);
}

void TMenuItem::setChecked(bool checked) {
  checked_ = checked;
  action_->setCheckable(checked || action_->isCheckable());
  action_->setChecked(checked);
  changed(false);
}

void TMenuItem::setVisible(bool visible) {
  visible_ = visible;
  action_->setVisible(visible);
  changed(false);
}

void TMenuItem::setShortCut(int short_cut) {
  short_cut_ = short_cut;
  action_->setShortcut(QKeySequence(qtShortCut(short_cut)));
  changed(false);
}

void TMenuItem::setGroupIndex(int index) {
  group_index_ = index;
  changed(false);
}

void TMenuItem::setHint(const std::string& hint) {
  hint_ = hint;
  action_->setStatusTip(qs(hint));
  changed(false);
}

void TMenuItem::setParentComponent(TComponent* parent) {
  TMenuItem* into = dynamic_cast<TMenuItem*>(parent);
  if (auto* menu = dynamic_cast<TMenu*>(parent)) into = menu->items();
  if (!into) throw EComponentError("Menu item " + name() + " lies outside a menu");
  into->add(this);
}

void TMenuItem::getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const {
  for (TMenuItem* item : items_)
    if (item->owner() == root) proc(item);
}

void TMenuItem::add(TMenuItem* item) { insert(count(), item); }

void TMenuItem::insert(int index, TMenuItem* item) {
  if (item->parent_) item->parent_->remove(item);
  item->parent_ = this;
  items_.insert(items_.begin() + std::clamp(index, 0, count()), item);
  rebuildMenu();
  changed(true);
}

void TMenuItem::remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  rebuildMenu();
  changed(true);
}

int TMenuItem::indexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::rebuildMenu() {
  if (items_.empty()) {
    action_->setMenu(nullptr);
    delete submenu_;
    submenu_ = nullptr;
    return;
  }
  if (!submenu_) {
    submenu_ = new QMenu();
    action_->setMenu(submenu_);
  }
  submenu_->clear();
  for (TMenuItem* item : items_) submenu_->addAction(item->action_);
}

void TMenuItem::changed(bool rebuild) {
  const TMenuItem* top = this;
  while (top->parent_) top = top->parent_;
  if (top->menu_) top->menu_->itemChanged(top == this ? nullptr : this, rebuild);
}

TMenu* TMenuItem::parentMenu() const {
  const TMenuItem* top = this;
  while (top->parent_) top = top->parent_;
  return top->menu_;
}

// ---- separators and hot keys ----

TMenuItem* TMenuItem::newLine() {
  auto* line = new TMenuItem(this);
  line->setCaption("-");
  return line;
}

int TMenuItem::newTopLine() {
  if (items_.empty()) return 0;
  if (!items_.front()->isLine()) insert(0, newLine());
  items_.front()->setVisible(true);
  return 1;
}

int TMenuItem::newBottomLine() {
  if (items_.empty()) return 0;
  if (!items_.back()->isLine()) add(newLine());
  items_.back()->setVisible(true);
  return count();
}

int TMenuItem::insertNewLineBefore(TMenuItem* item) {
  int at = indexOf(item);
  if (at < 0) return -1;
  if (at > 0 && items_[static_cast<size_t>(at - 1)]->isLine()) {
    items_[static_cast<size_t>(at - 1)]->setVisible(true);
  } else {
    insert(at, newLine());
    ++at;
  }
  return at;
}

int TMenuItem::insertNewLineAfter(TMenuItem* item) {
  const int at = indexOf(item);
  if (at < 0) return -1;
  if (at + 1 < count() && items_[static_cast<size_t>(at + 1)]->isLine()) items_[static_cast<size_t>(at + 1)]->setVisible(true);
  else insert(at + 1, newLine());
  return at + 2;
}

namespace {

// The accelerator of a caption: the letter or digit after a single "&", upper-cased; 0
// when none ("&&" is a plain "&").
char hotkeyOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    return std::isalnum(c) && c < 0x80 ? static_cast<char>(std::toupper(c)) : 0;
  }
  return 0;
}

// The caption without its accelerator marks ("&&" stays).
std::string withoutHotkey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
      out += "&&";
      ++i;
    } else if (caption[i] != '&') {
      out += caption[i];
    }
  }
  return out;
}

}  // namespace

bool TMenuItem::rethinkHotkeys() {
  std::string used;
  bool any = false;
  for (TMenuItem* item : items_) {
    if (item->isLine() || item->caption_.empty()) continue;
    const char key = hotkeyOf(item->caption_);
    if (key && used.find(key) == std::string::npos) {
      used += key;
      continue;
    }
    std::string caption = withoutHotkey(item->caption_);
    for (size_t i = 0; i < caption.size(); ++i) {
      if (caption[i] == '&') {
        ++i;  // a plain "&"
        continue;
      }
      const auto c = static_cast<unsigned char>(caption[i]);
      const char upper = static_cast<char>(std::toupper(c));
      if (c < 0x80 && std::isalnum(c) && used.find(upper) == std::string::npos) {
        caption.insert(i, "&");
        used += upper;
        break;
      }
    }
    if (caption != item->caption_) {
      item->setCaption(caption);
      any = true;
    }
  }
  return any;
}

bool TMenuItem::rethinkLines() {
  bool any = false;
  auto show = [&](TMenuItem* line, bool visible) {
    if (line->visible_ == visible) return;
    line->setVisible(visible);
    any = true;
  };
  TMenuItem* pending = nullptr;  // a line after a visible item, shown when another follows
  bool seen_item = false;
  for (TMenuItem* item : items_) {
    if (item->isLine()) {
      if (!seen_item || pending) show(item, false);  // leading or doubled
      else pending = item;
      continue;
    }
    if (!item->visible_) continue;
    if (pending) show(pending, true);
    pending = nullptr;
    seen_item = true;
  }
  if (pending) show(pending, false);  // trailing
  return any;
}

void TMenuItem::initiateAction() {
  if (linked_action_) linked_action_->update();
}

// ---- TMenu ----

const ClassInfo& TMenu::staticClassInfo() {
  // Left and Top: where the designer shows the menu; kept and written back.
  static const ClassInfo info("TMenu", &TComponent::staticClassInfo(),
                              {keptProp("Left", PropKind::Integer), keptProp("Top", PropKind::Integer),
                               eventProp<TMenu>("OnChange", &TMenu::OnChange)});
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(nullptr)) { root_->menu_ = this; }

TMenu::~TMenu() {
  root_->menu_ = nullptr;
  delete root_;
}

namespace {

// Depth first, the item before its sub-items; the root itself is not searched.
TMenuItem* findIn(const TMenuItem* parent, int64_t value, TFindItemKind kind) {
  for (int i = 0; i < parent->count(); ++i) {
    TMenuItem* item = parent->items(i);
    int64_t key = 0;
    switch (kind) {
      case fkCommand: key = menuCommands().find(item); break;
      case fkHandle: key = windowHandles().find(item); break;
      case fkShortCut: key = item->shortCut(); break;
    }
    if (key != 0 && key == value) return item;
    if (TMenuItem* found = findIn(item, value, kind)) return found;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMenu::findItem(int64_t value, TFindItemKind kind) const { return findIn(root_, value, kind); }

bool TMenu::dispatchCommand(uint32_t command) {
  TMenuItem* item = findItem(command, fkCommand);
  if (!item) return false;
  item->click();
  return true;
}

bool TMenu::dispatchPopup(uint32_t handle) {
  TMenuItem* item = findItem(handle, fkHandle);
  if (!item) return false;
  item->initiateAction();
  item->click();
  return true;
}

int TMenu::getHelpContext(int64_t value, bool by_command) const {
  for (TMenuItem* item = findItem(value, by_command ? fkCommand : fkHandle); item; item = item->parentItem())
    if (item->helpContext() != 0) return item->helpContext();
  return 0;
}

void TMenu::itemChanged(TMenuItem* source, bool rebuild) { fire(OnChange, this, source, rebuild); }

// ---- TMainMenu ----

const ClassInfo& TMainMenu::staticClassInfo() {
  static const ClassInfo info("TMainMenu", &TMenu::staticClassInfo());
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  unmerge(merged_);
  if (merged_into_) merged_into_->unmerge(this);
  attach(nullptr);
}

void TMainMenu::attach(QMenuBar* bar) {
  if (bar_ && bar_ != bar) bar_->clear();
  bar_ = bar;
  rebuildBar();
}

std::vector<TMenuItem*> TMainMenu::shownItems() const {
  std::vector<TMenuItem*> shown;
  for (int i = 0; i < root_->count(); ++i) shown.push_back(root_->items(i));
  if (!merged_) return shown;
  const TMenuItem* theirs = merged_->items();
  auto taken = [&](const TMenuItem* mine) {
    for (int i = 0; i < theirs->count(); ++i)
      if (theirs->items(i)->groupIndex() == mine->groupIndex()) return true;
    return false;
  };
  shown.erase(std::remove_if(shown.begin(), shown.end(), taken), shown.end());
  for (int i = 0; i < theirs->count(); ++i) {
    TMenuItem* item = theirs->items(i);
    auto at = std::find_if(shown.begin(), shown.end(), [&](const TMenuItem* m) { return m->groupIndex() > item->groupIndex(); });
    shown.insert(at, item);
  }
  return shown;
}

void TMainMenu::rebuildBar() {
  if (!bar_) return;
  bar_->clear();
  for (TMenuItem* item : shownItems()) bar_->addAction(item->action());
}

void TMainMenu::merge(TMainMenu* menu) {
  if (!menu || menu == this || menu == merged_) return;
  unmerge(merged_);
  if (menu->merged_into_) menu->merged_into_->unmerge(menu);
  merged_ = menu;
  menu->merged_into_ = this;
  menu->freeNotification(this);
  rebuildBar();
}

void TMainMenu::unmerge(TMainMenu* menu) {
  if (!menu || menu != merged_) return;
  merged_->removeFreeNotification(this);
  merged_->merged_into_ = nullptr;
  merged_ = nullptr;
  rebuildBar();
}

TMenuItem* TMainMenu::findItem(int64_t value, TFindItemKind kind) const {
  if (merged_)
    if (TMenuItem* found = merged_->findItem(value, kind)) return found;
  return TMenu::findItem(value, kind);
}

void TMainMenu::itemChanged(TMenuItem* source, bool rebuild) {
  if (rebuild || !source || source->parentItem() == root_) {
    rebuildBar();
    if (merged_into_) merged_into_->rebuildBar();
  }
  TMenu::itemChanged(source, rebuild);
}

void TMainMenu::notification(TComponent* c, Operation op) {
  TMenu::notification(c, op);
  if (op != Operation::Remove) return;
  if (c == merged_into_) merged_into_ = nullptr;
  if (c == merged_) {
    merged_ = nullptr;
    rebuildBar();
  }
}

// ---- TPopupMenu ----

const ClassInfo& TPopupMenu::staticClassInfo() {
  using T = TPopupMenu;
  static const ClassInfo info("TPopupMenu", &TMenu::staticClassInfo(), {eventProp<T>("OnPopup", &T::OnPopup)});
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

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
  TMenu::notification(c, op);
  if (op == Operation::Remove && c == popup_component_) popup_component_ = nullptr;
}

}  // namespace kgui
