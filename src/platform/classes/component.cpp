// TComponent ownership, naming rules and free notification.
#include "platform/classes/component.h"

#include <algorithm>

#include "base/paths.h"

#include "platform/classes/kept_props.h"
#include "platform/classes/property_builders.h"

namespace kgui {

namespace {

// Names compare without case in ASCII letters only, as valid identifiers have no others.
std::string nameKey(std::string_view name) { return kestrin::to_lower_ascii(name); }

}  // namespace

bool isValidIdent(std::string_view name) {
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

const ClassInfo& TComponent::staticClassInfo() {
  static const ClassInfo info("TComponent", &TPersistent::staticClassInfo(),
                              {strProp<TComponent>("Name", &TComponent::getName, &TComponent::setName),
                               ordProp<TComponent, int>("Tag", PropKind::Integer, &TComponent::tag,
                                                       &TComponent::setTag, nullptr, 0)});
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->insertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Tell the linked components, last first; each removes its own link as it goes.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& back = other->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->notification(this, Operation::Remove);
  }
  destroyComponents();
  if (owner_) owner_->removeComponent(this);
  forgetKeptValues(*this);
}

void TComponent::destroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    if (!c->name_.empty()) by_name_.erase(nameKey(c->name_));
    delete c;
  }
}

TComponent* TComponent::components(int index) const {
  if (index < 0 || index >= componentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

int TComponent::componentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::setComponentIndex(int index) {
  if (!owner_) return;
  auto& list = owner_->components_;
  int count = static_cast<int>(list.size());
  index = std::clamp(index, 0, count - 1);
  list.erase(list.begin() + componentIndex());
  list.insert(list.begin() + index, this);
}

TComponent* TComponent::findComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  auto it = by_name_.find(nameKey(name));
  return it == by_name_.end() ? nullptr : it->second;
}

void TComponent::validateName(const std::string& name, const TComponent* owner) const {
  if (name.empty()) return;
  if (!isValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
  if (owner) {
    TComponent* other = owner->findComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
}

void TComponent::setName(const std::string& name) {
  if (name == name_) return;
  validateName(name, owner_);
  if (owner_ && !name_.empty()) owner_->by_name_.erase(nameKey(name_));
  name_ = name;
  if (owner_ && !name_.empty()) owner_->by_name_[nameKey(name_)] = this;
}

void TComponent::insertComponent(TComponent* c) {
  // The name must be valid and free among this owner's components before the component moves.
  c->validateName(c->name_, this);
  if (c->owner_) c->owner_->removeComponent(c);
  components_.push_back(c);
  if (!c->name_.empty()) by_name_[nameKey(c->name_)] = c;
  c->owner_ = this;
  notification(c, Operation::Insert);
}

void TComponent::removeComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  components_.erase(it);
  if (!c->name_.empty()) by_name_.erase(nameKey(c->name_));
  c->owner_ = nullptr;
  notification(c, Operation::Remove);
}

void TComponent::freeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end())
    free_notifies_.push_back(other);
  auto& back = other->free_notifies_;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::removeFreeNotification(TComponent* other) {
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), other),
                       free_notifies_.end());
  auto& back = other->free_notifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::notification(TComponent*, Operation) {}

void TComponent::setParentComponent(TComponent*) {}

void TComponent::getChildren(const std::function<void(TComponent*)>&, const TComponent*) const {}

}  // namespace kgui
