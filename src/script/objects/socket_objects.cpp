// The registration order of the network classes.
#include "script/objects/socket_objects.h"

#include "script/objects/cookie_object.h"
#include "script/objects/ftp_object.h"
#include "script/objects/html_object.h"
#include "script/objects/http_object.h"
#include "script/objects/mail_object.h"
#include "script/objects/pop3_object.h"
#include "script/objects/smtp_object.h"
#include "script/objects/tcp_socket_object.h"
#include "script/objects/url_object.h"

namespace kestrin::script {

void RegisterSocketObjects(TJEngine& engine) {
  RegisterURLObject(engine);
  RegisterCookieObject(engine);
  RegisterHTTPObjects(engine);
  RegisterTCPSocketObject(engine);
  RegisterMailObject(engine);
  RegisterPOP3Object(engine);
  RegisterSMTPObject(engine);
  RegisterHtmlObjects(engine);
  RegisterFtpObject(engine);
}

}  // namespace kestrin::script
