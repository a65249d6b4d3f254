// The socket objects' base: properties, event dispatchers and the error rule.
#include "script/objects/socket_object.h"

#include <exception>
#include <utility>

#include "script/core/engine_base.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

TJBaseSocketObject& BaseOf(TJObject& self) { return static_cast<TJBaseSocketObject&>(self); }

Value GetTimeoutProp(TJObject& self) { return Value::Integer(BaseOf(self).GetTimeout()); }
void SetTimeoutProp(TJObject& self, const Value& v) { BaseOf(self).SetTimeout(ValueToInteger(v)); }
Value GetDebug(TJObject& self) { return Value::Bool(BaseOf(self).debug); }
void SetDebug(TJObject& self, const Value& v) { BaseOf(self).debug = ValueToBool(v); }
Value GetBytesTotal(TJObject& self) { return NumberValue(BaseOf(self).GetBytesTotal()); }
Value GetBytesRead(TJObject& self) { return NumberValue(BaseOf(self).GetBytesRead()); }
Value GetBytesWrote(TJObject& self) { return NumberValue(BaseOf(self).GetBytesWrote()); }

constexpr PropDef kBaseProps[] = {{"timeout", GetTimeoutProp, SetTimeoutProp}, {"debug", GetDebug, SetDebug},
    {"bytesTotal", GetBytesTotal, nullptr}, {"bytesRead", GetBytesRead, nullptr},
    {"bytesWrote", GetBytesWrote, nullptr}};

}  // namespace

void RethrowControl(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const EJAbort&) {
    throw;
  } catch (const EJStatement&) {
    throw;
  } catch (const EJLibraryError&) {
    throw;
  } catch (...) {
  }
}

uint16_t PortOf(const Value& v) {
  const int32_t port = ValueToInteger(v);
  return static_cast<uint16_t>(port >= 0 && port <= 65535 ? port : 0);
}

Value GetSocketHost(TJObject& self) { return Value::String(StrRef(BaseOf(self).Socket().Host)); }
void SetSocketHost(TJObject& self, const Value& v) { BaseOf(self).Socket().Host = ValueToStdString(v); }
Value GetSocketPort(TJObject& self) { return Value::Integer(BaseOf(self).Socket().Port); }
void SetSocketPort(TJObject& self, const Value& v) { BaseOf(self).Socket().Port = PortOf(v); }

void TakeHostAndPort(TnSocket& client, const TJValueList* params) {
  if (params && params->GetCount() > 0) client.Host = ArgText(*params, 0);
  if (params && params->GetCount() > 1) client.Port = PortOf(params->GetValue(1));
}

TJBaseSocketObject::TJBaseSocketObject(BaseEngine* engine, std::span<const PropDef> props)
    : TJObject(engine), props_(*this, props) {}

TJBaseSocketObject::~TJBaseSocketObject() { DetachSocket(); }

void TJBaseSocketObject::OnKill() { DetachSocket(); }

std::vector<PropDef> TJBaseSocketObject::WithBaseProps(std::initializer_list<PropDef> own) {
  std::vector<PropDef> all(std::begin(kBaseProps), std::end(kBaseProps));
  all.insert(all.end(), own.begin(), own.end());
  return all;
}

void TJBaseSocketObject::RaiseSocketError(std::string_view message) {
  RaiseError(ScriptError::SocketError, {message});
}

void TJBaseSocketObject::DefineEvents(std::initializer_list<const char*> names) {
  for (const char* name : names) DefineEvent(name);
}

void TJBaseSocketObject::Fire(std::string_view name, std::initializer_list<Value> more) {
  const StrRef event(name);
  if (!HasEventHandler(event)) return;
  TJValueList args;
  args.Add(Value::Object(this));
  for (const Value& v : more) args.Add(v);
  Value result;
  CallEvent(StrRef(), event, result, &args);
}

void TJBaseSocketObject::FireFlag(std::string_view name, bool& flag, std::initializer_list<Value> before,
                                  std::initializer_list<Value> after) {
  BaseEngine* engine = Engine();
  if (!engine || !HasEventHandler(StrRef(name))) return;
  TJValueList init{Value::Bool(flag)};
  const Value box = engine->Factory().Create("Boolean", &init);
  TJValueList args;
  args.Add(Value::Object(this));
  for (const Value& v : before) args.Add(v);
  args.Add(box);
  for (const Value& v : after) args.Add(v);
  Value result;
  CallEvent(StrRef(), StrRef(name), result, &args);
  if (TJObject* b = box.object()) flag = b->ToBool();
}

void TJBaseSocketObject::SetSocket(std::unique_ptr<TnSocket> socket, std::function<void()> detach_client) {
  DetachSocket();
  socket_ = std::move(socket);
  detach_client_ = std::move(detach_client);
  TnSocket& s = *socket_;
  s.OnConnect = [this](TnSocket&) { Fire("onConnect"); };
  s.OnDisconnect = [this](TnSocket&) { Fire("onDisconnect"); };
  s.OnError = [this](TnSocket&, int code, const std::string& text) {
    Fire("onError", {Value::Integer(code), Value::String(text)});
  };
  s.OnRead = [this](TnSocket&, int count, bool& cancel) { FireFlag("onRead", cancel, {Value::Integer(count)}); };
  s.OnWrite = [this](TnSocket&, int count, bool& cancel) { FireFlag("onWrite", cancel, {Value::Integer(count)}); };
  s.OnStatus = [this](TnSocket&, const std::string& line) {
    if (debug && DebugHook) DebugHook(*this, line);
    Fire("onStatus", {Value::String(line)});
  };
}

void TJBaseSocketObject::DetachSocket() {
  if (!socket_) return;
  if (detach_client_) detach_client_();
  detach_client_ = nullptr;
  TnSocket& s = *socket_;
  s.OnConnect = nullptr;
  s.OnDisconnect = nullptr;
  s.OnError = nullptr;
  s.OnRead = nullptr;
  s.OnWrite = nullptr;
  s.OnStatus = nullptr;
  socket_.reset();
}

}  // namespace kestrin::script
