// Request and response header sets.
#include "script/objects/net/http_headers.h"

#include "base/base64.h"

namespace kestrin::script {

void TRequestHeader::Reset() {
  Headers.Clear();
  SetAccept("*/*");
  SetConnection("close");
}

void TRequestHeader::SetBasicAuth(const std::string& user, const std::string& password) {
  if (user.empty() && password.empty()) return;
  SetAuthorization("Basic " + EncodeBase64(user + ":" + password));
  User = user;
  Password = password;
}

std::vector<std::string> TRequestHeader::WriteTo() const {
  std::vector<std::string> lines;
  Headers.ForEach([&](const std::string& name, const std::string& value) {
    if (!value.empty()) lines.push_back(name + ": " + value);
  });
  return lines;
}

void TResponseHeader::Clear() {
  Headers.Clear();
  Cookie.Clear();
}

}  // namespace kestrin::script
