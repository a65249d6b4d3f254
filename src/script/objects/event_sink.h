// TJEventSink: the dispatch that an ActiveXObject attaches to its object's event interface;
// each event it receives calls the owner's prefixed script function.
#pragma once

#include <memory>
#include <vector>

#include "script/core/weak.h"
#include "script/objects/automation.h"

namespace kestrin::script {

class TJActiveXObject;
class TJObject;

class TJEventSink : public Dispatch {
public:
  TJEventSink(TJActiveXObject& owner, std::shared_ptr<ConnectionPoint> events);
  // Events: the arguments go to the script in declaration order (the last variant first).
  AutomationResult Invoke(int32_t dispid, uint16_t flags, const std::vector<Variant>& args, bool named_put) override;
  // Forgets the owner: events arriving later reach no script.
  void Detach() { owner_.reset(); }

private:
  WeakPtr<TJObject> owner_;
  std::shared_ptr<ConnectionPoint> events_;
};

}  // namespace kestrin::script
