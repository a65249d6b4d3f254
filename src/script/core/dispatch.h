// The automation interface behind a dispatch value (member ids by name, invoke, type
// information, the first connection point, an item enumerator), and what the interpreter's
// for-in asks of automation collections. The automation host objects (script/objects)
// implement and use it; the engine only holds, converts and enumerates such values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/refcount.h"
#include "script/core/variant.h"

namespace kestrin::script {

// Dispatch identifiers of fixed meaning.
inline constexpr int32_t kDispidValue = 0;         // the default member
inline constexpr int32_t kDispidPropertyPut = -3;  // the named argument of a property put
inline constexpr int32_t kDispidNewEnum = -4;      // _NewEnum

// Invoke flags.
enum InvokeFlag : uint16_t { kDispatchMethod = 1, kDispatchPropertyGet = 2, kDispatchPropertyPut = 4 };

// Result codes, as the platform numbers them.
inline constexpr uint32_t kSOk = 0;
inline constexpr uint32_t kENotImpl = 0x80004001;
inline constexpr uint32_t kENoInterface = 0x80004002;
inline constexpr uint32_t kEFail = 0x80004005;
inline constexpr uint32_t kDispEMemberNotFound = 0x80020003;
inline constexpr uint32_t kDispETypeMismatch = 0x80020005;
inline constexpr uint32_t kDispEUnknownName = 0x80020006;
inline constexpr uint32_t kDispEException = 0x80020009;
inline constexpr uint32_t kDispEBadParamCount = 0x8002000E;
inline constexpr uint32_t kConnectENoConnection = 0x80040200;

// The outcome of an automation call: a value, or a failure code with its description.
struct AutomationResult {
  uint32_t code = kSOk;
  std::string description;
  Variant value;
  bool ok() const { return code == kSOk; }
  static AutomationResult Success(Variant v = {});
  // A failure; without a description, the platform's text of the code.
  static AutomationResult Failure(uint32_t code, std::string description = {});
};

enum class MemberKind : uint8_t { Property, Method };

// One member of an object's type information.
struct MemberInfo {
  std::string name;
  int32_t dispid;
  MemberKind kind;
};

class Dispatch;

// The source side of an event interface.
class ConnectionPoint {
public:
  virtual ~ConnectionPoint() = default;
  // Attaches a sink, which then receives each event through its Invoke (arguments
  // last-first); the cookie detaches it again.
  virtual AutomationResult Advise(Dispatch& sink, uint32_t& cookie) = 0;
  virtual AutomationResult Unadvise(uint32_t cookie) = 0;
  // The event interface's name of a DISPID (its type information).
  virtual bool EventName(int32_t dispid, std::string& name) const = 0;
};

// The item enumerator of a collection (what _NewEnum returns).
class EnumVariant {
public:
  virtual ~EnumVariant() = default;
  // The next item; false at the end.
  virtual bool Next(Variant& item) = 0;
  virtual void Reset() = 0;
};

// An automation object. Counted by the dispatch values that name it; the base answers
// every call with "not implemented".
class Dispatch : public RcHeader {
public:
  virtual ~Dispatch() = default;
  virtual AutomationResult GetIDsOfNames(std::string_view name, int32_t& dispid);
  // `args` are last-first. With `named_put`, args[0] is the value of a property put (the
  // named argument kDispidPropertyPut) and the others are the property's parameters.
  virtual AutomationResult Invoke(int32_t dispid, uint16_t flags, const std::vector<Variant>& args, bool named_put);
  // The members that the type information lists; null without type information.
  virtual const std::vector<MemberInfo>* TypeMembers() const { return nullptr; }
  // The first connection point of the object's event interfaces; null when none.
  virtual std::shared_ptr<ConnectionPoint> FirstConnectionPoint() { return nullptr; }
  // This object as an enumerator, when it is one.
  virtual EnumVariant* AsEnumVariant() { return nullptr; }
};

// What the interpreter asks of an ActiveXObject: the interface it wraps.
class AutomationObject {
public:
  virtual ~AutomationObject() = default;
  virtual Dispatch* Disp() const = 0;
};

// What for-in asks of the "Enumerator" object made over a collection.
class ItemEnumerator {
public:
  virtual ~ItemEnumerator() = default;
  virtual bool AtEnd() const = 0;
  virtual Value GetCurrentItem() = 0;
  virtual void MoveNext() = 0;
};

// The interface of a dispatch value or of an ActiveXObject; null for anything else.
Dispatch* DispatchOf(const Value& v);
// True when the value's object answers a property get of _NewEnum without arguments.
bool IsActiveXCollection(const Value& v);

}  // namespace kestrin::script
