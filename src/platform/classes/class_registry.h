// The streaming class registry: the component classes a form description may name, each
// with the factory that makes a new component of it. The GUI library fills it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classes/component.h"

namespace kgui {

struct StreamClass {
  const ClassInfo* info = nullptr;
  std::function<TComponent*(TComponent* owner)> create;
};

class ClassRegistry {
public:
  // A later registration of the same name (without case) replaces the earlier one.
  void registerClass(const ClassInfo& info, std::function<TComponent*(TComponent*)> create);
  // nil when the name is not registered.
  const StreamClass* find(std::string_view name) const;
  // Throws EClassNotFound "Class TFoo not found".
  const StreamClass& require(std::string_view name) const;
  std::vector<std::string> names() const;
  size_t size() const { return classes_.size(); }

private:
  std::vector<StreamClass> classes_;
};

class EClassNotFound : public EPropertyError {
public:
  using EPropertyError::EPropertyError;
};

// The program's one registry.
ClassRegistry& stream_classes();

// Registers T, made by new T(owner).
template <class T>
void registerStreamClass(ClassRegistry& registry = stream_classes()) {
  registry.registerClass(T::staticClassInfo(), [](TComponent* owner) -> TComponent* { return new T(owner); });
}

}  // namespace kgui
