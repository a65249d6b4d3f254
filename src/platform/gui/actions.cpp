// Actions and their clients.
#include "platform/gui/actions.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/tool_bars.h"

namespace kgui {
namespace {

// Every action that exists, for the idle updates.
std::vector<TBasicAction*>& liveActions() {
  static std::vector<TBasicAction*> actions;
  return actions;
}

// Runs the idle updates each time the application's event loop is about to wait; made
// once per application object.
void installIdleHook() {
  static QPointer<QObject> hook;
  QCoreApplication* app = QCoreApplication::instance();
  if (hook || !app) return;
  auto* dispatcher = QAbstractEventDispatcher::instance(app->thread());
  if (!dispatcher) return;
  hook = new QObject(app);
  QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, hook, [] { updateActionsAtIdle(); });
}

}  // namespace

void updateActionsAtIdle() {
  static bool running = false;
  if (running) return;
  running = true;
  // An update may free actions: each is looked up again before it runs.
  const std::vector<TBasicAction*> actions = liveActions();
  for (TBasicAction* a : actions) {
    const auto& live = liveActions();
    if (std::find(live.begin(), live.end(), a) != live.end() && !a->clients().empty()) a->update();
  }
  running = false;
}

const ClassInfo& TBasicAction::staticClassInfo() {
  using T = TBasicAction;
  static const ClassInfo info("TBasicAction", &TComponent::staticClassInfo(),
                              {eventProp<T>("OnExecute", &T::OnExecute), eventProp<T>("OnUpdate", &T::OnUpdate)});
  return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {
  liveActions().push_back(this);
  installIdleHook();
}

TBasicAction::~TBasicAction() {
  auto& live = liveActions();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  setActionList(nullptr);
  // The clients forget the action through the free notification of the component.
  clients_.clear();
}

bool TBasicAction::askList(bool execute) {
  if (!list_) return false;
  const TActionEvent& handler = execute ? list_->OnExecute : list_->OnUpdate;
  bool handled = false;
  fire(handler, this, handled);
  return handled;
}

bool TBasicAction::execute() {
  if (askList(true)) return true;
  if (!OnExecute) return false;
  fire(OnExecute, this);
  return true;
}

bool TBasicAction::update() {
  if (askList(false)) return true;
  if (!OnUpdate) return false;
  fire(OnUpdate, this);
  return true;
}

void TBasicAction::setActionList(TActionList* list) {
  if (list == list_) return;
  if (list_) list_->removed(this);
  list_ = list;
  if (list_) list_->added(this);
}

void TBasicAction::setParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TActionList*>(parent)) return setActionList(list);
  // Directly under the form it is read into, an action belongs to no list.
  if (parent != owner()) throw EComponentError("Action " + name() + " lies outside an action list");
}

void TActionList::getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const {
  for (TBasicAction* action : actions_)
    if (action->owner() == root) proc(action);
}

int TBasicAction::index() const {
  if (!list_) return -1;
  for (int i = 0; i < list_->actionCount(); ++i)
    if (list_->actions(i) == this) return i;
  return -1;
}

void TBasicAction::registerClient(TComponent* client) {
  if (!client || std::find(clients_.begin(), clients_.end(), client) != clients_.end()) return;
  clients_.push_back(client);
  freeNotification(client);
  applyTo(client);
}

void TBasicAction::unregisterClient(TComponent* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
  removeFreeNotification(client);
}

void TBasicAction::notification(TComponent* c, Operation op) {
  TComponent::notification(c, op);
  if (op == Operation::Remove) clients_.erase(std::remove(clients_.begin(), clients_.end(), c), clients_.end());
}

const ClassInfo& TAction::staticClassInfo() {
  using T = TAction;
  static const ClassInfo info("TAction", &TBasicAction::staticClassInfo(),
                              {strProp<T>("Caption", &T::caption, &T::setCaption),
                               boolProp<T>("Checked", &T::checked, &T::setChecked, false),
                               boolProp<T>("Enabled", &T::enabled, &T::setEnabled, true),
                               strProp<T>("Hint", &T::hint, &T::setHint),
                               boolProp<T>("Visible", &T::visible, &T::setVisible, true),
                               eventProp<T>("OnHint", &T::OnHint)});
  return info;
}

TAction::TAction(TComponent* owner) : TBasicAction(owner) {}

// Only a change reaches the clients: an OnUpdate that sets the same state at every idle
// pass makes no work for the windows.
template <class V>
static bool changeTo(V& field, const V& value) {
  if (field == value) return false;
  field = value;
  return true;
}

void TAction::setCaption(const std::string& c) {
  if (changeTo(caption_, c)) applyAll();
}
void TAction::setEnabled(bool e) {
  if (changeTo(enabled_, e)) applyAll();
}
void TAction::setChecked(bool c) {
  if (changeTo(checked_, c)) applyAll();
}
void TAction::setVisible(bool v) {
  if (changeTo(visible_, v)) applyAll();
}
void TAction::setHint(const std::string& h) {
  if (changeTo(hint_, h)) applyAll();
}

bool TAction::doHint(std::string& hint) {
  bool can_show = true;
  fire(OnHint, hint, can_show);
  return can_show;
}

void TAction::applyAll() {
  for (TComponent* c : std::vector<TComponent*>(clients())) applyTo(c);
}

void TAction::applyTo(TComponent* client) {
  if (auto* item = dynamic_cast<TMenuItem*>(client)) {
    item->setCaption(caption_);
    item->setEnabled(enabled_);
    item->setChecked(checked_);
    item->setVisible(visible_);
    return;
  }
  auto* control = dynamic_cast<TControl*>(client);
  if (!control) return;
  control->setCaption(caption_);
  control->setEnabled(enabled_);
  control->setVisible(visible_);
  control->setHint(hint_);
  // A check box runs its click on a change of state, as from code: only a change is applied.
  if (auto* box = dynamic_cast<TCheckBox*>(control); box && box->checked() != checked_) box->setChecked(checked_);
  if (auto* radio = dynamic_cast<TRadioButton*>(control); radio && radio->checked() != checked_) radio->setChecked(checked_);
  if (auto* tool = dynamic_cast<TToolButton*>(control)) tool->setDown(checked_);
}

// ---- TActionList ----

const ClassInfo& TActionList::staticClassInfo() {
  using T = TActionList;
  static const ClassInfo info("TActionList", &TComponent::staticClassInfo(),
                              {eventProp<T>("OnChange", &T::OnChange), eventProp<T>("OnExecute", &T::OnExecute),
                               eventProp<T>("OnUpdate", &T::OnUpdate)});
  return info;
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

// The platform's list frees its actions with itself; each leaves its owner as it goes.
TActionList::~TActionList() {
  OnChange = nullptr;
  while (!actions_.empty()) delete actions_.back();
}

TBasicAction* TActionList::actions(int index) const {
  return index >= 0 && index < actionCount() ? actions_[static_cast<size_t>(index)] : nullptr;
}

void TActionList::added(TBasicAction* action) {
  actions_.push_back(action);
  fire(OnChange, this);
}

void TActionList::removed(TBasicAction* action) {
  actions_.erase(std::remove(actions_.begin(), actions_.end(), action), actions_.end());
  fire(OnChange, this);
}

}  // namespace kgui
