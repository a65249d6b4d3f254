// The common base of the script objects that talk to the network: the client socket they
// own, the published properties every one of them has (timeout, debug, byte counters),
// the events the socket raises as script events, and the one error rule of every network
// method: any failure inside it reaches the script as "ESocketError" "Class.method error".
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/objects/object_support.h"
#include "script/objects/net/socket.h"

namespace kestrin::script {

class TJBaseSocketObject : public TJObject {
public:
  // `props` is the class's full property table (WithBaseProps).
  TJBaseSocketObject(BaseEngine* engine, std::span<const PropDef> props);
  ~TJBaseSocketObject() override;
  PublishedProperties* Published() override { return &props_; }
  // The client goes with the object; its events no longer reach it.
  void OnKill() override;

  bool debug = false;
  // Given each status line first when `debug` is true; attached by a host, if at all.
  std::function<void(TJObject& sender, const std::string& line)> DebugHook;

  TnSocket& Socket() const { return *socket_; }
  int GetTimeout() const { return socket_->Timeout; }
  void SetTimeout(int seconds) { socket_->Timeout = seconds; }
  int64_t GetBytesRead() const { return socket_->BytesRead; }
  int64_t GetBytesTotal() const { return socket_->BytesTotal; }
  int64_t GetBytesWrote() const { return socket_->BytesWrote; }

  // The base properties followed by a class's own, for the class's property table.
  static std::vector<PropDef> WithBaseProps(std::initializer_list<PropDef> own);
  // Runs a network method's body under the error rule: a failure of any kind becomes the
  // script error "ESocketError" `message`; stopping the script and exit pass through.
  template <class Body>
  static void Guard(std::string_view message, Body&& body);
  [[noreturn]] static void RaiseSocketError(std::string_view message);

protected:
  // Takes the client and attaches the dispatchers of the socket's events. `detach_client`
  // clears the dispatchers the subclass attached to the client's own events; it runs
  // before the client goes.
  void SetSocket(std::unique_ptr<TnSocket> socket, std::function<void()> detach_client = nullptr);
  // Calls the script's handler `name` (when there is one) with this object first.
  void Fire(std::string_view name, std::initializer_list<Value> more = {});
  // Calls handler `name` with a Boolean object that carries `flag` in and out, between the
  // arguments `before` and `after`.
  void FireFlag(std::string_view name, bool& flag, std::initializer_list<Value> before,
                std::initializer_list<Value> after = {});
  void DefineEvents(std::initializer_list<const char*> names);

private:
  void DetachSocket();

  std::unique_ptr<TnSocket> socket_;
  std::function<void()> detach_client_;
  PropTable props_;
};

// Rethrows what must leave the script as it is; everything else becomes `message`.
void RethrowControl(std::exception_ptr error);

template <class Body>
void TJBaseSocketObject::Guard(std::string_view message, Body&& body) {
  try {
    body();
  } catch (...) {
    RethrowControl(std::current_exception());
    RaiseSocketError(message);
  }
}

// A port number from a script value; 0 when it is outside 0..65535.
uint16_t PortOf(const Value& v);
// The "host" and "port" properties of a socket object's client.
Value GetSocketHost(TJObject& self);
void SetSocketHost(TJObject& self, const Value& v);
Value GetSocketPort(TJObject& self);
void SetSocketPort(TJObject& self, const Value& v);
// The constructor arguments (host [, port]) of a client.
void TakeHostAndPort(TnSocket& client, const TJValueList* params);

}  // namespace kestrin::script
