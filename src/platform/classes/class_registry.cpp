// The streaming class registry: lookup by class name without case.
#include "platform/classes/class_registry.h"

namespace kgui {

void ClassRegistry::registerClass(const ClassInfo& info, std::function<TComponent*(TComponent*)> create) {
  for (StreamClass& c : classes_)
    if (sameText(c.info->name(), info.name())) {
      c = {&info, std::move(create)};
      return;
    }
  classes_.push_back({&info, std::move(create)});
}

const StreamClass* ClassRegistry::find(std::string_view name) const {
  for (const StreamClass& c : classes_)
    if (sameText(c.info->name(), name)) return &c;
  return nullptr;
}

const StreamClass& ClassRegistry::require(std::string_view name) const {
  if (const StreamClass* c = find(name)) return *c;
  throw EClassNotFound("Class " + std::string(name) + " not found");
}

std::vector<std::string> ClassRegistry::names() const {
  std::vector<std::string> out;
  out.reserve(classes_.size());
  for (const StreamClass& c : classes_) out.push_back(c.info->name());
  return out;
}

ClassRegistry& stream_classes() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace kgui
