// ActiveXObject: a script object over one automation interface: member reads and writes
// as property gets and puts (methods as callable values), index access through the parent
// property or the default member, and event connection to prefixed script functions.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "script/builtins/automation_events.h"
#include "script/core/hash_table.h"
#include "script/core/object.h"
#include "script/core/published.h"
#include "script/objects/automation.h"

namespace kestrin::script {

class TJEngine;

class TJActiveXObject : public TJObject, public AutomationObject, public AutomationEvents {
public:
  // `disp` is a dispatch value (or undefined).
  TJActiveXObject(BaseEngine* engine, Value disp);
  ~TJActiveXObject() override;
  uint32_t ClassFlags() const override { return kActiveXObjectClass; }
  PublishedProperties* Published() override { return &published_; }
  bool GetValueImpl(const StrRef& name, Value& out, const Value* param) override;
  bool SetValueImpl(const StrRef& name, const Value& v, const Value* param) override;
  bool ToVariant(Variant& out) override;
  void GetPropertyNames(std::vector<StrRef>& out) override;
  // Members cleared, events disconnected, the DISPID cache emptied, both interfaces
  // released, no parent, no prefix.
  void Clear() override;
  void OnKill() override;

  Dispatch* Disp() const override { return disp_.dispatch(); }
  // WScript.ConnectObject: the prefix is set as SetEventPrefix sets it.
  void ConnectEvents(const StrRef& prefix) override { SetEventPrefix(prefix); }
  void DisconnectEvents() override;
  // Stores the prefix; a non-empty one connects the events, an empty one disconnects them.
  void SetEventPrefix(const StrRef& prefix);
  // Connects the first connection point's events to the prefixed script functions.
  void ConnectEvents();
  // Replaces the interface (the events of the old one are disconnected).
  void SetDisp(const Value& disp);
  // Records the object and property this one was read from.
  void SetParent(const Value& parent, int32_t dispid);
  // Calls the script function prefix + `name` with `args` (from the event sink).
  void FireEvent(const std::string& name, TJValueList& args);

private:
  struct CachedId {
    int32_t dispid;
    MemberKind kind;
  };
  struct Connection {
    std::shared_ptr<ConnectionPoint> point;
    uint32_t cookie;
    Value sink;
  };
  class DispProperty : public PublishedProperties {
  public:
    explicit DispProperty(TJActiveXObject& owner) : owner_(owner) {}
    void ListNames(std::vector<StrRef>& out, bool events) override;
    bool Has(std::string_view name) override;
    bool Get(std::string_view name, Value& out) override;
    bool Set(std::string_view name, const Value& v) override;

  private:
    TJActiveXObject& owner_;
  };

  CachedId GetDispID(const StrRef& name);
  Value IndexValue(const StrRef& key, const Value& param);
  void Release();

  HashTable<CachedId> cache_{10, false};
  Value disp_;
  Value parent_;
  int32_t parent_dispid_ = -1;
  StrRef prefix_;
  std::vector<Connection> connections_;
  DispProperty published_{*this};
};

// Registers "ActiveXObject" and "Enumerator".
void RegisterActiveXObjects(TJEngine& engine);

}  // namespace kestrin::script
