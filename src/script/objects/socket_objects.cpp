// The registration order of the network classes.
#include "script/objects/socket_objects.h"

#include "script/objects/cookie_object.h"
#include "script/objects/http_object.h"
#include "script/objects/tcp_socket_object.h"
#include "script/objects/url_object.h"

namespace kestrin::script {

void RegisterSocketObjects(TJEngine& engine) {
  RegisterURLObject(engine);
  RegisterCookieObject(engine);
  RegisterHTTPObjects(engine);
  RegisterTCPSocketObject(engine);
}

}  // namespace kestrin::script
