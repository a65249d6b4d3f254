// "TCPSocket": a plain TCP connection for scripts: connect, or listen and accept, then
// read and write text, lines and files.
#pragma once

#include "script/objects/socket_object.h"

namespace kestrin::script {

class TJTCPSocketObject : public TJBaseSocketObject {
public:
  // new TCPSocket() is unconnected; new TCPSocket(handle) adopts a connection that this
  // object model's "accept" made and no object has adopted yet ("TCPSocket.create error"
  // for any other handle).
  TJTCPSocketObject(BaseEngine* engine, const TJValueList* params);
  const ClassInfo& Class() const override;
};

void RegisterTCPSocketObject(class TJEngine& engine);

}  // namespace kestrin::script
