// TJEventSink: event names from the connection's type information, arguments in
// declaration order, delivery to the owner while it is attached.
#include "script/objects/event_sink.h"

#include <string>

#include "script/core/value_list.h"
#include "script/objects/activex_object.h"

namespace kestrin::script {

TJEventSink::TJEventSink(TJActiveXObject& owner, std::shared_ptr<ConnectionPoint> events)
    : owner_(owner.WeakHandle()), events_(std::move(events)) {}

AutomationResult TJEventSink::Invoke(int32_t dispid, uint16_t, const std::vector<Variant>& args, bool) {
  auto* owner = static_cast<TJActiveXObject*>(owner_.get());
  if (!owner) return AutomationResult::Success();
  std::string name;
  if (!events_ || !events_->EventName(dispid, name)) return AutomationResult::Failure(kDispEMemberNotFound);
  Value hold = Value::Object(owner);
  TJValueList list;
  for (size_t i = args.size(); i-- > 0;) list.Add(VariantToValue(args[i], owner->Engine()));
  owner->FireEvent(name, list);
  return AutomationResult::Success();
}

}  // namespace kestrin::script
