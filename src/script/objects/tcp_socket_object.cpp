// "TCPSocket": methods, properties and the adoption of accepted connections.
#include "script/objects/tcp_socket_object.h"

#include <memory>
#include <string>
#include <vector>

#include "script/core/engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"
#include "script/objects/net/socket_errors.h"

namespace kestrin::script {
namespace {

TnSocket& SocketOf(TJObject& self) { return static_cast<TJBaseSocketObject&>(self).Socket(); }

const std::vector<PropDef>& TcpProps() {
  static const std::vector<PropDef> props =
      TJBaseSocketObject::WithBaseProps({{"host", GetSocketHost, SetSocketHost}, {"port", GetSocketPort, SetSocketPort}});
  return props;
}

template <class Body>
void Run(TJObject& self, std::string_view method, Body&& body) {
  TJBaseSocketObject::Guard("TCPSocket." + std::string(method) + " error", [&] { body(SocketOf(self)); });
}

void TConnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  Run(self, "connect", [](TnSocket& s) { s.Connect(); });
}

void TDisconnect(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  Run(self, "disconnect", [](TnSocket& s) { s.Disconnect(); });
}

// The cancel disconnects and raises "cancel" to the operation it stops; called on its own,
// there is no operation to stop.
void TAbort(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  Run(self, "abort", [](TnSocket& s) {
    try {
      s.Abort();
    } catch (const ESocketCancel&) {
    }
  });
}

void TBind(TJObject& self, TJValueList&, Value& result) {
  result = Value::Object(&self);
  Run(self, "bind", [](TnSocket& s) { s.Listen(); });
}

void TAccept(TJObject& self, TJValueList&, Value& result) {
  int handle = -1;
  Run(self, "accept", [&](TnSocket& s) {
    handle = s.Accept();
    if (handle < 0) throw ELocalError("accept failed");
  });
  BaseEngine* engine = self.Engine();
  if (!engine) return;
  TJValueList params{Value::Integer(handle)};
  result = engine->Factory().Create("TCPSocket", &params);
}

void TRead(TJObject& self, TJValueList& params, Value& result) {
  const int count = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : -1;
  // Received straight into the script string: a long read is not copied once more.
  TnScriptTextStream text;
  Run(self, "read", [&](TnSocket& s) { s.CaptureStream(text, count < 0 ? -1 : count); });
  result = Value::String(text.Take());
}

void TReadln(TJObject& self, TJValueList&, Value& result) {
  std::string line;
  Run(self, "readln", [&](TnSocket& s) { s.ReadLn(line); });
  result = Value::String(StrRef(line));
}

void TWrite(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  Run(self, "write", [&](TnSocket& s) { s.SendString(ArgText(params, 0)); });
}

void TWriteln(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  Run(self, "writeln", [&](TnSocket& s) { s.SendLine(ArgText(params, 0)); });
}

void TCapture(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  Run(self, "capture", [&](TnSocket& s) { s.CaptureFile(ArgText(params, 0)); });
}

// A file that cannot be read is an error, not an empty send.
void TSendFile(TJObject& self, TJValueList& params, Value& result) {
  result = Value::Object(&self);
  if (params.GetCount() < 1) return;
  Run(self, "sendFile", [&](TnSocket& s) {
    const std::string name = ArgText(params, 0);
    TSafeFileStream probe;
    if (!probe.Open(name, fmOpenRead | fmShareDenyWrite, false)) throw ELocalError("cannot open " + name);
    probe.Close(false);
    s.SendFile(name);
  });
}

void TIsConnected(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(SocketOf(self).IsConnected()); }

std::unique_ptr<TnSocket> MakeSocket(const TJValueList* params) {
  if (!params || params->GetCount() == 0) return std::make_unique<TnSocket>(kObjectSocketBufferSize);
  const int handle = ValueToInteger(params->GetValue(0));
  if (handle < 0 || !TnSocket::ClaimAcceptedHandle(handle)) TJBaseSocketObject::RaiseSocketError("TCPSocket.create error");
  return std::make_unique<TnSocket>(TnSocket::Accepted{}, handle, kObjectSocketBufferSize);
}

}  // namespace

TJTCPSocketObject::TJTCPSocketObject(BaseEngine* engine, const TJValueList* params)
    : TJBaseSocketObject(engine, TcpProps()) {
  SetObjectName("TCPSocket");
  SetSocket(MakeSocket(params));
  DefineEvents({"onStatus", "onConnect", "onDisconnect", "onError", "onRead", "onWrite"});
}

const ClassInfo& TJTCPSocketObject::Class() const {
  static const ClassInfo info(&BaseClass(), {{"connect", TConnect}, {"open", TConnect},
      {"disconnect", TDisconnect}, {"close", TDisconnect}, {"abort", TAbort}, {"bind", TBind},
      {"accept", TAccept}, {"read", TRead}, {"readln", TReadln}, {"write", TWrite},
      {"writeln", TWriteln}, {"capture", TCapture}, {"sendFile", TSendFile},
      {"isConnected", TIsConnected}});
  return info;
}

void RegisterTCPSocketObject(TJEngine& engine) {
  engine.RegisterObjectClass("TCPSocket",
                             [](BaseEngine* e, TJValueList* p) -> TJObject* { return new TJTCPSocketObject(e, p); });
}

}  // namespace kestrin::script
