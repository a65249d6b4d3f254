// Components: owned objects with a unique name per owner, a Components[] list, free
// notification, a Tag and a separate link for the script wrapper.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/classes/persistent.h"

namespace kgui {

enum class Operation { Insert, Remove };

class TComponent : public TPersistent {
public:
  // The owner keeps the component in its Components[] list and destroys it with itself.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TComponent* owner() const { return owner_; }
  const std::string& name() const { return name_; }
  // Empty, or a valid identifier unique among the owner's components (without case).
  // Throws EComponentError with the platform's messages.
  virtual void setName(const std::string& name);
  std::string getName() const { return name_; }

  int componentCount() const { return static_cast<int>(components_.size()); }
  TComponent* components(int index) const;
  int componentIndex() const;
  void setComponentIndex(int index);
  TComponent* findComponent(std::string_view name) const;
  void insertComponent(TComponent* c);
  void removeComponent(TComponent* c);

  // After FreeNotification(other), each is told when the other is destroyed.
  void freeNotification(TComponent* other);
  void removeFreeNotification(TComponent* other);
  bool destroying() const { return destroying_; }

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  // The script wrapper bound to this component; kept apart from Tag, which stays the user's.
  void* wrapperLink() const { return wrapper_link_; }
  void setWrapperLink(void* link) { wrapper_link_ = link; }

  // Form reading: true from the moment a reader creates or fills the component until its
  // loaded(). Setters of properties that depend on others (an index into items read
  // later, a position within limits read later) keep the value until then.
  bool loading() const { return loading_; }
  void setLoading() { loading_ = true; }
  // Called once the whole description is read and references are resolved; applies what
  // the setters kept.
  virtual void loaded() { loading_ = false; }
  // Whether the component lives inside another one (a control in its parent, an item in
  // its menu); such components are written under that parent.
  virtual bool hasParent() const { return false; }
  // Places the component inside the component whose block encloses it in a form
  // description; the base ignores it. Throws EComponentError when it cannot go there.
  virtual void setParentComponent(TComponent* parent);
  // The components written nested under this one, those owned by root only, in order.
  virtual void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const;

protected:
  // Called on the owner when a component is inserted or removed, and on every linked
  // component when one is destroyed (Remove).
  virtual void notification(TComponent* c, Operation op);
  // Destroys the owned components, last first; derived destructors may call it early.
  void destroyComponents();

private:
  // Throws when name is not a valid identifier or another of owner's components has it.
  void validateName(const std::string& name, const TComponent* owner) const;

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  // The named ones among them by name without case: a form read with thousands of
  // components checks each new name without a pass over all the others.
  std::unordered_map<std::string, TComponent*> by_name_;
  std::vector<TComponent*> free_notifies_;
  int tag_ = 0;
  void* wrapper_link_ = nullptr;
  bool destroying_ = false;
  bool loading_ = false;
};

class EComponentError : public EPropertyError {
public:
  using EPropertyError::EPropertyError;
};

bool isValidIdent(std::string_view name);

}  // namespace kgui
