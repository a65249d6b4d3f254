// Actions and their clients.
#include "platform/gui/actions.h"

#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"

namespace kgui {

const ClassInfo& TBasicAction::staticClassInfo() {
  using T = TBasicAction;
  static const ClassInfo info("TBasicAction", &TComponent::staticClassInfo(),
                              {eventProp<T>("OnExecute", &T::OnExecute), eventProp<T>("OnUpdate", &T::OnUpdate)});
  return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  // The clients forget the action through the free notification of the component.
  clients_.clear();
}

bool TBasicAction::execute() {
  if (!OnExecute) return false;
  fire(OnExecute, this);
  return true;
}

bool TBasicAction::update() {
  if (!OnUpdate) return false;
  fire(OnUpdate, this);
  return true;
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
                               boolProp<T>("Visible", &T::visible, &T::setVisible, true)});
  return info;
}

TAction::TAction(TComponent* owner) : TBasicAction(owner) {}

void TAction::setCaption(const std::string& c) {
  caption_ = c;
  applyAll();
}
void TAction::setEnabled(bool e) {
  enabled_ = e;
  applyAll();
}
void TAction::setChecked(bool c) {
  checked_ = c;
  applyAll();
}
void TAction::setVisible(bool v) {
  visible_ = v;
  applyAll();
}
void TAction::setHint(const std::string& h) {
  hint_ = h;
  applyAll();
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
}

}  // namespace kgui
